#include "lang/LanguageFolders.h"

#include "lang/LanguageFile.h"
#include "platform/Paths.h"
#include "platform/TextRules.h"

#include <algorithm>

std::vector<std::string> ListLanguages(const std::vector<std::string>& folders) {
    std::vector<std::string> names;
    for (const std::string& folder : folders)
        for (const std::string& name : ListLanguages(std::string_view(folder)))
            if (std::none_of(names.begin(), names.end(),
                             [&](const std::string& known) { return SameText(known, name); }))
                names.push_back(name);
    return names;
}

std::string FindLanguageFile(const std::vector<std::string>& folders, std::string_view name) {
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        if (const std::string path = FindLanguageFile(std::string_view(*folder), name);
            FileExists(path))
            return path;
    return LanguageFilePath(folders.empty() ? std::string() : folders.front(), name);
}

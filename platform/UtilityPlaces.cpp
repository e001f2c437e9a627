#include "platform/UtilityPlaces.h"

#include "platform/AtomicFile.h"
#include "platform/IniDocument.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::optional<std::string> InstalledUtilityFolder(const std::string& programFolder) {
    const auto marker = ReadWholeFile(programFolder + "/" + kInstallationMarker);
    if (!marker)
        return std::nullopt;
    const std::string named =
        IniDocument::Parse(*marker).Read("Installation", "UtilityFolder").value_or("");
    if (named.empty())
        return programFolder;
    const fs::path folder = named[0] == '/' ? fs::path(named) : fs::path(programFolder) / named;
    std::string normal = folder.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

UtilityPlaces UtilityPlaces::SelfContained(const std::string& folder) {
    UtilityPlaces places;
    places.utilityFolder = folder;
    places.settingsFolder = folder;
    places.dialogFolder = folder;
    return places;
}

std::vector<std::string> UtilityPlaces::LanguageFolders() const {
    std::vector<std::string> folders{utilityFolder};
    if (!userLanguageFolder.empty())
        folders.push_back(userLanguageFolder);
    return folders;
}

UtilityPlaces LocateUtilityPlaces(const std::string& programFolder) {
    const auto installed = InstalledUtilityFolder(programFolder);
    if (!installed)
        return UtilityPlaces::SelfContained(programFolder);
    UtilityPlaces places;
    places.utilityFolder = *installed;
    places.settingsFolder = XdgBaseFolder("XDG_CONFIG_HOME", "/.config") + "/zeltasc";
    places.userLanguageFolder = XdgBaseFolder("XDG_DATA_HOME", "/.local/share") + "/zeltasc";
    // The installed folder is not the user's to write into; packages are the user's documents.
    places.dialogFolder = HomeFolder();
    return places;
}

bool MakeSettingsFolder(const UtilityPlaces& places) {
    const fs::path folder = NativePath(places.settingsFolder);
    std::error_code error;
    if (fs::is_directory(folder, error) || !places.Installed())
        return fs::is_directory(folder, error);
    // Each missing folder on the way is made private to the user, as the XDG rules ask.
    fs::path path;
    for (const fs::path& part : folder) {
        path /= part;
        if (!fs::exists(path, error) && mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return fs::is_directory(folder, error);
}

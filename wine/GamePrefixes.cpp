#include "wine/GamePrefixes.h"

#include "wine/PrefixDiscovery.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>

namespace {
std::string Canonical(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

bool Inside(const std::string& path, const std::string& folder) {
    return path == folder ||
           (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            path[folder.size()] == '/');
}
} // namespace

GamePrefixes::Search GamePrefixes::Find(const HomeFolders& folders) {
    Search search;
    search.prefixes = FindWinePrefixes(folders);
    search.chosen = ChooseGamePrefix(search.prefixes);
    return search;
}

GamePrefixes::GamePrefixes(const HomeFolders& folders) : GamePrefixes(folders, Find(folders)) {}

GamePrefixes::GamePrefixes(const HomeFolders& folders, std::vector<FoundPrefix> prefixes)
    : GamePrefixes(folders, Search{prefixes, ChooseGamePrefix(prefixes)}) {}

GamePrefixes::GamePrefixes(const HomeFolders& folders, Search search)
    : folders_(folders), prefixes_(std::move(search.prefixes)) {
    if (prefixes_.empty()) {
        FoundPrefix wine;
        wine.folder = folders.winePrefix.empty() ? folders.home + "/.wine" : folders.winePrefix;
        prefixes_.push_back(wine);
    }
    current_ = search.chosen && *search.chosen < prefixes_.size() ? *search.chosen : 0;
    Apply();
}

std::string GamePrefixes::Label(const FoundPrefix& prefix) const {
    return PrefixLabel(prefix, folders_.home);
}

bool GamePrefixes::UseFolder(const std::string& nativeFolder) {
    // Compared as the file system resolves them: a drive node's path runs through dosdevices.
    const std::string path = Canonical(nativeFolder);
    std::string plain = nativeFolder;
    while (plain.size() > 1 && plain.back() == '/')
        plain.pop_back();
    // The innermost prefix wins where one lies inside another's folder.
    std::optional<size_t> found;
    size_t longest = 0;
    for (size_t i = 0; i < prefixes_.size(); ++i) {
        const std::string& folder = prefixes_[i].folder;
        const std::string canonical = Canonical(folder);
        const size_t length = std::max(Inside(plain, folder) ? folder.size() : 0,
                                       Inside(path, canonical) ? canonical.size() : 0);
        if (length > longest) {
            longest = length;
            found = i;
        }
    }
    if (!found)
        return false;
    current_ = *found;
    Apply();
    return true;
}

void GamePrefixes::Apply() const {
    setenv("WINEPREFIX", Current().folder.c_str(), 1);
}

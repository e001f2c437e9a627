#include "wine/FoundPrefix.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace {
std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
} // namespace

HomeFolders HomeFolders::FromEnvironment() {
    HomeFolders folders;
    folders.home = HomeFolder();
    folders.dataHome = XdgBaseFolder("XDG_DATA_HOME", "/.local/share");
    folders.configHome = XdgBaseFolder("XDG_CONFIG_HOME", "/.config");
    folders.winePrefix = Env("WINEPREFIX");
    return folders;
}

std::string PrefixLabel(const FoundPrefix& prefix, const std::string& home) {
    std::string shown = prefix.folder;
    if (!home.empty() && home != "/" &&
        (shown == home || (shown.size() > home.size() && shown.compare(0, home.size(), home) == 0 &&
                           shown[home.size()] == '/')))
        shown = "~" + shown.substr(home.size());
    switch (prefix.manager) {
    case PrefixManager::Steam:
        return "Steam (Proton): " + shown;
    case PrefixManager::Lutris:
        return "Lutris: " + shown;
    case PrefixManager::Bottles:
        return "Bottles: " + shown;
    case PrefixManager::Heroic:
        return "Heroic: " + shown;
    case PrefixManager::Wine:
        break;
    }
    return "Wine: " + shown;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadSmallFile(const std::string& path, std::string& text, size_t maxBytes) {
    // A FIFO or device among the player's files must not hold up the start.
    auto bytes = ReadWholeFile(path, maxBytes);
    if (!bytes)
        return false;
    text = std::move(*bytes);
    return true;
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

std::string ExpandHome(const std::string& path, const std::string& home) {
    if (path == "~")
        return home;
    if (path.rfind("~/", 0) == 0)
        return home + path.substr(1);
    return path;
}

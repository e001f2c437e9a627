#include "wine/SteamPrefixes.h"

#include "platform/RegularFile.h"
#include "wine/KeyValuesText.h"

#include <cstdlib>
#include <set>
#include <sys/stat.h>

namespace {

// The libraries of a root: the root itself, then each path of libraryfolders.vdf ("path" in a
// numbered block, or a bare path in older files).
std::vector<std::string> Libraries(const std::string& root) {
    std::vector<std::string> libraries{root};
    for (const char* file : {"/steamapps/libraryfolders.vdf", "/config/libraryfolders.vdf"}) {
        std::string text;
        if (!ReadSmallFile(root + file, text))
            continue;
        const KeyValuesNode vdf = KeyValuesNode::Parse(text);
        const KeyValuesNode* list = vdf.Find("libraryfolders");
        if (!list)
            continue;
        for (const auto& [key, node] : list->Children()) {
            if (key.empty() || key.find_first_not_of("0123456789") != std::string::npos)
                continue;
            const KeyValuesNode* path = node.IsBlock() ? node.Find("path") : &node;
            if (path && !path->IsBlock() && !path->Value().empty())
                libraries.push_back(path->Value());
        }
    }
    return libraries;
}

} // namespace

std::vector<std::string> SteamLibraries(const std::string& root) {
    std::vector<std::string> libraries;
    std::set<std::string> seen;
    for (const std::string& library : Libraries(root)) {
        const std::string real = RealPath(library);
        if (!real.empty() && seen.insert(real).second)
            libraries.push_back(real);
    }
    return libraries;
}

std::vector<FoundPrefix> FindSteamPrefixes(const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    std::set<std::string> seenRoots, seenLibraries;
    const std::string& home = folders.home;
    const std::string flatpak = home + "/.var/app/com.valvesoftware.Steam/";
    for (const std::string& root :
         {home + "/.steam/steam", home + "/.steam/root", home + "/.local/share/Steam",
          flatpak + ".local/share/Steam", home + "/snap/steam/common/.local/share/Steam",
          home + "/.snap/data/steam/common/.local/share/Steam"}) {
        // Taken as the file system resolves them: ~/.steam/steam is usually a link.
        const std::string real = RealPath(root);
        if (real.empty() || !IsFolder(real + "/steamapps") || !seenRoots.insert(real).second)
            continue;
        const ManagerInstall install =
            real.rfind(RealPath(home) + "/.var/app/com.valvesoftware.Steam/", 0) == 0
                ? ManagerInstall::Flatpak
            : real.find("/snap/steam/") != std::string::npos ||
                    real.find("/.snap/data/steam/") != std::string::npos
                ? ManagerInstall::Snap
                : ManagerInstall::Native;
        for (const std::string& library : SteamLibraries(real)) {
            if (!seenLibraries.insert(library).second)
                continue;
            const std::string compat = library + "/steamapps/compatdata";
            for (const std::string& appId : FolderNames(compat)) {
                const std::string data = compat + "/" + appId;
                if (!IsFolder(data + "/pfx") || !IsRegularFile(data + "/pfx.lock"))
                    continue;
                FoundPrefix prefix;
                prefix.manager = PrefixManager::Steam;
                prefix.install = install;
                prefix.folder = data + "/pfx";
                prefix.managerFolder = real;
                prefix.id = appId;
                prefix.library = library;
                found.push_back(std::move(prefix));
            }
        }
    }
    return found;
}

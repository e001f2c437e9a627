#include "wine/SteamPrefixes.h"

#include "platform/RegularFile.h"
#include "platform/TextRules.h"
#include "wine/KeyValuesText.h"

#include <climits>
#include <cstdlib>
#include <set>
#include <sys/stat.h>

namespace {

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

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

long long ModifiedNanoseconds(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return -1;
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

bool IsExecutable(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111);
}

// The Protons of one root: official ones in the libraries' steamapps/common (by folder name) and
// the root's compatibilitytools.d (by folder name and by the names their compatibilitytool.vdf
// declares).
struct Protons {
    std::vector<std::pair<std::string, std::string>> byName; // name, proton script
    std::string newest;

    void Add(const std::string& name, const std::string& script) {
        if (!IsExecutable(script))
            return;
        byName.emplace_back(name, script);
        if (newest.empty() || ModifiedNanoseconds(script) > ModifiedNanoseconds(newest))
            newest = script;
    }
    std::string Find(const std::string& name) const {
        for (const auto& [known, script] : byName)
            if (SameText(known, name))
                return script;
        return {};
    }
};

Protons FindProtons(const std::string& root, const std::vector<std::string>& libraries) {
    Protons protons;
    for (const std::string& library : libraries) {
        const std::string common = library + "/steamapps/common";
        for (const std::string& name : FolderNames(common))
            if (name.rfind("Proton", 0) == 0)
                protons.Add(name, common + "/" + name + "/proton");
    }
    const std::string tools = root + "/compatibilitytools.d";
    for (const std::string& name : FolderNames(tools)) {
        const std::string folder = tools + "/" + name;
        protons.Add(name, folder + "/proton");
        std::string text;
        if (!ReadSmallFile(folder + "/compatibilitytool.vdf", text))
            continue;
        const KeyValuesNode vdf = KeyValuesNode::Parse(text);
        if (const KeyValuesNode* declared = vdf.Find({"compatibilitytools", "compat_tools"}))
            for (const auto& [toolName, tool] : declared->Children()) {
                const KeyValuesNode* install = tool.Find("install_path");
                const std::string sub =
                    install && !install->Value().empty() ? install->Value() : ".";
                protons.Add(toolName,
                            sub.front() == '/' ? sub + "/proton" : folder + "/" + sub + "/proton");
            }
    }
    return protons;
}

// The app id -> compatibility tool name mapping of config/config.vdf.
std::vector<std::pair<std::string, std::string>> CompatToolMapping(const std::string& root) {
    std::vector<std::pair<std::string, std::string>> mapping;
    std::string text;
    if (!ReadSmallFile(root + "/config/config.vdf", text, 64u << 20))
        return mapping;
    const KeyValuesNode vdf = KeyValuesNode::Parse(text);
    const KeyValuesNode* tools =
        vdf.Find({"InstallConfigStore", "Software", "Valve", "Steam", "CompatToolMapping"});
    if (!tools)
        tools = vdf.Find({"InstallConfigStore", "Software", "Valve", "steam", "CompatToolMapping"});
    if (!tools)
        return mapping;
    for (const auto& [appId, entry] : tools->Children())
        if (const KeyValuesNode* name = entry.Find("name"); name && !name->Value().empty())
            mapping.emplace_back(appId, name->Value());
    return mapping;
}

} // namespace

std::string ProtonFolderName(const std::string& toolName) {
    if (SameText(toolName, "proton_experimental"))
        return "Proton - Experimental";
    if (SameText(toolName, "proton_hotfix"))
        return "Proton Hotfix";
    if (toolName.size() > 7 && SameText(toolName.substr(0, 7), "proton_")) {
        const std::string digits = toolName.substr(7);
        if (digits.find_first_not_of("0123456789") == std::string::npos)
            return "Proton " + digits.substr(0, 1) + "." +
                   (digits.size() == 1 ? std::string("0") : digits.substr(1));
    }
    return toolName;
}

std::vector<FoundPrefix> FindSteamPrefixes(const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    std::set<std::string> seenRoots, seenLibraries;
    const std::string& home = folders.home;
    for (const std::string& root : {home + "/.steam/steam", home + "/.local/share/Steam",
                                    home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
                                    home + "/snap/steam/common/.local/share/Steam"}) {
        // Taken as the file system resolves them: ~/.steam/steam is usually a link.
        const std::string real = RealPath(root);
        if (real.empty() || !IsFolder(real) || !seenRoots.insert(real).second)
            continue;
        std::vector<std::string> libraries;
        for (const std::string& library : Libraries(real)) {
            const std::string realLibrary = RealPath(library);
            if (!realLibrary.empty() && seenLibraries.insert(realLibrary).second)
                libraries.push_back(realLibrary);
        }
        const Protons protons = FindProtons(real, libraries);
        const auto mapping = CompatToolMapping(real);
        for (const std::string& library : libraries) {
            const std::string compat = library + "/steamapps/compatdata";
            for (const std::string& appId : FolderNames(compat)) {
                const std::string data = compat + "/" + appId;
                if (!IsFolder(data + "/pfx") || !IsRegularFile(data + "/pfx.lock"))
                    continue;
                FoundPrefix prefix;
                prefix.manager = PrefixManager::Steam;
                prefix.folder = data + "/pfx";
                prefix.compatData = data;
                prefix.steamRoot = real;
                for (const auto& [id, tool] : mapping)
                    if (id == appId) {
                        prefix.proton = protons.Find(tool);
                        if (prefix.proton.empty())
                            prefix.proton = protons.Find(ProtonFolderName(tool));
                        break;
                    }
                if (prefix.proton.empty())
                    prefix.proton = protons.newest;
                found.push_back(std::move(prefix));
            }
        }
    }
    return found;
}

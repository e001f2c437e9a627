#include "wine/SteamLaunch.h"

#include "platform/TextRules.h"
#include "wine/FlatpakLaunch.h"
#include "wine/KeyValuesText.h"
#include "wine/PrefixLaunch.h"
#include "wine/ProtonPrefixGuard.h"
#include "wine/SteamPrefixes.h"
#include "wine/WinePrograms.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kGameVerb = "waitforexitandrun";

KeyValuesNode ParseFile(const std::string& path) {
    std::string text;
    ReadSmallFile(path, text);
    return KeyValuesNode::Parse(text);
}

std::string Field(const KeyValuesNode* node, std::string_view key) {
    const KeyValuesNode* child = node ? node->Find(key) : nullptr;
    return child && !child->IsBlock() ? child->Value() : std::string();
}

// An installed app of a library, from its steamapps/appmanifest_<id>.acf.
struct SteamApp {
    std::string appId, name, folder;
};

std::vector<SteamApp> InstalledApps(const std::vector<std::string>& libraries) {
    std::vector<SteamApp> apps;
    for (const std::string& library : libraries) {
        const std::string steamapps = library + "/steamapps";
        for (const std::string& file : FolderNames(steamapps)) {
            if (file.rfind("appmanifest_", 0) != 0 || file.size() < 17 ||
                file.compare(file.size() - 4, 4, ".acf") != 0)
                continue;
            const KeyValuesNode manifest = ParseFile(steamapps + "/" + file);
            const KeyValuesNode* state = manifest.Find("AppState");
            const std::string installdir = Field(state, "installdir");
            if (!IsPlainName(installdir))
                continue;
            apps.push_back(
                {Field(state, "appid"), Field(state, "name"), steamapps + "/common/" + installdir});
        }
    }
    return apps;
}

// A compatibility tool that holds a proton script.
struct Tool {
    std::string name; // the internal name (custom tools) or the app's name (official Protons)
    std::string folder;
};

bool HoldsProton(const std::string& folder) {
    return IsExecutableFile(folder + "/proton");
}

// The compatibilitytools.d folders Steam reads, the one that wins on equal names first.
std::vector<std::string> CompatToolFolders(const std::string& root, const std::string& home) {
    std::vector<std::string> folders{root + "/compatibilitytools.d"};
    if (const std::string steamRoot = RealPath(home + "/.steam/root");
        !steamRoot.empty() && steamRoot != root)
        folders.push_back(steamRoot + "/compatibilitytools.d");
    std::vector<std::string> extra;
    if (const char* paths = std::getenv("STEAM_EXTRA_COMPAT_TOOLS_PATHS"))
        for (const char* p = paths; *p;) {
            const char* end = std::strchr(p, ':');
            const size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
            if (length > 0)
                extra.emplace_back(p, length);
            p += length + (end ? 1 : 0);
        }
    folders.insert(folders.end(), extra.rbegin(), extra.rend()); // a later entry wins
    folders.push_back("/usr/local/share/steam/compatibilitytools.d");
    folders.push_back("/usr/share/steam/compatibilitytools.d");
    return folders;
}

// Custom tools by the names their compatibilitytool.vdf declares (in a tool's folder, or a .vdf
// beside the folders).
std::vector<Tool> CustomTools(const std::vector<std::string>& toolFolders) {
    std::vector<Tool> tools;
    for (const std::string& tools_d : toolFolders)
        for (const std::string& entry : FolderNames(tools_d)) {
            const bool loose = entry.size() > 4 && entry.compare(entry.size() - 4, 4, ".vdf") == 0;
            const std::string vdf =
                loose ? tools_d + "/" + entry : tools_d + "/" + entry + "/compatibilitytool.vdf";
            const std::string vdfFolder = loose ? tools_d : tools_d + "/" + entry;
            const KeyValuesNode file = ParseFile(vdf);
            const KeyValuesNode* declared = file.Find({"compatibilitytools", "compat_tools"});
            if (!declared)
                continue;
            for (const auto& [name, tool] : declared->Children()) {
                const std::string to = Field(&tool, "to_oslist");
                if (!to.empty() && to.find("linux") == std::string::npos)
                    continue;
                const std::string install = Field(&tool, "install_path");
                const std::string folder = install.empty() || install == "." ? vdfFolder
                                           : install.front() == '/'          ? install
                                                                    : tools_d + "/" + install;
                if (HoldsProton(folder))
                    tools.push_back({name, folder});
            }
        }
    return tools;
}

std::vector<Tool> OfficialProtons(const std::vector<SteamApp>& apps,
                                  const std::vector<std::string>& libraries) {
    std::vector<Tool> tools;
    for (const SteamApp& app : apps)
        if (HoldsProton(app.folder))
            tools.push_back(
                {app.name.empty() ? app.folder.substr(app.folder.rfind('/') + 1) : app.name,
                 app.folder});
    // Protons whose manifests are gone still hold their folder name.
    for (const std::string& library : libraries) {
        const std::string common = library + "/steamapps/common";
        for (const std::string& name : FolderNames(common))
            if (name.rfind("Proton", 0) == 0 && HoldsProton(common + "/" + name))
                tools.push_back({name, common + "/" + name});
    }
    return tools;
}

// The release of an official Proton's name ("Proton 10.0" -> 10.0), or none.
std::optional<std::pair<int, int>> ProtonRelease(const std::string& name) {
    if (name.rfind("Proton ", 0) != 0)
        return std::nullopt;
    const auto version = ParseProtonPrefixVersion(name.substr(7) + "-0");
    if (!version)
        return std::nullopt;
    return std::make_pair(version->major, version->minor);
}

// The folder of a tool name as Steam resolves it: custom tools by their declared name, then the
// official Protons by their app's name.
std::string FindTool(const std::string& name, const std::vector<Tool>& custom,
                     const std::vector<Tool>& official) {
    for (const Tool& tool : custom)
        if (SameText(tool.name, name))
            return tool.folder;
    std::string wanted = name;
    if (SameText(name, "proton-experimental"))
        wanted = "proton_experimental";
    if (SameText(name, "proton-stable")) {
        // The newest numbered release installed.
        std::string newest;
        std::pair<int, int> best{-1, -1};
        for (const Tool& tool : official)
            if (const auto release = ProtonRelease(tool.name); release && *release > best) {
                best = *release;
                newest = tool.folder;
            }
        return newest;
    }
    const std::string folderName = ProtonFolderName(wanted);
    for (const Tool& tool : official)
        if (SameText(tool.name, folderName) || SameText(tool.name, wanted))
            return tool.folder;
    return {};
}

// The tool names to try for the app: the one chosen for it, else the default for all titles
// (a chosen tool that is not installed is Steam's to fetch, not a reason to take another); with
// nothing chosen, Steam's own default, Proton Experimental, else the newest stable Proton.
std::vector<std::string> ToolNames(const std::string& root, const std::string& appId) {
    const KeyValuesNode config = ParseFile(root + "/config/config.vdf");
    const KeyValuesNode* steam = config.Find({"InstallConfigStore", "Software", "Valve", "Steam"});
    for (const char* mapping : {"CompatToolMapping", "ToolMapping"}) {
        const KeyValuesNode* tools = steam ? steam->Find(mapping) : nullptr;
        for (const std::string& key : {appId, std::string("0")}) {
            const KeyValuesNode* entry = tools ? tools->Find(key) : nullptr;
            if (const std::string name = Field(entry, "name"); !name.empty())
                return {name};
        }
    }
    return {"proton_experimental", "proton-stable"};
}

// A tool's command line for the game: its toolmanifest.vdf's, the leading "/..." inside its
// folder, %verb% the verb for a game.
std::vector<std::string> ToolCommand(const std::string& folder, const KeyValuesNode* manifest,
                                     const std::string& fallback) {
    std::string line = Field(manifest, "commandline_waitforexitandrun");
    if (line.empty())
        line = Field(manifest, "commandline");
    if (line.empty())
        line = fallback;
    std::vector<std::string> words;
    for (size_t start = 0; start < line.size();) {
        const size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) {
            std::string word = line.substr(start, end - start);
            for (size_t at; (at = word.find("%verb%")) != std::string::npos;)
                word.replace(at, 6, kGameVerb);
            words.push_back(words.empty() && word.front() == '/' ? folder + word : word);
        }
        start = end + 1;
    }
    return words;
}

// The folder of an installed tool app (a runtime), by app id.
std::string AppFolder(const std::vector<SteamApp>& apps, const std::vector<std::string>& libraries,
                      const std::string& appId) {
    for (const SteamApp& app : apps)
        if (app.appId == appId && IsFolder(app.folder))
            return app.folder;
    // The runtimes' usual folders, for a library whose manifests are gone.
    const char* known = appId == "1628350"   ? "SteamLinuxRuntime_sniper"
                        : appId == "1391110" ? "SteamLinuxRuntime_soldier"
                        : appId == "1070560" ? "SteamLinuxRuntime"
                        : appId == "4183110" ? "SteamLinuxRuntime_4"
                                             : nullptr;
    if (known)
        for (const std::string& library : libraries)
            if (IsFolder(library + "/steamapps/common/" + known))
                return library + "/steamapps/common/" + known;
    return {};
}

std::string Joined(const std::vector<std::string>& parts, char separator) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : std::string(1, separator)) + part;
    return text;
}

std::string Describe(const std::string& folder, const std::optional<ProtonPrefixVersion>& v) {
    const std::string name = folder.substr(folder.rfind('/') + 1);
    return v ? name + " (prefix version " + v->text + ")" : name;
}

} // namespace

std::string ProtonFolderName(const std::string& toolName) {
    if (SameText(toolName, "proton_experimental"))
        return "Proton - Experimental";
    if (SameText(toolName, "proton_hotfix"))
        return "Proton Hotfix";
    if (toolName.size() > 7 && SameText(toolName.substr(0, 7), "proton_")) {
        const std::string digits = toolName.substr(7);
        if (digits.find_first_not_of("0123456789") == std::string::npos) {
            // The releases before 7.0 had minor versions; every release since is "N.0".
            static const std::pair<const char*, const char*> early[] = {
                {"37", "3.7"}, {"316", "3.16"}, {"42", "4.2"}, {"411", "4.11"},
                {"5", "5.0"},  {"513", "5.13"}, {"63", "6.3"}};
            for (const auto& [code, release] : early)
                if (digits == code)
                    return std::string("Proton ") + release;
            return "Proton " + std::to_string(std::atoi(digits.c_str())) + ".0";
        }
    }
    return toolName;
}

LaunchPlan PlanSteamLaunch(const FoundPrefix& prefix, const ProgramToRun& run) {
    LaunchPlan plan;
    plan.workingFolder = run.workingFolder;
    const std::string& root = prefix.managerFolder;
    const std::string compatData = prefix.folder.substr(0, prefix.folder.rfind('/'));
    const std::vector<std::string> libraries = SteamLibraries(root);
    const std::vector<SteamApp> apps = InstalledApps(libraries);
    const std::vector<Tool> custom = CustomTools(CompatToolFolders(root, run.home));
    const std::vector<Tool> official = OfficialProtons(apps, libraries);

    std::string proton, chosenName;
    for (const std::string& name : ToolNames(root, prefix.id)) {
        proton = FindTool(name, custom, official);
        if (!proton.empty())
            break;
        if (chosenName.empty())
            chosenName = name;
    }
    if (proton.empty()) {
        plan.failure = "Steam starts this game with the compatibility tool \"" + chosenName +
                       "\", which is not installed. Install it in Steam (Properties, "
                       "Compatibility) and try again.";
        return plan;
    }

    // Proton removes what it put into a prefix that a newer Proton has run ("Removing newer
    // prefix"): the prefix must never meet an older Proton.
    std::string versionText;
    ReadSmallFile(compatData + "/version", versionText, 4096);
    const auto prefixVersion = ParseProtonPrefixVersion(versionText);
    if (const auto toolVersion = ProtonFolderPrefixVersion(proton);
        prefixVersion && toolVersion && toolVersion->OlderThan(*prefixVersion)) {
        // The release of that number first ("Proton 10.0"), then any tool writing its version.
        std::string matching;
        const std::pair<int, int> release{prefixVersion->major, prefixVersion->minor};
        for (const bool named : {true, false})
            for (const std::vector<Tool>* tools : {&official, &custom})
                for (const Tool& tool : *tools)
                    if (const auto v = ProtonFolderPrefixVersion(tool.folder);
                        matching.empty() && v && v->SameRelease(*prefixVersion) &&
                        (!named || ProtonRelease(tool.name) == release))
                        matching = tool.folder;
        if (matching.empty()) {
            plan.failure =
                "This game's prefix was last run by a newer Proton (prefix version " +
                prefixVersion->text + ") than the one Steam would start it with now, " +
                Describe(proton, toolVersion) +
                ". Proton would remove its files from a newer prefix, so the game "
                "was not started. Install Proton " +
                std::to_string(prefixVersion->major) + "." + std::to_string(prefixVersion->minor) +
                " or choose a newer Proton for the game in Steam.\r\rPrefix: " + compatData;
            return plan;
        }
        proton = matching;
    }

    // The tool's command, inside the runtime(s) its manifest requires, outermost first.
    const KeyValuesNode protonManifest = ParseFile(proton + "/toolmanifest.vdf");
    std::vector<std::string> command =
        ToolCommand(proton, protonManifest.Find("manifest"), "/proton %verb%");
    std::vector<std::string> toolPaths{proton};
    std::string required = Field(protonManifest.Find("manifest"), "require_tool_appid");
    for (int depth = 0; !required.empty() && depth < 4; ++depth) {
        const std::string runtime = AppFolder(apps, libraries, required);
        if (runtime.empty()) {
            plan.failure = "The Proton Steam starts this game with (" +
                           proton.substr(proton.rfind('/') + 1) +
                           ") runs inside the Steam Linux Runtime of app " + required +
                           ", which is not installed. Start any game with this Proton in Steam "
                           "once, or install the runtime from Steam's library.";
            return plan;
        }
        const KeyValuesNode manifest = ParseFile(runtime + "/toolmanifest.vdf");
        std::vector<std::string> outer =
            ToolCommand(runtime, manifest.Find("manifest"), "/_v2-entry-point --verb=%verb% --");
        command.insert(command.begin(), outer.begin(), outer.end());
        toolPaths.push_back(runtime);
        required = Field(manifest.Find("manifest"), "require_tool_appid");
    }
    command.push_back(run.program);
    command.insert(command.end(), run.arguments.begin(), run.arguments.end());
    plan.command = std::move(command);

    // The variables Steam sets for a game; a non-Steam shortcut (a 32-bit id with the top bit
    // set) has no app of its own.
    const std::string& appId = prefix.id;
    std::string installFolder;
    for (const SteamApp& app : apps)
        if (app.appId == appId)
            installFolder = app.folder;
    const unsigned long long id = std::strtoull(appId.c_str(), nullptr, 10);
    const bool shortcut = installFolder.empty() && id >= 0x80000000ULL;
    auto& env = plan.environment;
    env.emplace_back("STEAM_COMPAT_CLIENT_INSTALL_PATH", root);
    env.emplace_back("STEAM_COMPAT_DATA_PATH", compatData);
    env.emplace_back("STEAM_COMPAT_APP_ID", shortcut ? "0" : appId);
    if (shortcut) {
        env.emplace_back("SteamGameId", std::to_string((id << 32) | 0x02000000ULL));
    } else {
        env.emplace_back("SteamAppId", appId);
        env.emplace_back("SteamGameId", appId);
    }
    if (!installFolder.empty())
        env.emplace_back("STEAM_COMPAT_INSTALL_PATH", installFolder);
    env.emplace_back("STEAM_COMPAT_LIBRARY_PATHS", Joined(libraries, ':'));
    env.emplace_back("STEAM_COMPAT_TOOL_PATHS", Joined(toolPaths, ':'));
    env.emplace_back("STEAM_COMPAT_SHADER_PATH",
                     prefix.library + "/steamapps/shadercache/" + appId);
    // Proton sets the prefix itself; the utility's own WINEPREFIX is not Steam's.
    plan.unset.push_back("WINEPREFIX");
    if (prefix.install == ManagerInstall::Flatpak)
        return InFlatpakSandbox("com.valvesoftware.Steam", "Steam", plan);
    return plan;
}

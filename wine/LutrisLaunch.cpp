#include "wine/LutrisLaunch.h"

#include "platform/Paths.h"
#include "platform/RegularFile.h"
#include "wine/FlatpakLaunch.h"
#include "wine/ManagerEnvironment.h"
#include "wine/PrefixLaunch.h"
#include "wine/ProtonPrefixGuard.h"
#include "wine/WinePrograms.h"
#include "wine/YamlScalars.h"

#include <algorithm>
#include <optional>

namespace {

constexpr const char* kDefaultVersion = "ge-proton";

// The three layers of settings, the game's last.
struct LutrisSettings {
    std::string system, runner, game;

    std::optional<std::string> Wine(std::string_view key) const {
        if (auto value = ReadYamlScalar(game, {"wine", key}))
            return value;
        return ReadYamlScalar(runner, {"wine", key});
    }
    bool WineFlag(std::string_view key, bool fallback) const {
        return YamlTruth(Wine(key).value_or(""), fallback);
    }
};

// umu-run where Lutris looks for it; in the Flatpak only its own runtime folder is seen here.
std::string FindUmu(const std::string& data, bool flatpak) {
    std::vector<std::string> candidates;
    if (!flatpak) {
        if (const std::string onPath = FindOnPath("umu-run"); !onPath.empty())
            return onPath;
        for (const char* folder : {"/usr/local/share/umu", "/usr/share/umu", "/opt/umu"}) {
            candidates.push_back(std::string(folder) + "/umu-run");
            candidates.push_back(std::string(folder) + "/umu_run.py");
        }
    }
    candidates.push_back(data + "/runtime/umu/umu-run");
    candidates.push_back(data + "/runtime/umu/umu_run.py");
    for (const std::string& candidate : candidates)
        if (IsExecutableFile(candidate))
            return candidate;
    return {};
}

// The DLLs a runtime component of Lutris makes native when it is enabled.
struct DllComponent {
    const char* option; // the "wine:" option that enables it
    bool byDefault;     // its default
    const char* folder; // below <data>/runtime
    bool withProton;    // also used under Proton
    std::vector<const char*> dlls;
};

const std::vector<DllComponent>& DllComponents() {
    static const std::vector<DllComponent> components = {
        {"dxvk", true, "dxvk", false, {"dxgi", "d3d11", "d3d10core", "d3d9", "d3d8"}},
        {"vkd3d", true, "vkd3d", false, {"d3d12", "d3d12core"}},
        {"dxvk_nvapi", true, "dxvk-nvapi", false, {"nvapi", "nvapi64", "nvml", "nvofapi64"}},
        {"d3d_extras",
         true,
         "d3d_extras",
         true,
         {"d3dx10_33",      "d3dx10_34",      "d3dx10_35",      "d3dx10_36",      "d3dx10_37",
          "d3dx10_38",      "d3dx10_39",      "d3dx10_40",      "d3dx10_41",      "d3dx10_42",
          "d3dx10_43",      "d3dx10",         "d3dx11_42",      "d3dx11_43",      "d3dx9_24",
          "d3dx9_25",       "d3dx9_26",       "d3dx9_27",       "d3dx9_28",       "d3dx9_29",
          "d3dx9_30",       "d3dx9_31",       "d3dx9_32",       "d3dx9_33",       "d3dx9_34",
          "d3dx9_35",       "d3dx9_36",       "d3dx9_37",       "d3dx9_38",       "d3dx9_39",
          "d3dx9_40",       "d3dx9_41",       "d3dx9_42",       "d3dx9_43",       "d3dcompiler_33",
          "d3dcompiler_34", "d3dcompiler_35", "d3dcompiler_36", "d3dcompiler_37", "d3dcompiler_38",
          "d3dcompiler_39", "d3dcompiler_40", "d3dcompiler_41", "d3dcompiler_42", "d3dcompiler_43",
          "d3dcompiler_46", "d3dcompiler_47"}},
        {"dgvoodoo2", false, "dgvoodoo2", true, {"d3dimm", "ddraw", "glide", "glide2x", "glide3x"}},
    };
    return components;
}

// The overrides of the enabled components whose DLLs are there, then the player's.
std::vector<std::pair<std::string, std::string>>
DllOverrideList(const LutrisSettings& settings, const std::string& runtime, bool proton) {
    std::vector<std::pair<std::string, std::string>> overrides{{"winemenubuilder", ""}};
    auto set = [&overrides](const std::string& dll, const std::string& value) {
        for (auto& entry : overrides)
            if (entry.first == dll) {
                entry.second = value;
                return;
            }
        overrides.emplace_back(dll, value);
    };
    for (const DllComponent& component : DllComponents()) {
        if (!settings.WineFlag(component.option, component.byDefault) ||
            (proton && !component.withProton))
            continue;
        const std::string base = runtime + "/" + component.folder;
        std::string version =
            settings.Wine(std::string(component.option) + "_version").value_or("");
        if (!IsPlainName(version)) {
            // The newest version downloaded.
            std::vector<std::string> versions;
            for (const std::string& name : FolderNames(base))
                if (IsFolder(base + "/" + name))
                    versions.push_back(name);
            version = versions.empty() ? std::string() : versions.back();
        }
        if (version.empty())
            continue;
        for (const char* dll : component.dlls)
            for (const char* arch : {"x64", "x32"})
                if (IsRegularFile(base + "/" + version + "/" + arch + "/" + dll + ".dll")) {
                    set(dll, "n");
                    break;
                }
    }
    // The game's mapping replaces the runner's whole.
    auto own = ReadYamlMapping(settings.game, {"wine", "overrides"});
    if (own.empty())
        own = ReadYamlMapping(settings.runner, {"wine", "overrides"});
    for (const auto& [dll, value] : own)
        set(dll, value);
    return overrides;
}

// Lutris's guess of a prefix's architecture where the game's file does not say.
std::string PrefixArch(const std::string& prefix) {
    std::string reg;
    ReadSmallFile(prefix + "/system.reg", reg);
    const size_t arch = reg.substr(0, 4096).find("#arch=");
    if (arch != std::string::npos && reg.compare(arch + 6, 5, "win32") == 0)
        return "win32";
    return "win64";
}

} // namespace

std::string LutrisDllOverrides(const std::vector<std::pair<std::string, std::string>>& overrides) {
    static const char* const order[] = {"n,b", "b,n", "b", "n", "d", ""};
    std::vector<std::vector<std::string>> buckets(std::size(order));
    std::vector<std::pair<std::string, std::string>> all = overrides;
    all.emplace_back("winemenubuilder", "");
    std::vector<std::string> seen;
    // A name given twice takes its last value.
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (std::find(seen.begin(), seen.end(), it->first) != seen.end())
            continue;
        seen.push_back(it->first);
        std::string value;
        for (char c : it->second)
            if (c != ' ')
                value += c;
        for (const auto& [word, letter] : {std::pair<std::string, std::string>{"builtin", "b"},
                                           {"native", "n"},
                                           {"disabled", ""}})
            for (size_t at; (at = value.find(word)) != std::string::npos;)
                value.replace(at, word.size(), letter);
        for (size_t i = 0; i < std::size(order); ++i)
            if (value == order[i])
                buckets[i].push_back(it->first);
    }
    std::string text;
    for (size_t i = 0; i < std::size(order); ++i) {
        if (buckets[i].empty())
            continue;
        std::sort(buckets[i].begin(), buckets[i].end());
        std::string dlls;
        for (const std::string& dll : buckets[i])
            dlls += (dlls.empty() ? "" : ",") + dll;
        text += (text.empty() ? "" : ";") + dlls + "=" + order[i];
    }
    return text;
}

LaunchPlan PlanLutrisLaunch(const FoundPrefix& prefix, const ProgramToRun& run) {
    LaunchPlan plan;
    plan.workingFolder = run.workingFolder;
    const bool flatpak = prefix.install == ManagerInstall::Flatpak;
    const std::string& data = prefix.managerFolder;
    const std::string runtime = data + "/runtime";
    LutrisSettings settings;
    ReadSmallFile(prefix.managerConfig + "/system.yml", settings.system);
    ReadSmallFile(prefix.managerConfig + "/runners/wine.yml", settings.runner);
    if (!prefix.settingsFile.empty())
        ReadSmallFile(prefix.settingsFile, settings.game);

    // The version: the first one set that is not the default's name, else the default.
    std::string version = kDefaultVersion;
    for (const std::string* layer : {&settings.game, &settings.runner})
        if (auto v = ReadYamlScalar(*layer, {"wine", "version"}); v && *v != kDefaultVersion) {
            version = *v;
            break;
        }

    const std::string wineFolder = data + "/runners/wine/" + version;
    std::string wine;        // the Wine program, when not through umu
    std::string protonPath;  // PROTONPATH, when through umu
    std::string filesFolder; // the build's own files (mono, gecko)
    const std::string umu = FindUmu(data, flatpak);
    if (version == "system") {
        wine = flatpak ? "/app/bin/wine" : FindOnPath("wine");
    } else if (version == "winehq-devel") {
        wine = "/opt/wine-devel/bin/wine";
    } else if (version == "winehq-staging") {
        wine = "/opt/wine-staging/bin/wine";
    } else if (version == "wine-development") {
        wine = "/usr/lib/wine-development/wine";
    } else if (version == "custom") {
        wine = ExpandHome(settings.Wine("custom_wine_path").value_or(""), run.home);
    } else if (IsPlainName(version) && !umu.empty() && IsRegularFile(wineFolder + "/proton")) {
        protonPath = wineFolder;
        filesFolder = wineFolder + "/files";
    } else if (IsPlainName(version) && IsExecutableFile(wineFolder + "/bin/wine")) {
        wine = wineFolder + "/bin/wine";
        filesFolder = wineFolder;
    } else {
        // Lutris falls back on its default when the version is missing.
        version = kDefaultVersion;
    }
    if (version == kDefaultVersion)
        protonPath = "GE-Proton";
    const bool proton = !protonPath.empty();
    if (proton && umu.empty()) {
        plan.failure = "Lutris starts this game with Proton (" + version +
                       ") through umu-run, which was not found. Install umu-launcher, or let "
                       "Lutris download its runtime, and try again.";
        return plan;
    }
    if (!proton && (wine.empty() || (!flatpak && !IsExecutableFile(wine)))) {
        plan.failure = std::string(kWineMissing) + " Lutris's Wine for this game (" + version +
                       ") is missing" + (wine.empty() ? "." : ":\r\r" + wine);
        return plan;
    }
    // umu keeps the prefix's version file in the prefix itself: a newer Proton's prefix must not
    // meet an older named build.
    if (proton && protonPath != "GE-Proton") {
        if (std::string refusal = OlderProtonRefusal(protonPath, prefix.folder); !refusal.empty()) {
            plan.failure = std::move(refusal);
            return plan;
        }
    }
    const std::string arch = [&] {
        const std::string own = ReadYamlScalar(settings.game, {"game", "arch"}).value_or("");
        if (own == "win32" || own == "win64")
            return own;
        return proton ? std::string("win64") : PrefixArch(prefix.folder);
    }();
    if (proton && arch == "win32") {
        plan.failure = "Proton is not compatible with 32-bit prefixes.";
        return plan;
    }

    ManagerEnvironment env;
    env.Set("__GL_SHADER_DISK_CACHE", "1");
    env.Set("__GL_SHADER_DISK_CACHE_PATH",
            !prefix.library.empty() ? prefix.library
            : flatpak ? run.home + "/.var/app/net.lutris.Lutris/cache/lutris/shaders/wine"
                      : XdgBaseFolder("XDG_CACHE_HOME", "/.cache") + "/lutris/shaders/wine");
    // The player's variables, merged name by name from the three layers.
    for (const std::string* layer : {&settings.system, &settings.runner, &settings.game})
        for (const auto& [name, value] : ReadYamlMapping(*layer, {"system", "env"}))
            if (!name.empty())
                env.Set(name, value);
    const std::string debug = settings.Wine("show_debug").value_or("-all");
    if (debug != "inherit") {
        env.Set("WINEDEBUG", debug);
        env.Set("DXVK_LOG_LEVEL", debug == "" ? "info" : debug == "+all" ? "debug" : "error");
        env.Set("UMU_LOG", debug == "" ? "warning" : debug == "+all" ? "debug" : "1");
    }
    env.Set("WINEARCH", arch);
    if (version == kDefaultVersion)
        env.Set("PROTONPATH", "GE-Proton");
    env.Set("WINE",
            proton ? (protonPath == "GE-Proton" ? umu : protonPath + "/files/bin/wine") : wine);
    if (!filesFolder.empty()) {
        env.Set("WINE_MONO_CACHE_DIR", filesFolder + "/mono");
        env.Set("WINE_GECKO_CACHE_DIR", filesFolder + "/gecko");
    }
    env.Set("WINEPREFIX", prefix.folder);
    const bool esync = settings.WineFlag("esync", true);
    const bool fsync = settings.WineFlag("fsync", KernelSupportsFsync());
    env.SetIfAbsent("WINEESYNC", esync ? "1" : "0");
    if (!esync)
        env.SetIfAbsent("PROTON_NO_ESYNC", "1");
    env.SetIfAbsent("WINEFSYNC", fsync ? "1" : "0");
    if (!fsync)
        env.SetIfAbsent("PROTON_NO_FSYNC", "1");
    if (settings.WineFlag("fsr", true))
        env.Set("WINE_FULLSCREEN_FSR", "1");
    if (settings.WineFlag("dxvk_nvapi", true)) {
        env.Set("DXVK_NVAPIHACK", "0");
        env.Set("DXVK_ENABLE_NVAPI", "1");
    }
    if (settings.WineFlag("battleye", true))
        env.Set("PROTON_BATTLEYE_RUNTIME", runtime + "/battleye_runtime");
    if (settings.WineFlag("eac", true))
        env.Set("PROTON_EAC_RUNTIME", runtime + "/eac_runtime");
    const bool dxvk = settings.WineFlag("dxvk", true);
    if (!dxvk)
        env.Set("PROTON_USE_WINED3D", "1");
    env.SetIfAbsent("PROTON_DXVK_D3D8", dxvk ? "1" : "0");
    env.Set("WINEDLLOVERRIDES", LutrisDllOverrides(DllOverrideList(settings, runtime, proton)));
    if (dxvk)
        env.Set("WINE_LARGE_ADDRESS_AWARE", "1");
    if (!prefix.id.empty())
        env.Set("GAME_NAME", prefix.id);
    if (!prefix.library.empty())
        env.Set("GAME_DIRECTORY", prefix.library);
    if (proton) {
        env.SetIfAbsent("PROTONPATH", protonPath);
        env.SetIfAbsent("GAMEID", "umu-default");
        env.SetIfAbsent("PROTON_VERB", "waitforexitandrun");
    }

    plan.command = {proton ? umu : wine, run.program};
    plan.command.insert(plan.command.end(), run.arguments.begin(), run.arguments.end());
    plan.environment = env.Entries();
    if (flatpak)
        return InFlatpakSandbox("net.lutris.Lutris", "Lutris", plan);
    return plan;
}

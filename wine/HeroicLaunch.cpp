#include "wine/HeroicLaunch.h"

#include "wine/FlatpakLaunch.h"
#include "wine/HeroicSettings.h"
#include "wine/ManagerEnvironment.h"
#include "wine/PrefixLaunch.h"
#include "wine/ProtonPrefixGuard.h"
#include "wine/WinePrograms.h"

#include <cstdlib>

LaunchPlan PlanHeroicLaunch(const FoundPrefix& prefix, const ProgramToRun& run) {
    LaunchPlan plan;
    plan.workingFolder = run.workingFolder;
    const bool flatpak = prefix.install == ManagerInstall::Flatpak;
    std::string gameJson, configJson;
    ReadSmallFile(prefix.settingsFile, gameJson);
    ReadSmallFile(prefix.managerFolder + "/config.json", configJson);
    HeroicGame game;
    bool found = false;
    for (HeroicGame& candidate : ReadHeroicGames(gameJson, configJson, run.home))
        if (!found && candidate.appName == prefix.id) {
            game = std::move(candidate);
            found = true;
        }
    if (!found || game.wineBin.empty()) {
        plan.failure = std::string(kWineMissing) +
                       " Heroic's settings of this game name none:\r\r" + prefix.settingsFile;
        return plan;
    }
    const bool proton = game.wineType == "proton";
    // Heroic's home for Steam's files: the Flatpak's own.
    const std::string heroicHome =
        flatpak ? run.home + "/.var/app/com.heroicgameslauncher.hgl" : run.home;
    std::string umu;
    if (proton && !game.disableUmu) {
        if (!flatpak)
            umu = FindOnPath("umu-run");
        if (umu.empty() &&
            IsExecutableFile(prefix.managerFolder + "/tools/runtimes/umu/umu_run.py"))
            umu = prefix.managerFolder + "/tools/runtimes/umu/umu_run.py";
    }
    if (!flatpak && !IsExecutableFile(game.wineBin)) {
        plan.failure = std::string(kWineMissing) + " Heroic's " + (proton ? "Proton" : "Wine") +
                       " for this game is missing:\r\r" + game.wineBin;
        return plan;
    }

    if (proton) {
        // A prefix a newer Proton has run must not meet an older one.
        if (std::string refusal = OlderProtonRefusal(
                game.wineBin.substr(0, game.wineBin.rfind('/')), game.winePrefix);
            !refusal.empty()) {
            plan.failure = std::move(refusal);
            return plan;
        }
    }

    ManagerEnvironment env;
    for (const auto& [name, value] : game.environment)
        env.Set(name, value);
    if (!std::getenv("LD_PRELOAD") && !env.Has("LD_PRELOAD"))
        env.Set("LD_PRELOAD", "");
    const std::string folder = game.winePrefix;
    if (proton) {
        env.Set("STEAM_COMPAT_CLIENT_INSTALL_PATH", heroicHome + "/.steam/steam");
        env.Set("WINEPREFIX", folder);
        env.Set("STEAM_COMPAT_DATA_PATH", folder);
        env.Set("PROTONPATH", game.wineBin.substr(0, game.wineBin.rfind('/')));
    } else {
        env.Set("WINEPREFIX", folder);
        std::string overrides;
        for (const auto& [name, value] : game.environment)
            if (name == "WINEDLLOVERRIDES")
                overrides = value;
        env.Set("WINEDLLOVERRIDES",
                overrides.empty() ? "winemenubuilder.exe=d" : overrides + ";winemenubuilder.exe=d");
    }
    if (game.showFps)
        env.Set("DXVK_HUD", "fps");
    env.Set("WINE_FULLSCREEN_FSR", game.fsr ? "1" : "0");
    if (game.fsr)
        env.Set("WINE_FULLSCREEN_FSR_STRENGTH", "2");
    if (game.esync && !proton)
        env.Set("WINEESYNC", "1");
    if (!game.esync && proton)
        env.Set("PROTON_NO_ESYNC", "1");
    if (game.fsync && !proton)
        env.Set("WINEFSYNC", "1");
    if (!game.fsync && proton)
        env.Set("PROTON_NO_FSYNC", "1");
    if (game.nvapi) {
        env.Set(proton ? "PROTON_ENABLE_NVAPI" : "DXVK_ENABLE_NVAPI", "1");
        env.Set("DXVK_NVAPI_ALLOW_OTHER_DRIVERS", "1");
    } else if (proton) {
        env.Set("PROTON_DISABLE_NVAPI", "1");
    }
    const std::string runtimes = prefix.managerFolder + "/tools/runtimes";
    if (game.eacRuntime)
        env.Set("PROTON_EAC_RUNTIME", runtimes + "/eac_runtime");
    if (game.battlEyeRuntime)
        env.Set("PROTON_BATTLEYE_RUNTIME", runtimes + "/battleye_runtime");
    if (proton) {
        env.Set("STEAM_COMPAT_APP_ID", "0");
        env.Set("SteamAppId", "0");
        env.Set("SteamGameId", "heroic-0");
        env.Set("PROTON_LOG_DIR", heroicHome);
        // Heroic's verbose logs, on by default, where the player set none.
        env.SetIfAbsent("WINEDEBUG", "+fixme");
        env.SetIfAbsent("DXVK_LOG_LEVEL", "info");
        env.SetIfAbsent("VKD3D_DEBUG", "fixme");
    }
    if (!proton && !game.preferSystemLibs) {
        // The Wine build's own libraries first, as Proton does for its own.
        const char* libraries = std::getenv("LD_LIBRARY_PATH");
        if (!std::getenv("ORIG_LD_LIBRARY_PATH"))
            env.Set("ORIG_LD_LIBRARY_PATH", libraries ? libraries : "");
        if (!game.wineLib.empty() && !game.wineLib32.empty()) {
            env.Set("LD_LIBRARY_PATH",
                    game.wineLib + ":" + game.wineLib32 +
                        (libraries && *libraries ? ":" + std::string(libraries) : std::string()));
            if (IsFolder(game.wineLib + "/gstreamer-1.0") &&
                IsFolder(game.wineLib32 + "/gstreamer-1.0"))
                env.Set("GST_PLUGIN_SYSTEM_PATH_1_0",
                        game.wineLib + "/gstreamer-1.0:" + game.wineLib32 + "/gstreamer-1.0");
            if (IsFolder(game.wineLib + "/wine") && IsFolder(game.wineLib32 + "/wine"))
                env.Set("WINEDLLPATH", game.wineLib + "/wine:" + game.wineLib32 + "/wine");
        }
    }
    env.Set("PROTON_VERB", "waitforexitandrun");
    plan.environment = env.Entries();

    if (!umu.empty())
        plan.command = {umu, run.program};
    else if (proton)
        plan.command = {game.wineBin, "waitforexitandrun", run.program};
    else
        plan.command = {game.wineBin, run.program};
    plan.command.insert(plan.command.end(), run.arguments.begin(), run.arguments.end());
    if (flatpak)
        return InFlatpakSandbox("com.heroicgameslauncher.hgl", "Heroic", plan);
    return plan;
}

#include "wine/HeroicLaunch.h"

#include "wine/FlatpakLaunch.h"
#include "wine/HeroicSettings.h"
#include "wine/ManagerEnvironment.h"
#include "wine/PrefixLaunch.h"
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
    env.Set("WINE_FULLSCREEN_FSR", "0");
    if (game.esync && !proton)
        env.Set("WINEESYNC", "1");
    if (!game.esync && proton)
        env.Set("PROTON_NO_ESYNC", "1");
    if (game.fsync && !proton)
        env.Set("WINEFSYNC", "1");
    if (!game.fsync && proton)
        env.Set("PROTON_NO_FSYNC", "1");
    if (proton)
        env.Set("PROTON_DISABLE_NVAPI", "1");
    const std::string runtimes = prefix.managerFolder + "/tools/runtimes";
    env.Set("PROTON_EAC_RUNTIME", runtimes + "/eac_runtime");
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

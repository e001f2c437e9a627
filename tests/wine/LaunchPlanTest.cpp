// How a program is started in each manager's prefix, over homes laid out as each manager lays
// out its files: the plan's command, its environment, and its refusals.
#include "support/ScopedEnvironment.h"
#include "wine/FakeHome.h"
#include "wine/LutrisLaunch.h"
#include "wine/PrefixDiscovery.h"
#include "wine/PrefixLaunch.h"
#include "wine/SteamLaunch.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::string Env(const LaunchPlan& plan, const std::string& name) {
    std::string value = "<unset>";
    for (const auto& [key, text] : plan.environment)
        if (key == name)
            value = text;
    return value;
}

std::string Command(const LaunchPlan& plan) {
    std::string text;
    for (const std::string& part : plan.command)
        text += "[" + part + "]";
    return plan.failure.empty() ? text : "failure: " + plan.failure;
}

// The prefix of the given manager whose folder ends as given.
FoundPrefix Prefix(const FakeHome& home, const std::string& folderEnd) {
    for (const FoundPrefix& prefix : FindWinePrefixes(home.Folders()))
        if (prefix.folder.size() >= folderEnd.size() &&
            prefix.folder.compare(prefix.folder.size() - folderEnd.size(), folderEnd.size(),
                                  folderEnd) == 0)
            return prefix;
    ADD_FAILURE() << "no prefix " << folderEnd;
    return {};
}

// A tool as Steam installs it: its app manifest, its proton script with the prefix version it
// writes, and its tool manifest.
void SteamTool(const FakeHome& home, const std::string& library, const std::string& appId,
               const std::string& name, const std::string& prefixVersion,
               const std::string& manifest) {
    home.Write(library + "/steamapps/appmanifest_" + appId + ".acf",
               "\"AppState\"\n{\n\t\"appid\"\t\t\"" + appId + "\"\n\t\"name\"\t\t\"" + name +
                   "\"\n\t\"installdir\"\t\t\"" + name + "\"\n\t\"StateFlags\"\t\t\"4\"\n}\n");
    const std::string folder = library + "/steamapps/common/" + name;
    if (!prefixVersion.empty()) {
        home.Write(folder + "/proton",
                   "#!/usr/bin/env python3\n# comment\nCURRENT_PREFIX_VERSION=\"" + prefixVersion +
                       "\"\n");
        fs::permissions(home / (folder + "/proton"), fs::perms::owner_all);
    }
    home.Write(folder + "/toolmanifest.vdf", manifest);
}

constexpr const char* kProtonManifest =
    "\"manifest\"\n{\n  \"version\" \"2\"\n  \"commandline\" \"/proton %verb%\"\n"
    "  \"require_tool_appid\" \"1628350\"\n  \"use_sessions\" \"1\"\n}\n";

struct SteamHome : FakeHome {
    std::string root = *this / ".local/share/Steam";
    std::string common = root + "/steamapps/common/";
    SteamHome(const std::string& rootName = ".local/share/Steam") {
        root = *this / rootName;
        common = root + "/steamapps/common/";
        for (const char* app : {"100", "200", "300", "3000000000"}) {
            Prefix(rootName + "/steamapps/compatdata/" + app + "/pfx");
            Write(rootName + "/steamapps/compatdata/" + std::string(app) + "/pfx.lock", "");
        }
        SteamTool(*this, rootName, "2805730", "Proton 9.0", "9.0-203", kProtonManifest);
        SteamTool(*this, rootName, "3658110", "Proton 10.0", "10.0-100", kProtonManifest);
        SteamTool(*this, rootName, "1493710", "Proton - Experimental", "10.0-101", kProtonManifest);
        SteamTool(*this, rootName, "1628350", "SteamLinuxRuntime_sniper", "",
                  "\"manifest\" { \"version\" \"2\" \"commandline\" "
                  "\"/_v2-entry-point --verb=%verb% --\" }");
        Write(rootName + "/steamapps/appmanifest_100.acf",
              "\"AppState\" { \"appid\" \"100\" \"name\" \"ZELTA\" \"installdir\" \"ZELTA\" }");
        // A custom Proton where Steam's root link leads, declared under its own name.
        Write(".steam/root/compatibilitytools.d/ge/compatibilitytool.vdf",
              "\"compatibilitytools\" { \"compat_tools\" { \"GE-Proton10-1\" { \"install_path\" "
              "\".\" \"display_name\" \"GE-Proton10-1\" \"from_oslist\" \"windows\" "
              "\"to_oslist\" \"linux\" } } }");
        Write(".steam/root/compatibilitytools.d/ge/proton",
              "#!/bin/sh\nCURRENT_PREFIX_VERSION=\"10.0-300\"\n");
        Write(".steam/root/compatibilitytools.d/ge/toolmanifest.vdf", kProtonManifest);
        fs::permissions(*this / ".steam/root/compatibilitytools.d/ge/proton", fs::perms::owner_all);
    }
    void Config(const std::string& mappings) const {
        fs::create_directories(root + "/config");
        std::ofstream(root + "/config/config.vdf")
            << "\"InstallConfigStore\" { \"Software\" { \"Valve\" { \"Steam\" { "
               "\"CompatToolMapping\" { "
            << mappings << " } } } } }";
    }
};

TEST(SteamLaunch, TheProtonSteamWouldUseInsideItsRuntimeWithSteamsVariables) {
    SteamHome home;
    Environment env;
    env.Set("STEAM_EXTRA_COMPAT_TOOLS_PATHS", nullptr);
    const std::string entry = home.common + "SteamLinuxRuntime_sniper/_v2-entry-point";
    const ProgramToRun run{home / "game/ZELTA.EXE", {"-nofmv", "a b"}, home / "game", home.home};
    struct Case {
        std::string mappings, app, proton; // proton: the folder chosen, or a failure's start
    } cases[] = {
        {"\"100\" { \"name\" \"proton_10\" \"config\" \"\" \"Priority\" \"250\" } "
         "\"0\" { \"name\" \"proton_9\" }",
         "100", home.common + "Proton 10.0"},
        {"\"100\" { \"name\" \"proton_10\" } \"0\" { \"name\" \"proton_9\" }", "200",
         home.common + "Proton 9.0"}, // the default for all titles
        {"\"300\" { \"name\" \"GE-Proton10-1\" } \"0\" { \"name\" \"proton_9\" }", "300",
         home / ".steam/root/compatibilitytools.d/ge"},
        {"\"200\" { \"name\" \"\" }", "200", home.common + "Proton - Experimental"},
        {"\"0\" { \"name\" \"proton_8\" }", "200",
         "failure: Steam starts this game with the "
         "compatibility tool \"proton_8\""},
    };
    for (const Case& c : cases) {
        home.Config(c.mappings);
        const LaunchPlan plan = PlanPrefixLaunch(Prefix(home, "compatdata/" + c.app + "/pfx"), run);
        if (c.proton.rfind("failure", 0) == 0) {
            EXPECT_EQ(Command(plan).substr(0, c.proton.size()), c.proton);
            continue;
        }
        EXPECT_EQ(Command(plan), "[" + entry + "][--verb=waitforexitandrun][--][" + c.proton +
                                     "/proton][waitforexitandrun][" + run.program +
                                     "][-nofmv][a b]")
            << c.mappings;
        const std::string compat = home.root + "/steamapps/compatdata/" + c.app;
        EXPECT_EQ(Env(plan, "STEAM_COMPAT_DATA_PATH"), compat);
        EXPECT_EQ(Env(plan, "STEAM_COMPAT_CLIENT_INSTALL_PATH"), home.root);
        EXPECT_EQ(Env(plan, "STEAM_COMPAT_APP_ID"), c.app);
        EXPECT_EQ(Env(plan, "SteamAppId"), c.app);
        EXPECT_EQ(Env(plan, "SteamGameId"), c.app);
        EXPECT_EQ(Env(plan, "STEAM_COMPAT_TOOL_PATHS"),
                  c.proton + ":" + home.common + "SteamLinuxRuntime_sniper");
        EXPECT_EQ(plan.unset, std::vector<std::string>{"WINEPREFIX"});
        EXPECT_EQ(plan.workingFolder, run.workingFolder);
    }
    home.Config("\"0\" { \"name\" \"proton_9\" }");
    LaunchPlan plan = PlanPrefixLaunch(Prefix(home, "compatdata/100/pfx"), run);
    EXPECT_EQ(Env(plan, "STEAM_COMPAT_INSTALL_PATH"), home.common + "ZELTA");
    // A non-Steam shortcut has no app of its own.
    plan = PlanPrefixLaunch(Prefix(home, "compatdata/3000000000/pfx"), run);
    EXPECT_EQ(Env(plan, "STEAM_COMPAT_APP_ID"), "0");
    EXPECT_EQ(Env(plan, "SteamAppId"), "<unset>");
    EXPECT_EQ(Env(plan, "SteamGameId"), std::to_string((3000000000ULL << 32) | 0x02000000ULL));
    // Without the runtime Proton requires, nothing starts.
    fs::remove_all(home.common + "SteamLinuxRuntime_sniper");
    fs::remove(home.root + "/steamapps/appmanifest_1628350.acf");
    EXPECT_NE(Command(PlanPrefixLaunch(Prefix(home, "compatdata/100/pfx"), run))
                  .find("Steam Linux Runtime of app 1628350"),
              std::string::npos);

    EXPECT_EQ(ProtonFolderName("proton_10"), "Proton 10.0");
    EXPECT_EQ(ProtonFolderName("proton_513"), "Proton 5.13");
    EXPECT_EQ(ProtonFolderName("proton_63"), "Proton 6.3");
    EXPECT_EQ(ProtonFolderName("proton_hotfix"), "Proton Hotfix");
}

// A prefix that a newer Proton has run is never given to an older one: Proton would remove its
// files from it.
TEST(SteamLaunch, NeverAProtonOlderThanThePrefix) {
    SteamHome home;
    const ProgramToRun run{home / "game/ZELTA.EXE", {}, home / "game", home.home};
    home.Config("\"0\" { \"name\" \"proton_9\" }");
    const std::string versionFile = home.root + "/steamapps/compatdata/200/version";
    struct Case {
        std::string prefixVersion, chosen;
    } cases[] = {
        {"9.0-203\n", "Proton 9.0"},
        {"9.0-1\n", "Proton 9.0"},   // the build number does not make it newer
        {"8.0-104\n", "Proton 9.0"}, // an older prefix is upgraded, as Steam would
        {"10.0-100\n", "Proton 10.0"},
        {"garbage", "Proton 9.0"},
    };
    for (const Case& c : cases) {
        std::ofstream(versionFile) << c.prefixVersion;
        EXPECT_NE(Command(PlanPrefixLaunch(Prefix(home, "compatdata/200/pfx"), run))
                      .find(home.common + c.chosen + "/proton]"),
                  std::string::npos)
            << c.prefixVersion;
    }
    // No installed Proton of the prefix's release: refused, naming both.
    std::ofstream(versionFile) << "11.0-5\n";
    const std::string refused = Command(PlanPrefixLaunch(Prefix(home, "compatdata/200/pfx"), run));
    EXPECT_EQ(refused.rfind("failure: ", 0), 0u) << refused;
    EXPECT_NE(refused.find("prefix version 11.0-5"), std::string::npos) << refused;
    EXPECT_NE(refused.find("Proton 9.0 (prefix version 9.0-203)"), std::string::npos) << refused;

    EXPECT_EQ(ProtonScriptPrefixVersion("x\nCURRENT_PREFIX_VERSION=\"10.0-100\"\n")->text,
              "10.0-100");
    EXPECT_FALSE(ProtonScriptPrefixVersion("#CURRENT_PREFIX_VERSION=\"1.0-1\"\n"));
}

// Steam installed from Flathub runs Proton in its sandbox; the Snap's is found where snapd keeps
// it.
TEST(SteamLaunch, TheFlatpaksSteamRunsProtonInItsSandbox) {
    SteamHome home(".var/app/com.valvesoftware.Steam/.local/share/Steam");
    home.Config("\"0\" { \"name\" \"proton_9\" }");
    home.StandIn("bin/flatpak");
    Environment env;
    env.Set("PATH", (home / "bin").c_str());
    const ProgramToRun run{home / "game/ZELTA.EXE", {"-nofmv"}, home / "game", home.home};
    const FoundPrefix prefix = Prefix(home, "compatdata/100/pfx");
    EXPECT_EQ(prefix.install, ManagerInstall::Flatpak);
    LaunchPlan plan = PlanPrefixLaunch(prefix, run);
    ASSERT_GE(plan.command.size(), 8u) << Command(plan);
    EXPECT_EQ(plan.command[0], home / "bin/flatpak");
    EXPECT_EQ(plan.command[2],
              "--command=" + home.common + "SteamLinuxRuntime_sniper/_v2-entry-point");
    EXPECT_EQ(plan.command[3], "--cwd=" + run.workingFolder);
    EXPECT_NE(Command(plan).find("[--env=STEAM_COMPAT_DATA_PATH=" + home.root +
                                 "/steamapps/compatdata/100][--env=STEAM_COMPAT_APP_ID=100]"),
              std::string::npos);
    EXPECT_NE(Command(plan).find("[--unset-env=WINEPREFIX][com.valvesoftware.Steam]"
                                 "[--verb=waitforexitandrun][--][" +
                                 home.common + "Proton 9.0/proton][waitforexitandrun][" +
                                 run.program + "][-nofmv]"),
              std::string::npos)
        << Command(plan);
    EXPECT_TRUE(plan.environment.empty());
    env.Set("PATH", "/nonexistent");
    plan = PlanPrefixLaunch(prefix, run);
    EXPECT_NE(plan.failure.find("Flatpak (com.valvesoftware.Steam)"), std::string::npos);
    EXPECT_NE(plan.failure.find("\"flatpak\" was not found"), std::string::npos);

    SteamHome snap(".snap/data/steam/common/.local/share/Steam");
    EXPECT_EQ(Prefix(snap, "compatdata/100/pfx").install, ManagerInstall::Snap);
}

} // namespace

namespace {

// Lutris's files as Lutris writes them: its database, system.yml, runners/wine.yml, the game's
// file, its runners and runtime.
struct LutrisHome : FakeHome {
    std::string data, config;
    explicit LutrisHome(const std::string& base = "") {
        data = base.empty() ? ".local/share/lutris" : base + "/data/lutris";
        config = base.empty() ? ".config/lutris" : base + "/config/lutris";
        LutrisDatabaseAt(data + "/pga.db",
                         {{"ZELTA", "zelta", "wine", *this / "Games/zelta", "1", "zelta-17"}});
        Prefix("Games/zelta/prefix");
        Write(config + "/system.yml", "system:\n  env:\n    MANGOHUD: '1'\n    SHARED: system\n");
        Write(config + "/runners/wine.yml",
              "system:\n  env:\n    SHARED: runner\nwine:\n  overrides:\n    winhttp: n,b\n");
        StandIn(data + "/runners/wine/lutris-7.2-x86_64/bin/wine");
        StandIn(data + "/runners/wine/GE-Proton9-1/proton");
        StandIn(data + "/runtime/umu/umu-run");
        for (const char* dll : {"x64/d3d9.dll", "x64/dxgi.dll", "x32/d3d9.dll"})
            Write(data + "/runtime/dxvk/v2.3/" + dll, "");
        Write(data + "/runtime/dgvoodoo2/v2.8/x32/ddraw.dll", "");
    }
    void LutrisDatabaseAt(const std::string& file, const std::vector<std::vector<std::string>>& g) {
        LutrisDatabase(g);
        if (file != ".local/share/lutris/pga.db") {
            fs::create_directories(fs::path(*this / file).parent_path());
            fs::rename(*this / ".local/share/lutris/pga.db", *this / file);
        }
    }
    void Game(const std::string& wine) const {
        Write(config + "/games/zelta-17.yml",
              "game:\n  exe: " + *this / "Games/zelta/prefix/drive_c/ZELTA.EXE" +
                  "\n  prefix: " + *this / "Games/zelta/prefix" +
                  "\nname: ZELTA\nsystem:\n  env:\n    DXVK_HUD: fps\n    SHARED: game\n" + wine);
    }
};

TEST(LutrisLaunch, TheGamesWineOrProtonWithItsOverridesAndEnvironment) {
    LutrisHome home;
    Environment env;
    env.Set("PATH", "/nonexistent");
    const ProgramToRun run{
        home / "Games/zelta/prefix/drive_c/ZELTA.EXE", {"-nofmv"}, home / "Games/zelta", home.home};
    const std::string data = home / home.data;
    struct Case {
        std::string wine, command, overrides;
    } cases[] = {
        // The game's own Wine build; its overrides replace the runner's; DXVK's DLLs native, the
        // player's dgvoodoo2 wrapper too.
        {"wine:\n  version: lutris-7.2-x86_64\n  dgvoodoo2: true\n  overrides:\n"
         "    ddraw: native,builtin\n    d3d8: disabled\n",
         "[" + data + "/runners/wine/lutris-7.2-x86_64/bin/wine][" + run.program + "][-nofmv]",
         "ddraw=n,b;d3d9,dxgi=n;d3d8,winemenubuilder="},
        // No version of its own: the runner's; a Proton build runs through umu-run.
        {"wine:\n  dxvk: false\n",
         "[" + data + "/runtime/umu/umu-run][" + run.program + "][-nofmv]",
         "winhttp=n,b;winemenubuilder="},
        {"wine:\n  version: ge-proton\n", "", ""},
    };
    home.Write(home.config + "/runners/wine.yml",
               "system:\n  env:\n    SHARED: runner\nwine:\n  version: GE-Proton9-1\n"
               "  overrides:\n    winhttp: n,b\n");
    for (const Case& c : cases) {
        home.Game(c.wine);
        const LaunchPlan plan = PlanPrefixLaunch(Prefix(home, "Games/zelta/prefix"), run);
        if (c.command.empty()) {
            // "ge-proton" in the game's file leaves the runner's version in force.
            EXPECT_EQ(Env(plan, "PROTONPATH"), data + "/runners/wine/GE-Proton9-1");
            continue;
        }
        EXPECT_EQ(Command(plan), c.command);
        EXPECT_EQ(Env(plan, "WINEDLLOVERRIDES"), c.overrides);
        EXPECT_EQ(Env(plan, "WINEPREFIX"), home / "Games/zelta/prefix");
        EXPECT_EQ(Env(plan, "MANGOHUD"), "1");
        EXPECT_EQ(Env(plan, "DXVK_HUD"), "fps");
        EXPECT_EQ(Env(plan, "SHARED"), "game") << "the game's layer wins name by name";
        EXPECT_EQ(Env(plan, "WINEESYNC"), "1");
        EXPECT_EQ(Env(plan, "WINEDEBUG"), "-all");
        EXPECT_EQ(Env(plan, "GAME_NAME"), "ZELTA");
        EXPECT_EQ(plan.workingFolder, run.workingFolder);
    }
    // Through umu: Lutris's variables for it.
    home.Game("wine:\n  esync: false\n");
    LaunchPlan plan = PlanPrefixLaunch(Prefix(home, "Games/zelta/prefix"), run);
    EXPECT_EQ(Env(plan, "PROTONPATH"), data + "/runners/wine/GE-Proton9-1");
    EXPECT_EQ(Env(plan, "GAMEID"), "umu-default");
    EXPECT_EQ(Env(plan, "PROTON_VERB"), "waitforexitandrun");
    EXPECT_EQ(Env(plan, "WINEARCH"), "win64");
    EXPECT_EQ(Env(plan, "WINEESYNC"), "0");
    EXPECT_EQ(Env(plan, "PROTON_NO_ESYNC"), "1");
    home.Write(home.data + "/runners/wine/GE-Proton9-1/proton",
               "#!/bin/sh\nCURRENT_PREFIX_VERSION=\"9.0-203\"\n");
    home.Write("Games/zelta/prefix/version", "10.0-100\n");
    EXPECT_NE(PlanPrefixLaunch(Prefix(home, "Games/zelta/prefix"), run)
                  .failure.find("prefix version 10.0-100"),
              std::string::npos);
    fs::remove(home / "Games/zelta/prefix/version");
    // Nothing chosen anywhere: Lutris's default, the newest GE-Proton through umu.
    home.Write(home.config + "/runners/wine.yml", "wine: {}\n");
    home.Game("");
    plan = PlanPrefixLaunch(Prefix(home, "Games/zelta/prefix"), run);
    EXPECT_EQ(Command(plan), "[" + data + "/runtime/umu/umu-run][" + run.program + "][-nofmv]");
    EXPECT_EQ(Env(plan, "PROTONPATH"), "GE-Proton");
    fs::remove(home / (home.data + "/runtime/umu/umu-run"));
    EXPECT_NE(PlanPrefixLaunch(Prefix(home, "Games/zelta/prefix"), run).failure.find("umu-run"),
              std::string::npos);

    EXPECT_EQ(LutrisDllOverrides({{"d3dcompiler_43", "native,builtin"},
                                  {"d3dcompiler_47", "native,builtin"},
                                  {"dnsapi", " builtin"},
                                  {"dwrite", " disabled"},
                                  {"winemenubuilder", "disabled"},
                                  {"rasapi32", " native"},
                                  {"odd", "sometimes"}}),
              "d3dcompiler_43,d3dcompiler_47=n,b;dnsapi=b;rasapi32=n;dwrite,winemenubuilder=");
}

TEST(LutrisLaunch, TheFlatpaksLutrisRunsItsWineInItsSandbox) {
    LutrisHome home(".var/app/net.lutris.Lutris");
    home.Game("wine:\n  version: lutris-7.2-x86_64\n");
    home.StandIn("bin/flatpak");
    Environment env;
    env.Set("PATH", (home / "bin").c_str());
    const ProgramToRun run{
        home / "Games/zelta/prefix/drive_c/ZELTA.EXE", {"-nofmv"}, home / "Games/zelta", home.home};
    const FoundPrefix prefix = Prefix(home, "Games/zelta/prefix");
    EXPECT_EQ(prefix.install, ManagerInstall::Flatpak);
    const LaunchPlan plan = PlanPrefixLaunch(prefix, run);
    const std::string command = Command(plan);
    EXPECT_EQ(command.rfind(
                  "[" + home / "bin/flatpak" + "][run][--command=" + home / home.data +
                      "/runners/wine/lutris-7.2-x86_64/bin/wine][--cwd=" + run.workingFolder + "]",
                  0),
              0u)
        << command;
    EXPECT_NE(command.find("[--env=WINEPREFIX=" + home / "Games/zelta/prefix" + "]"),
              std::string::npos);
    EXPECT_NE(command.find("[net.lutris.Lutris][" + run.program + "][-nofmv]"), std::string::npos);
}

TEST(BottlesLaunch, TheBottlesRunnerWithItsOverridesAndVariables) {
    FakeHome home;
    Environment env;
    env.Set("PATH", "/nonexistent");
    env.Set("LD_LIBRARY_PATH", nullptr);
    env.Set("WINEDEBUG", nullptr);
    // A bottle in a folder of the player's choice, and every other bottle moved by data.yml.
    home.Write(".local/share/bottles/data.yml", "custom_bottles_path: " + home / "Bottles" + "\n");
    home.Write("Bottles/Mine/placeholder.yml", "Path: " + home / "Elsewhere/Zelta" + "\n");
    home.Write("Elsewhere/Zelta/bottle.yml",
               "Arch: win64\nCustom_Path: true\nDLL_Overrides:\n  ddraw: n,b\n  d3d9: b\n"
               "Environment_Variables:\n  DXVK_HUD: fps\n  WINEDEBUG: warn+all\n"
               "Name: Zelta Bottle\nParameters:\n  dxvk: true\n  sync: fsync\nPath: " +
                   home / "Elsewhere/Zelta" + "\nRunner: GE-Proton9-1\n");
    home.Prefix("Elsewhere/Zelta");
    home.Write(".local/share/bottles/runners/GE-Proton9-1/toolmanifest.vdf",
               "\"manifest\" { \"commandline\" \"/proton %verb%\" }");
    home.StandIn(".local/share/bottles/runners/GE-Proton9-1/files/bin/wine");
    fs::create_directories(home / ".local/share/bottles/runners/GE-Proton9-1/files/lib64");
    home.Write("Bottles/Plain/bottle.yml", "Name: Plain\nPath: Plain\nRunner: soda-9.0\n");
    home.Prefix("Bottles/Plain");
    const FoundPrefix bottle = Prefix(home, "Elsewhere/Zelta");
    EXPECT_EQ(bottle.id, "Zelta Bottle");
    EXPECT_EQ(Prefix(home, "Bottles/Plain").manager, PrefixManager::Bottles);

    const ProgramToRun run{home / "Elsewhere/Zelta/drive_c/ZELTA.EXE",
                           {"-nofmv"},
                           home / "Elsewhere/Zelta/drive_c",
                           home.home};
    LaunchPlan plan = PlanPrefixLaunch(bottle, run);
    const std::string runner = home / ".local/share/bottles/runners/GE-Proton9-1/files";
    EXPECT_EQ(Command(plan), "[" + runner + "/bin/wine][" + run.program + "][-nofmv]");
    EXPECT_EQ(Env(plan, "WINEDLLOVERRIDES"), "ddraw=n,b;d3d9=b;winemenubuilder=''");
    EXPECT_EQ(Env(plan, "DXVK_HUD"), "fps");
    EXPECT_EQ(Env(plan, "WINEDEBUG"), "warn+all") << "the bottle's variables win";
    EXPECT_EQ(Env(plan, "WINEFSYNC"), "1");
    EXPECT_EQ(Env(plan, "WINEPREFIX"), home / "Elsewhere/Zelta");
    EXPECT_EQ(Env(plan, "WINEARCH"), "win64");
    EXPECT_EQ(Env(plan, "LD_LIBRARY_PATH"), runner + "/lib64");
    EXPECT_EQ(Env(plan, "DXVK_SHADER_CACHE_PATH"), home / "Elsewhere/Zelta/cache/dxvk_shader");
    // A program outside the bottle goes through Wine's start.
    plan = PlanPrefixLaunch(bottle, {home / "game/ZELTA.EXE", {}, home / "game", home.home});
    EXPECT_EQ(Command(plan),
              "[" + runner + "/bin/wine][start][/wait][/unix][" + home / "game/ZELTA.EXE" + "]");

    // The Flatpak's bottles run through bottles-cli in its sandbox.
    home.Write(".var/app/com.usebottles.bottles/data/bottles/bottles/Flat/bottle.yml",
               "Name: Flat Bottle\nPath: Flat\nRunner: caffe-7.20\n");
    home.Prefix(".var/app/com.usebottles.bottles/data/bottles/bottles/Flat");
    home.StandIn("bin/flatpak");
    env.Set("PATH", (home / "bin").c_str());
    plan = PlanPrefixLaunch(Prefix(home, "bottles/Flat"), run);
    EXPECT_EQ(Command(plan), "[" + home / "bin/flatpak" +
                                 "][run][--command=bottles-cli][--cwd=" + run.workingFolder +
                                 "][com.usebottles.bottles][run][-b][Flat "
                                 "Bottle][-e][" +
                                 run.program + "][--][-nofmv]");
}

TEST(HeroicLaunch, WineOrProtonThroughUmuWithTheGamesEnvironment) {
    FakeHome home;
    Environment env;
    env.Set("PATH", (home / "bin").c_str());
    env.Set("LD_PRELOAD", nullptr);
    env.Set("LD_LIBRARY_PATH", nullptr);
    home.StandIn("bin/umu-run");
    home.StandIn(".config/heroic/tools/wine/Wine-GE/bin/wine");
    home.StandIn(".config/heroic/tools/proton/GE-Proton9-1/proton");
    home.Write(".config/heroic/config.json",
               "{\"defaultSettings\": {\"enableFsync\": false, \"winePrefix\": \"~/Games/Heroic/"
               "Prefixes/default\"}, \"version\": \"v0\"}");
    auto game = [&home](const std::string& settings) {
        home.Write(".config/heroic/GamesConfig/Zelta.json",
                   "{\"Zelta\": {" + settings +
                       ", \"winePrefix\": \"~/Games/Heroic/Prefixes/Zelta\", "
                       "\"enviromentOptions\": [{\"key\": \"DXVK_HUD\", \"value\": \"fps\"}, "
                       "{\"key\": \"WINEDLLOVERRIDES\", \"value\": \"ddraw=n,b\"}]}, "
                       "\"version\": \"v0\", \"explicit\": true}");
    };
    home.Prefix("Games/Heroic/Prefixes/Zelta");
    home.Prefix("Games/Heroic/Prefixes/Zelta/pfx");
    const std::string prefix = home / "Games/Heroic/Prefixes/Zelta";
    const ProgramToRun run{
        prefix + "/drive_c/ZELTA.EXE", {"-nofmv"}, prefix + "/drive_c", home.home};

    const std::string build = home / ".config/heroic/tools/wine/Wine-GE";
    game("\"wineVersion\": {\"bin\": \"" + build + "/bin/wine\", \"lib\": \"" + build +
         "/lib64\", \"lib32\": \"" + build + "/lib\", \"name\": \"Wine-GE\", \"type\": \"wine\"}");
    LaunchPlan plan = PlanPrefixLaunch(Prefix(home, "Prefixes/Zelta"), run);
    EXPECT_EQ(Command(plan), "[" + home / ".config/heroic/tools/wine/Wine-GE/bin/wine" + "][" +
                                 run.program + "][-nofmv]");
    EXPECT_EQ(Env(plan, "WINEPREFIX"), prefix);
    EXPECT_EQ(Env(plan, "WINEDLLOVERRIDES"), "ddraw=n,b;winemenubuilder.exe=d");
    EXPECT_EQ(Env(plan, "DXVK_HUD"), "fps");
    EXPECT_EQ(Env(plan, "WINEESYNC"), "1");
    EXPECT_EQ(Env(plan, "WINEFSYNC"), "<unset>") << "off in the global defaults";
    EXPECT_EQ(Env(plan, "LD_LIBRARY_PATH"), build + "/lib64:" + build + "/lib");
    EXPECT_EQ(Env(plan, "DXVK_ENABLE_NVAPI"), "1");

    const std::string proton = home / ".config/heroic/tools/proton/GE-Proton9-1/proton";
    for (const bool umu : {true, false}) {
        game("\"disableUMU\": " + std::string(umu ? "false" : "true") +
             ", \"wineVersion\": {\"bin\": \"" + proton + "\", \"type\": \"proton\"}");
        plan = PlanPrefixLaunch(Prefix(home, "Prefixes/Zelta/pfx"), run);
        EXPECT_EQ(Command(plan),
                  umu ? "[" + home / "bin/umu-run" + "][" + run.program + "][-nofmv]"
                      : "[" + proton + "][waitforexitandrun][" + run.program + "][-nofmv]");
        EXPECT_EQ(Env(plan, "STEAM_COMPAT_DATA_PATH"), prefix);
        EXPECT_EQ(Env(plan, "PROTONPATH"), home / ".config/heroic/tools/proton/GE-Proton9-1");
        EXPECT_EQ(Env(plan, "PROTON_VERB"), "waitforexitandrun");
        EXPECT_EQ(Env(plan, "PROTON_NO_FSYNC"), "1");
        EXPECT_EQ(Env(plan, "PROTON_ENABLE_NVAPI"), "1");
        EXPECT_EQ(Env(plan, "STEAM_COMPAT_CLIENT_INSTALL_PATH"), home / ".steam/steam");
    }
    // A prefix that a newer Proton has run is refused to an older one.
    home.Write(".config/heroic/tools/proton/GE-Proton9-1/proton",
               "#!/bin/sh\nCURRENT_PREFIX_VERSION=\"9.0-203\"\n");
    home.Write("Games/Heroic/Prefixes/Zelta/version", "10.0-100\n");
    EXPECT_NE(PlanPrefixLaunch(Prefix(home, "Prefixes/Zelta/pfx"), run)
                  .failure.find("GE-Proton9-1 (prefix version 9.0-203)"),
              std::string::npos);
}

} // namespace

#include "platform/DesktopProgramStarter.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"
#include "wine/FakeHome.h"
#include "wine/GamePrefixes.h"
#include "wine/PrefixLaunch.h"
#include "wine/WinePrograms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A native program that reports its arguments (one a line), working folder, session and
// standard input into report.txt of its working folder.
struct Reporter {
    TempFolder folder;
    std::string program;

    Reporter() {
        folder.Write("game/bin/REPORT.EXE",
                     "#!/bin/sh\n"
                     "{ for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n"
                     "  printf 'cwd=%s\\n' \"$(pwd)\"\n"
                     "  printf 'sid=%s\\n' \"$(ps -o sid= -p $$ | tr -d ' ')\"\n"
                     "  printf 'stdin=%s\\n' \"$(cat)\"; } > report.part\n"
                     "mv report.part report.txt\n");
        fs::permissions(folder / "game/bin/REPORT.EXE", fs::perms::owner_all);
        program = folder.Path() + "/game\\bin\\REPORT.EXE";
    }
    std::string WaitForReport() {
        for (int i = 0; i < 200 && !folder.Exists("game/report.txt"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return folder.Read("game/report.txt");
    }
};

TEST(ProgramStarter, StartsTheProgramDetachedInTheGameFolderWithSplitArguments) {
    Reporter r;
    DesktopProgramStarter starter;
    EXPECT_EQ(starter.Start(r.program, " -level=data\\maps\\K1 \"two words\" a\\\"b -nofmv",
                            r.folder.Path() + "/game\\"),
              "");
    const std::string report = r.WaitForReport();
    EXPECT_EQ(report.substr(0, report.find("cwd=")),
              "[-level=data\\maps\\K1]\n[two words]\n[a\"b]\n[-nofmv]\n");
    EXPECT_NE(report.find("cwd=" + fs::canonical(r.folder / "game").string() + "\n"),
              std::string::npos);
    EXPECT_NE(report.find("stdin=\n"), std::string::npos); // /dev/null, not the caller's input
    EXPECT_EQ(report.find("sid=" + std::to_string(getsid(0)) + "\n"), std::string::npos);
}

TEST(ProgramStarter, ExplainsWhyAProgramCannotStart) {
    TempFolder folder;
    folder.Write("bin/PLAIN.EXE", "not a program");
    folder.Write("bin/WIN.EXE", std::string("MZ\x90\x00", 4) + std::string(200, '\0'));
    fs::permissions(folder / "bin/WIN.EXE", fs::perms::owner_all);
    const PrefixLaunchPlanner planner(nullptr, "");
    DesktopProgramStarter starter(&planner);
    EXPECT_EQ(starter.Start(folder / "bin/MISSING.EXE", "", folder.Path()),
              "The program file does not exist.");
    EXPECT_EQ(starter.Start(folder / "bin", "", folder.Path()), "The program file does not exist.");
    EXPECT_EQ(starter.Start(folder / "bin/PLAIN.EXE", "", folder.Path()),
              "The program file is not executable.");
    // Windows programs run through Wine; without it on PATH they cannot start.
    const std::string path = getenv("PATH");
    setenv("PATH", folder.Path().c_str(), 1);
    EXPECT_EQ(starter.Start(folder / "bin/WIN.EXE", "", folder.Path()),
              "Wine is needed to run this Windows program but was not found.");
    folder.Write("wine", "#!/bin/sh\nprintf '%s|' \"$@\" > '" + (folder / "wine.txt") + "'\n");
    fs::permissions(folder / "wine", fs::perms::owner_all);
    EXPECT_EQ(starter.Start(folder / "bin/WIN.EXE", "-nofmv \"a b\"", folder.Path()), "");
    setenv("PATH", path.c_str(), 1);
    for (int i = 0; i < 200 && !folder.Exists("wine.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(folder.Read("wine.txt"), folder / "bin/WIN.EXE" + "|-nofmv|a b|");
}

// Game managers and winetricks name their own Wine program through WINE; the prefix reaches the
// game unchanged.
TEST(ProgramStarter, RunsWindowsProgramsWithTheWineThatWineNames) {
    TempFolder folder;
    folder.Write("bin/WIN.EXE", std::string("MZ\x90\x00", 4) + std::string(200, '\0'));
    const std::string log = folder / "wine.txt";
    for (const char* wine : {"system/wine", "manager/wine-ge", "onpath/wine-staging"}) {
        folder.Write(wine, "#!/bin/sh\nprintf '%s:%s|' \"$0\" \"$WINEPREFIX\" > '" + log +
                               ".part'\nprintf '%s|' \"$@\" >> '" + log + ".part'\n/bin/mv '" +
                               log + ".part' '" + log + "'\n");
        fs::permissions(folder / wine, fs::perms::owner_all);
    }
    Environment env;
    env.Set("PATH", (folder / "system:" + folder / "onpath").c_str());
    const struct {
        std::optional<std::string> wine;
        std::string chosen;
    } cases[] = {
        {std::nullopt, folder / "system/wine"},
        {"", folder / "system/wine"},
        {folder / "manager/wine-ge", folder / "manager/wine-ge"},
        {"wine-staging", folder / "onpath/wine-staging"},
        {folder / "manager/missing", folder / "system/wine"},
        {folder / "manager", folder / "system/wine"},
        {"not-on-path", folder / "system/wine"},
    };
    for (const auto& c : cases) {
        env.Set("WINE", c.wine ? c.wine->c_str() : nullptr);
        EXPECT_EQ(FindWineProgram({}), c.chosen) << c.wine.value_or("(unset)");
    }

    const PrefixLaunchPlanner planner(nullptr, "");
    DesktopProgramStarter starter(&planner);
    const std::string managerWine = folder / "manager/wine-ge";
    env.Set("WINE", managerWine.c_str());
    env.Set("WINEPREFIX", (folder / "games prefix").c_str());
    EXPECT_EQ(starter.Start(folder / "bin/WIN.EXE", "-nofmv", folder.Path()), "");
    for (int i = 0; i < 200 && !folder.Exists("wine.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(folder.Read("wine.txt"), managerWine + ":" + folder / "games prefix" + "|" +
                                           folder / "bin/WIN.EXE" + "|-nofmv|");

    // Only when neither the named program nor wine exists does a Windows program not start.
    env.Set("PATH", (folder / "onpath").c_str());
    env.Set("WINE", (folder / "manager/missing").c_str());
    EXPECT_EQ(FindWineProgram({}), "");
    EXPECT_EQ(starter.Start(folder / "bin/WIN.EXE", "", folder.Path()),
              "Wine is needed to run this Windows program but was not found.");
}

// A relative WINE names a program of the folder the utility was started in, though the launch has
// made the game folder current by the time the game starts.
TEST(ProgramStarter, ARelativeWineIsTakenAgainstTheStartFolder) {
    TempFolder folder;
    folder.Write("game/bin/WIN.EXE", std::string("MZ\x90\x00", 4) + std::string(200, '\0'));
    const std::string log = folder / "wine.txt";
    for (const char* wine : {"start/wine-ge/wine", "system/wine", "game/wine-ge/wine"}) {
        folder.Write(wine, "#!/bin/sh\nprintf '%s' \"$0\" > '" + log + ".part'\n/bin/mv '" + log +
                               ".part' '" + log + "'\n");
        fs::permissions(folder / wine, fs::perms::owner_all);
    }
    Environment env;
    env.Set("PATH", (folder / "system").c_str());
    const fs::path before = fs::current_path();
    fs::current_path(folder / "game"); // as the launch leaves it
    const PrefixLaunchPlanner planner(nullptr, folder / "start");
    DesktopProgramStarter starter(&planner);
    for (const char* wine : {"./wine-ge/wine", "wine-ge/../wine-ge/wine"}) {
        env.Set("WINE", wine);
        fs::remove(log);
        EXPECT_EQ(starter.Start(folder / "game/bin/WIN.EXE", "", folder / "game"), "");
        for (int i = 0; i < 200 && !folder.Exists("wine.txt"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(folder.Read("wine.txt"), folder / "start/" + wine) << wine;
    }
    fs::current_path(before);
}

// A Windows program in a Steam prefix runs as Steam runs it; what it prints goes to the log,
// headed by what was started, and its exit status is kept.
TEST(ProgramStarter, CarriesOutTheManagersPlanWithItsOutputInTheLog) {
    FakeHome home;
    const std::string steam = ".local/share/Steam/steamapps/";
    home.Prefix(steam + "compatdata/100/pfx", "C:\\\\Games\\\\ZELTA\\\\");
    home.Write(steam + "compatdata/100/pfx.lock", "");
    home.Write(".local/share/Steam/config/config.vdf",
               "\"InstallConfigStore\" { \"Software\" { \"Valve\" { \"Steam\" { "
               "\"CompatToolMapping\" { \"0\" { \"name\" \"proton_9\" } } } } } }");
    home.Write(steam + "common/Proton 9.0/proton", "#!/bin/sh\nexit 9\n");
    home.Write(steam + "common/Proton 9.0/toolmanifest.vdf",
               "\"manifest\" { \"commandline\" \"/proton %verb%\" \"require_tool_appid\" "
               "\"1628350\" }");
    // The runtime's entry point records how it was called, prints and fails.
    home.Write(steam + "common/SteamLinuxRuntime_sniper/_v2-entry-point",
               "#!/bin/sh\n{ for a in \"$@\"; do printf '[%s]' \"$a\"; done\n"
               "  printf '\\ncwd=%s app=%s prefix=%s\\n' \"$(pwd)\" \"$SteamAppId\" "
               "\"${WINEPREFIX-unset}\"; } > '" +
                   home / "calls.txt" + "'\necho 'err: no such runtime' >&2\nexit 3\n");
    for (const char* program :
         {"common/Proton 9.0/proton", "common/SteamLinuxRuntime_sniper/_v2-entry-point"})
        fs::permissions(home / (steam + program), fs::perms::owner_all);
    home.Write("game/bin/WIN.EXE", std::string("MZ\x90\x00", 4));
    Environment env;
    env.Set("WINE", nullptr);
    env.Set("WINEPREFIX", nullptr); // given back at the end: the prefix in use is put there
    GamePrefixes prefixes(home.Folders());
    const PrefixLaunchPlanner planner(&prefixes, "/");
    const std::string log = home / "state/zeltasc/game.log";
    DesktopProgramStarter starter(&planner, log);
    EXPECT_EQ(starter.OutputLog(), log);
    EXPECT_EQ(starter.StartedProgramStatus(), std::nullopt) << "nothing started yet";
    EXPECT_EQ(starter.Start(home / "game/bin/WIN.EXE", "-nofmv \"a b\"", home / "game"), "");
    for (int i = 0; i < 500 && starter.StartedProgramRuns(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(starter.StartedProgramStatus(), std::optional<int>(3 << 8));
    const std::string proton = home / (steam + "common/Proton 9.0/proton");
    EXPECT_EQ(home.folder.Read("home/calls.txt"),
              "[--verb=waitforexitandrun][--][" + proton + "][waitforexitandrun][" +
                  home / "game/bin/WIN.EXE" + "][-nofmv][a b]\ncwd=" +
                  fs::canonical(home / "game").string() + " app=100 prefix=unset\n");
    const std::string text = home.folder.Read("home/state/zeltasc/game.log");
    EXPECT_EQ(text.rfind("Command: '" + home / (steam + "common/SteamLinuxRuntime_sniper/") +
                             "_v2-entry-point' '--verb=waitforexitandrun' '--' '" + proton +
                             "' 'waitforexitandrun' '",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("\nWorking folder: " + home / "game" + "\n"), std::string::npos);
    EXPECT_NE(text.find("\n  SteamAppId='100'\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n  (removed) WINEPREFIX\n"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 29), "Output:\nerr: no such runtime\n");
    EXPECT_EQ(fs::status(log).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(home / "state/zeltasc").permissions() & fs::perms::all,
              fs::perms::owner_all);
}

// The wait asks whether the started program still runs: yes while it does, no once it has ended
// (and it is reaped, leaving no zombie behind).
TEST(ProgramStarter, TellsWhetherTheStartedProgramStillRuns) {
    TempFolder folder;
    folder.Write("bin/SLOW.EXE",
                 "#!/bin/sh\nwhile [ ! -e '" + folder / "go" + "' ]; do sleep 0.05; done\n");
    fs::permissions(folder / "bin/SLOW.EXE", fs::perms::owner_all);
    DesktopProgramStarter starter;
    EXPECT_FALSE(starter.StartedProgramRuns()) << "nothing started yet";
    ASSERT_EQ(starter.Start(folder / "bin/SLOW.EXE", "", folder.Path()), "");
    EXPECT_TRUE(starter.StartedProgramRuns());
    folder.Write("go", "");
    bool runs = true;
    for (int i = 0; i < 200 && runs; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        runs = starter.StartedProgramRuns();
    }
    EXPECT_FALSE(runs);
    EXPECT_EQ(starter.StartedProgramStatus(), std::optional<int>(0));

    // A program that ends while nobody asks is reaped all the same: no zombie stays behind.
    fs::remove(folder / "go");
    ASSERT_EQ(starter.Start(folder / "bin/SLOW.EXE", "", folder.Path()), "");
    folder.Write("go", "");
    auto zombies = [] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator("/proc")) {
            std::ifstream stat(entry.path() / "stat");
            std::string line;
            std::getline(stat, line);
            const size_t close = line.rfind(')');
            if (close == std::string::npos)
                continue;
            char state = 0;
            long parent = 0;
            if (std::sscanf(line.c_str() + close + 1, " %c %ld", &state, &parent) == 2 &&
                state == 'Z' && parent == getpid())
                ++count;
        }
        return count;
    };
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int i = 0; i < 200 && zombies() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(zombies(), 0);
}

} // namespace

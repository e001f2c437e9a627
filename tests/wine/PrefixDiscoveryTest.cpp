// Which prefix the game comes from and which Wine starts it, over a home that holds every
// manager's prefixes.
#include "wine/PrefixDiscovery.h"
#include "support/ScopedEnvironment.h"
#include "wine/FakeHome.h"
#include "wine/GamePrefixes.h"
#include "wine/PrefixLaunch.h"
#include "wine/WinePrefixGameRegistry.h"
#include "wine/WinePrograms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <optional>

namespace fs = std::filesystem;

namespace {

std::string Command(const LaunchPlan& plan) {
    std::string text = plan.failure;
    for (const std::string& part : plan.command)
        text += "[" + part + "]";
    return text;
}

// Steam (two prefixes), Lutris, Bottles and Heroic, each with its own Wine stand-in.
struct ManagersHome : FakeHome {
    ManagersHome() {
        const std::string steam = ".local/share/Steam/steamapps/compatdata/";
        for (const char* app : {"100", "200"}) {
            Prefix(steam + app + "/pfx");
            Write(steam + app + "/pfx.lock", "");
        }
        StandIn(".local/share/Steam/steamapps/common/Proton 8.0/proton");
        LutrisDatabase({{"ZELTA", "zelta", "wine", *this / "Games/zelta", "1", "zelta-1"}});
        Write(".config/lutris/games/zelta-1.yml",
              "game:\n  prefix: " + *this / "Games/zelta" + "\nwine:\n  version: lutris-7.2\n");
        Prefix("Games/zelta");
        StandIn(".local/share/lutris/runners/wine/lutris-7.2/bin/wine");
        Write(".local/share/bottles/bottles/Games/bottle.yml", "Name: Games\nRunner: soda-7.0\n");
        Prefix(".local/share/bottles/bottles/Games");
        StandIn(".local/share/bottles/runners/soda-7.0/bin/wine");
        Write(".config/heroic/GamesConfig/Zelta.json",
              "{\"Zelta\": {\"winePrefix\": \"" + *this / "Heroic/Zelta" +
                  "\", \"wineVersion\": {\"bin\": \"" + *this / "heroic-wine/bin/wine" +
                  "\", \"type\": \"wine\"}}}");
        Prefix("Heroic/Zelta");
        StandIn("heroic-wine/bin/wine");
    }
    // Gives the prefix the record, written at the given time.
    void Record(const std::string& prefix, std::chrono::seconds age) const {
        Write(prefix + "/system.reg",
              "WINE REGISTRY Version 2\n\n[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1\n"
              "\"InstalledPath\"=\"C:\\\\Games\\\\ZELTA\\\\\"\n");
        fs::last_write_time(*this / (prefix + "/system.reg"),
                            fs::file_time_type::clock::now() - age);
    }
};

TEST(PrefixDiscovery, EveryManagersPrefixInOrderAndTheNewestRecordWins) {
    ManagersHome home;
    std::vector<FoundPrefix> found = FindWinePrefixes(home.Folders());
    std::vector<std::string> labels;
    for (const FoundPrefix& prefix : found)
        labels.push_back(PrefixLabel(prefix, home.home));
    EXPECT_EQ(labels, (std::vector<std::string>{
                          "Wine: ~/.wine",
                          "Steam (Proton): ~/.local/share/Steam/steamapps/compatdata/100/pfx",
                          "Steam (Proton): ~/.local/share/Steam/steamapps/compatdata/200/pfx",
                          "Lutris: ~/Games/zelta",
                          "Bottles: ~/.local/share/bottles/bottles/Games",
                          "Heroic: ~/Heroic/Zelta",
                      }));
    EXPECT_EQ(ChooseGamePrefix(found), std::nullopt) << "no prefix holds the record";

    home.Record("Games/zelta", std::chrono::seconds(60));
    EXPECT_EQ(ChooseGamePrefix(found), 3u);
    home.Record(".local/share/Steam/steamapps/compatdata/200/pfx", std::chrono::seconds(10));
    EXPECT_EQ(ChooseGamePrefix(found), 2u) << "written last";
    home.Record(".local/share/Steam/steamapps/compatdata/100/pfx", std::chrono::seconds(600));
    EXPECT_EQ(ChooseGamePrefix(found), 2u);

    // A record key without the folder value is no record.
    home.Write(".local/share/Steam/steamapps/compatdata/200/pfx/system.reg",
               "[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1\n\"Other\"=\"x\"\n");
    EXPECT_EQ(ChooseGamePrefix(found), 3u);

    // A manager pointing at ~/.wine does not list it twice; $WINEPREFIX alone when set.
    fs::create_symlink(home / "Games/zelta", home / ".wine");
    EXPECT_EQ(FindWinePrefixes(home.Folders()).size(), found.size() - 1);
    HomeFolders chosen = home.Folders();
    chosen.winePrefix = home / "Heroic/Zelta";
    found = FindWinePrefixes(chosen);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(PrefixLabel(found[0], home.home), "Wine: ~/Heroic/Zelta");
}

// The prefix in use reaches the environment; WINE wins over the managers; a folder chosen in
// another prefix moves to it.
TEST(PrefixDiscovery, ThePrefixInUseAndWhatStartsAProgramInIt) {
    ManagersHome home;
    Environment env;
    env.Set("WINE", nullptr);
    env.Set("WINEPREFIX", nullptr);
    env.Set("PATH", (home / "system").c_str());
    home.StandIn("system/wine");
    home.Record("Heroic/Zelta", std::chrono::seconds(5));
    GamePrefixes prefixes(home.Folders());
    EXPECT_EQ(prefixes.CurrentLabel(), "Heroic: ~/Heroic/Zelta");
    EXPECT_EQ(std::string(getenv("WINEPREFIX")), home / "Heroic/Zelta")
        << "drive letters map through the prefix in use";

    // A native program runs as it is; a Windows one in the prefix in use, through the player's
    // WINE when set, else as the prefix's manager would (for ~/.wine: wine from PATH).
    home.Write("game/NATIVE.EXE", "#!/bin/sh\n");
    fs::permissions(home / "game/NATIVE.EXE", fs::perms::owner_all);
    home.Write("game/WIN.EXE", "MZ");
    auto plan = [&](const std::string& program) {
        const LaunchPlan p =
            PrefixLaunchPlanner(&prefixes, "/").Plan(program, {"-x"}, home / "game");
        std::string text = p.failure;
        for (const std::string& part : p.command)
            text += "[" + part + "]";
        for (const auto& [name, value] : p.environment)
            text += name == "WINEPREFIX" ? " " + name + "=" + value : "";
        return text;
    };
    EXPECT_EQ(plan(home / "game/NATIVE.EXE"), "[" + home / "game/NATIVE.EXE" + "][-x]");
    env.Set("WINE", (home / "heroic-wine/bin/wine").c_str());
    EXPECT_EQ(plan(home / "game/WIN.EXE"), "[" + home / "heroic-wine/bin/wine" + "][" +
                                               home / "game/WIN.EXE" +
                                               "][-x] WINEPREFIX=" + home / "Heroic/Zelta")
        << "the player's WINE wins";
    env.Set("WINE", nullptr);
    const FoundPrefix& wine = prefixes.All()[0];
    EXPECT_EQ(Command(PlanPrefixLaunch(wine, {home / "game/WIN.EXE", {}, "", home.home})),
              "[" + home / "system/wine" + "][" + home / "game/WIN.EXE" + "]");
    fs::remove(home / "system/wine");
    EXPECT_EQ(PlanPrefixLaunch(wine, {home / "game/WIN.EXE", {}, "", home.home}).failure,
              kWineMissing);

    // A folder chosen inside another prefix, through its drive C:, moves to that prefix.
    home.Write("Games/zelta/drive_c/Games/ZELTA/launcher.exe", "");
    EXPECT_TRUE(prefixes.UseFolder(home / "Games/zelta/dosdevices/c:/Games/ZELTA/"));
    EXPECT_EQ(prefixes.CurrentLabel(), "Lutris: ~/Games/zelta");
    EXPECT_EQ(std::string(getenv("WINEPREFIX")), home / "Games/zelta");
    EXPECT_FALSE(prefixes.UseFolder(home / "elsewhere"));
    EXPECT_EQ(prefixes.CurrentLabel(), "Lutris: ~/Games/zelta");
}

} // namespace

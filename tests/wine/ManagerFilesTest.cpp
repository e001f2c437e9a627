// The readers of the game managers' own files, over homes laid out as each manager lays it out.
#include "wine/BottlesPrefixes.h"
#include "wine/FakeHome.h"
#include "wine/HeroicPrefixes.h"
#include "wine/KeyValuesText.h"
#include "wine/LutrisPrefixes.h"
#include "wine/SteamPrefixes.h"
#include "wine/YamlScalars.h"

#include <gtest/gtest.h>

#include <chrono>

namespace fs = std::filesystem;

namespace {

std::string Field(const KeyValuesNode& root, std::initializer_list<std::string_view> path) {
    const KeyValuesNode* node = root.Find(path);
    return node ? node->Value() : "<none>";
}

TEST(KeyValuesText, ReadsSteamsFilesOldAndNewAndSurvivesDamage) {
    const KeyValuesNode current = KeyValuesNode::Parse(
        "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/ann/.local/share/Steam\"\n"
        "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n"
        "\t\"1\" // a second disk\n\t{\n\t\t\"path\"\t\t\"/mnt/games/Steam "
        "\\\"Library\\\"\"\n\t}\n}\n");
    EXPECT_EQ(Field(current, {"LibraryFolders", "0", "PATH"}), "/home/ann/.local/share/Steam");
    EXPECT_EQ(Field(current, {"libraryfolders", "1", "path"}), "/mnt/games/Steam \"Library\"");
    EXPECT_EQ(Field(current, {"libraryfolders", "0", "apps", "228980"}), "1");
    EXPECT_EQ(current.Find({"libraryfolders", "2"}), nullptr);

    // Older files: a bare path per number, bare words, conditions after entries.
    const KeyValuesNode old = KeyValuesNode::Parse(
        "LibraryFolders { \"TimeNextStatsReport\" \"1700000000\" \"1\" \"/mnt/old\" [$LINUX]\n"
        "key value }");
    EXPECT_EQ(Field(old, {"libraryfolders", "1"}), "/mnt/old");
    EXPECT_EQ(Field(old, {"libraryfolders", "key"}), "value");

    // A file cut short keeps what came before; stray braces and endless nesting break nothing.
    EXPECT_EQ(Field(KeyValuesNode::Parse("\"a\" { \"b\" \"c\" \"d\" { \"e"), {"a", "b"}), "c");
    EXPECT_EQ(Field(KeyValuesNode::Parse("} } \"a\" \"b\""), {"a"}), "b");
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "\"a\" {";
    EXPECT_EQ(Field(KeyValuesNode::Parse(deep + "\"x\" \"y\""), {"a", "a", "a"}), "");
}

TEST(YamlScalars, ReadsTheFlatKeysOfLutrisAndBottlesFiles) {
    const std::string lutris = "game:\n  exe: /g/drive_c/ZELTA.EXE\n  prefix: /home/ann/Games/zelta"
                               "  # the prefix\nsystem:\n  prefix: /wrong\nwine:\n"
                               "  version: 'lutris-GE-Proton8-26-x86_64'\n";
    EXPECT_EQ(ReadYamlScalar(lutris, {"game", "prefix"}), "/home/ann/Games/zelta");
    EXPECT_EQ(ReadYamlScalar(lutris, {"wine", "version"}), "lutris-GE-Proton8-26-x86_64");
    EXPECT_EQ(ReadYamlScalar(lutris, {"system", "exe"}), std::nullopt);
    EXPECT_EQ(ReadYamlScalar(lutris, {"prefix"}), std::nullopt) << "not at the top level";
    const std::string bottle =
        "Arch: win64\nCustom_Path: true\nName: \"My \\\"Zelta\\\"\"\n"
        "Path: ~/Bottles/zelta\nRunner: soda-7.0-9\nEnvironment_Variables: {}\n"
        "Parameters:\n  dxvk: true\n  Runner: nested\nVersioning: false\n";
    EXPECT_EQ(ReadYamlScalar(bottle, {"Runner"}), "soda-7.0-9");
    EXPECT_EQ(ReadYamlScalar(bottle, {"Name"}), "My \"Zelta\"");
    EXPECT_EQ(ReadYamlScalar(bottle, {"Path"}), "~/Bottles/zelta");
    EXPECT_EQ(ReadYamlScalar("game:\n  prefix: ~\n", {"game", "prefix"}), std::nullopt);
    EXPECT_EQ(ReadYamlScalar("game:\n  deep:\n    prefix: /d\n  prefix: /p\n", {"game", "prefix"}),
              "/p");
    EXPECT_EQ(ReadYamlScalar("game: {prefix: /flow}\n", {"game", "prefix"}), std::nullopt);

    // The mappings of overrides and variables, in file order; an empty value stays a name.
    const std::string game = "wine:\n  overrides:\n    ddraw: 'native,builtin'\n    d3d8:\n"
                             "    # a comment\n    dinput8: n # inline\n  version: x\n"
                             "system:\n  env:\n    A: '1'\n";
    using Entries = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(ReadYamlMapping(game, {"wine", "overrides"}),
              (Entries{{"ddraw", "native,builtin"}, {"d3d8", ""}, {"dinput8", "n"}}));
    EXPECT_EQ(ReadYamlMapping(game, {"system", "env"}), (Entries{{"A", "1"}}));
    EXPECT_EQ(ReadYamlMapping(game, {"game", "env"}), Entries{});
    EXPECT_EQ(ReadYamlMapping("DLL_Overrides: {}\nName: x\n", {"DLL_Overrides"}), Entries{});
}

// Steam with a second library, a root reached twice, Protons official and custom.
TEST(SteamPrefixes, EveryLibrarysCompatDataOnceWithItsRootAndLibrary) {
    FakeHome home;
    const std::string root = home / ".local/share/Steam";
    const std::string library = home.folder / "disk2/SteamLibrary";
    home.Write(".local/share/Steam/steamapps/libraryfolders.vdf",
               "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + root +
                   "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + library + "\"\n\t}\n}\n");
    fs::create_directories(home / ".steam");
    fs::create_symlink(root, home / ".steam/steam"); // as Steam links it
    home.Prefix(".local/share/Steam/steamapps/compatdata/100/pfx");
    home.Write(".local/share/Steam/steamapps/compatdata/100/pfx.lock", "");
    home.Prefix(".local/share/Steam/steamapps/compatdata/200/pfx"); // no pfx.lock: not in use
    home.folder.Write("disk2/SteamLibrary/steamapps/compatdata/300/pfx/system.reg", "");
    home.folder.Write("disk2/SteamLibrary/steamapps/compatdata/300/pfx.lock", "");
    home.StandIn(".local/share/Steam/steamapps/common/Proton 8.0/proton");
    home.StandIn(".local/share/Steam/compatibilitytools.d/GE-Proton9-1/proton");
    home.Write(".local/share/Steam/compatibilitytools.d/GE-Proton9-1/compatibilitytool.vdf",
               "\"compatibilitytools\" { \"compat_tools\" { \"GE-Proton9-1\" { \"install_path\" "
               "\".\" } } }");
    home.folder.Write("disk2/SteamLibrary/steamapps/common/Proton - Experimental/proton",
                      "#!/bin/sh\n");
    fs::permissions(library + "/steamapps/common/Proton - Experimental/proton",
                    fs::perms::owner_all);
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(root + "/steamapps/common/Proton 8.0/proton", now - std::chrono::hours(2));
    fs::last_write_time(root + "/compatibilitytools.d/GE-Proton9-1/proton", now);
    fs::last_write_time(library + "/steamapps/common/Proton - Experimental/proton",
                        now - std::chrono::hours(1));
    home.Write(".local/share/Steam/config/config.vdf",
               "\"InstallConfigStore\" { \"Software\" { \"Valve\" { \"Steam\" { "
               "\"CompatToolMapping\" { \"100\" { \"name\" \"proton_8\" \"config\" \"\" } "
               "\"300\" { \"name\" \"\" } } } } } }");

    const std::vector<FoundPrefix> found = FindSteamPrefixes(home.Folders());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].folder, root + "/steamapps/compatdata/100/pfx");
    EXPECT_EQ(found[0].managerFolder, root);
    EXPECT_EQ(found[0].id, "100");
    EXPECT_EQ(found[0].library, root);
    EXPECT_EQ(found[0].install, ManagerInstall::Native);
    EXPECT_EQ(found[1].folder, library + "/steamapps/compatdata/300/pfx");
    EXPECT_EQ(found[1].library, fs::canonical(library).string());
}

// Lutris: the database's installed Wine games, their game files, the runner's wine.
TEST(LutrisPrefixes, InstalledWineGamesWithTheirPrefixAndRunner) {
    FakeHome home;
    home.LutrisDatabase({
        {"ZELTA", "zelta", "wine", home / "Games/zelta", "1", "zelta-1700000000"},
        {"Native", "native", "linux", home / "Games/native", "1", "native-1"},
        {"Gone", "gone", "wine", home / "Games/gone", "0", "gone-1"},
        {"No file", "nofile", "wine", home / "Games/nofile", "1", "nofile-1"},
        {"Escape", "escape", "wine", home / "Games/escape", "1", "../../escape"},
    });
    home.Write(".config/lutris/games/zelta-1700000000.yml",
               "game:\n  exe: drive_c/Games/ZELTA/bin/ZELTA.EXE\n  prefix: ~/Games/zelta-prefix\n"
               "wine:\n  version: lutris-7.2-x86_64\n");
    std::vector<FoundPrefix> found = FindLutrisPrefixes(home.Folders());
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].folder, home / "Games/zelta-prefix");
    EXPECT_EQ(found[0].settingsFile, home / ".config/lutris/games/zelta-1700000000.yml");
    EXPECT_EQ(found[0].managerConfig, home / ".config/lutris");
    EXPECT_EQ(found[0].id, "ZELTA");
    EXPECT_EQ(found[0].library, home / "Games/zelta");
    EXPECT_EQ(found[1].folder, home / "Games/nofile") << "no game file: the game's directory";
    EXPECT_EQ(found[2].folder, home / "Games/escape");

    // Newer Lutris keeps the game files under its data folder when ~/.config/lutris is absent.
    fs::rename(home / ".config/lutris/games", home / ".local/share/lutris/games");
    fs::remove_all(home / ".config/lutris");
    found = FindLutrisPrefixes(home.Folders());
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0].folder, home / "Games/zelta-prefix");

    home.Write(".local/share/lutris/pga.db", "not a database");
    EXPECT_TRUE(FindLutrisPrefixes(home.Folders()).empty());
}

TEST(BottlesPrefixes, EachBottleWithItsRunnerNativeAndFlatpak) {
    FakeHome home;
    home.Write(".local/share/bottles/bottles/Games/bottle.yml",
               "Arch: win64\nCustom_Path: false\nName: Games\nPath: Games\nRunner: soda-7.0-9\n");
    home.Write(".local/share/bottles/bottles/System/bottle.yml",
               "Name: System\nPath: System\nRunner: sys-wine-9.0\n");
    home.Write(".local/share/bottles/bottles/Elsewhere/bottle.yml",
               "Custom_Path: true\nName: Elsewhere\nPath: ~/wine/elsewhere\nRunner: caffe-7.10\n");
    home.Write(".local/share/bottles/bottles/NoFile/readme.txt", "");
    home.Write(".var/app/com.usebottles.bottles/data/bottles/bottles/Flat/bottle.yml",
               "Name: Flat\nPath: Flat\nRunner: kron4ek-wine-9.0\n");
    const std::vector<FoundPrefix> found = FindBottlesPrefixes(home.Folders());
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].folder, home / "wine/elsewhere");
    EXPECT_EQ(found[0].settingsFile, home / ".local/share/bottles/bottles/Elsewhere/bottle.yml");
    EXPECT_EQ(found[1].folder, home / ".local/share/bottles/bottles/Games");
    EXPECT_EQ(found[1].id, "Games");
    EXPECT_EQ(found[1].managerFolder, home / ".local/share/bottles");
    EXPECT_EQ(found[3].folder, home / ".var/app/com.usebottles.bottles/data/bottles/bottles/Flat");
    EXPECT_EQ(found[3].install, ManagerInstall::Flatpak);
}

TEST(HeroicPrefixes, WineAndProtonBuildsFromTheGamesSettings) {
    FakeHome home;
    home.Write(".config/heroic/GamesConfig/Zelta.json",
               "{\"Zelta\": {\"autoInstallDxvk\": true, \"winePrefix\": \"" +
                   home / "Games/Heroic/Prefixes/Zelta" + "\", \"wineVersion\": {\"bin\": \"" +
                   home / ".config/heroic/tools/wine/Wine-GE/bin/wine" +
                   "\", \"name\": \"Wine-GE\", \"type\": \"wine\"}}, \"version\": \"v0\", "
                   "\"explicit\": true}");
    home.Write(
        ".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/Other.json",
        "{\"Other\": {\"winePrefix\": \"~/Games/Heroic/Prefixes/Other\", \"wineVersion\": "
        "{\"bin\": \"~/.config/heroic/tools/proton/GE-Proton9-1/proton\", \"type\": \"proton\"}}}");
    home.Write(".config/heroic/GamesConfig/broken.json", "{\"Broken\": {\"winePrefix\": ");
    home.Write(".config/heroic/GamesConfig/notes.txt", "{\"winePrefix\": \"/x\"}");
    const std::vector<FoundPrefix> found = FindHeroicPrefixes(home.Folders());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].folder, home / "Games/Heroic/Prefixes/Zelta");
    EXPECT_EQ(found[0].id, "Zelta");
    EXPECT_EQ(found[0].settingsFile, home / ".config/heroic/GamesConfig/Zelta.json");
    EXPECT_EQ(found[1].folder, home / "Games/Heroic/Prefixes/Other/pfx");
    EXPECT_EQ(found[1].install, ManagerInstall::Flatpak);
}

} // namespace

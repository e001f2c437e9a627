#include "platform/Paths.h"
#include "platform/WildcardSearch.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

TEST(Wildcard, FollowsTheDosMatchingRules) {
    struct Case {
        const char* mask;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.exe", "ZELTA.EXE", true},
        {"*.exe", "zelta.exe", true},
        {"*.exe", "a.exe1", false},
        {"*.exe", "exe", false},
        {"*.*", "README", true},
        {"*.*", "a.b.c", true},
        {"*", ".hidden", true},
        {"*.", "noext", true},
        {"*.", "has.ext", false},
        {"a??", "a", true},
        {"a??", "ab", true},
        {"a??", "abc", true},
        {"a??", "abcd", false},
        {"*.lng", "Deutsch.lng", true},
        {"*.lng", "Deutsch.lng.bak", false},
        {"K?.pad", "K1.PAD", true},
        {"K?.pad", "K.pad", true},
        {"K?.pad", "K12.pad", false},
        {"*.tmp", "K1.tmp", true},
        {"launcher.exe", "LAUNCHER.EXE", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesWildcard(c.mask, c.name), c.matches) << c.mask << " vs " << c.name;
}

TEST(Wildcard, ListsInUpperCasedNameOrderWithoutDotEntries) {
    TempFolder folder;
    for (const char* name : {"b.clz", "A.clz", "c.CLZ", "_x.clz", "a.txt"})
        folder.Write(std::string("Data/Maps/") + name, "x");
    std::filesystem::create_directories(folder / "Data/Maps/cutscene");
    auto found = FindFiles(folder.Path() + "\\data\\maps\\*.clz");
    std::vector<std::string> names;
    for (const auto& entry : found)
        names.push_back(entry.name);
    // "_" (0x5F) sorts after the upper-case letters, as on the game's platform.
    EXPECT_EQ(names, (std::vector<std::string>{"A.clz", "b.clz", "c.CLZ", "_x.clz"}));

    auto all = FindFiles(folder.Path() + "/data/maps/*.*");
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[1].name, "a.txt");
    EXPECT_EQ(all[4].name, "cutscene");
    EXPECT_TRUE(all[4].isDirectory);
    EXPECT_FALSE(all[5].isDirectory);
    EXPECT_TRUE(FindFiles(folder.Path() + "/missing/*.*").empty());
}

TEST(NativePaths, MapDriveLettersThroughTheWinePrefix) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "prefix/dosdevices");
    std::filesystem::create_directories(folder / "games/ZELTA/bin");
    std::filesystem::create_directory_symlink(folder / "games", folder / "prefix/dosdevices/d:");
    setenv("WINEPREFIX", (folder / "prefix").c_str(), 1);
    EXPECT_EQ(NativePath("D:\\zelta\\BIN\\ZELTA.EXE"),
              folder / "prefix/dosdevices/d:/ZELTA/bin/ZELTA.EXE");
    EXPECT_EQ(NativePath("d:\\\\ZELTA\\\\bin\\"), folder / "prefix/dosdevices/d:/ZELTA/bin");
    unsetenv("WINEPREFIX");
    setenv("HOME", folder.Path().c_str(), 1);
    EXPECT_EQ(WinePrefix(), folder / ".wine");
}

TEST(NativePaths, MixLinuxFoldersWithBackslashParts) {
    TempFolder folder;
    folder.Write("Game/launcher.exe", "");
    EXPECT_EQ(NativePath(folder.Path() + "/game/\\LAUNCHER.EXE"), folder / "Game/launcher.exe");
    EXPECT_TRUE(FileExists(folder.Path() + "/game\\launcher.exe"));
    EXPECT_FALSE(FileExists(folder.Path() + "/game"));
    EXPECT_TRUE(DirectoryExists(folder.Path() + "\\GAME\\"));
    EXPECT_EQ(NativePath("/"), "/");
}

TEST(NativePaths, SplitFileNamesFromFolders) {
    EXPECT_EQ(ExtractFileName("C:\\Games\\demo.xpd"), "demo.xpd");
    EXPECT_EQ(ExtractFileName("/home/ann/demo.xpd"), "demo.xpd");
    EXPECT_EQ(ExtractFilePath("C:\\Games\\demo.xpd"), "C:\\Games\\");
    EXPECT_EQ(ExtractFilePath("demo.xpd"), "");
}

TEST(NativePaths, RelativePathsBecomeAbsoluteAgainstAFolder) {
    struct Case {
        const char* path;
        const char* folder;
        const char* expected;
    } cases[] = {{"my.xpd", "/home/ann/demos", "/home/ann/demos/my.xpd"},
                 {"sub/my.xpd", "/home/ann/", "/home/ann/sub/my.xpd"},
                 {"../my.xpd", "/home/ann/demos", "/home/ann/demos/../my.xpd"},
                 {"/srv/demos/my.xpd", "/home/ann", "/srv/demos/my.xpd"},
                 {"C:\\demos\\my.xpd", "/home/ann", "C:\\demos\\my.xpd"},
                 {"my.xpd", "", "my.xpd"},
                 {"", "/home/ann", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(AbsoluteAgainst(c.path, c.folder), c.expected) << c.path << " in " << c.folder;
}

} // namespace

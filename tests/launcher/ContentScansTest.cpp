#include "launcher/ContentScans.h"
#include "launcher/GameDiscovery.h"
#include "platform/IniDocument.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class ContentScansTest : public ::testing::Test {
protected:
    // The game folder as the destination field holds it: with a trailing separator.
    std::string GameFolder() const { return game.Path() + "/"; }
    TempFolder game;
};

TEST_F(ContentScansTest, LevelsShowTheirNameTableValueOrTheirBaseName) {
    for (const char* name : {"K1.clz", "k2.CLZ", "Zeta.clz", "readme.txt", "cutscene/C1.clz"})
        game.Write(std::string("data/maps/") + name, "x");
    const auto settings = IniDocument::Parse(
        "[levels]\nk1=The Keep\nZETA=  Zeta Fields  \n[cutscenes]\nk2=Wrong table\n");
    EXPECT_EQ(ScanContent(GameFolder(), kLevelScan, settings),
              (std::vector<std::string>{"The Keep", "k2", "Zeta Fields"}));
}

TEST_F(ContentScansTest, PatternsReachFoldersWrittenInAnyCase) {
    game.Write("DATA/Maps/CutScene/Intro.CLZ", "x");
    game.Write("DATA/FMV/logo.mpg", "x");
    game.Write("DATA/FMV/logo.mpg.part", "x");
    const auto settings =
        IniDocument::Parse("[cutscenes]\nINTRO=Opening\n[fmvs]\nLogo=Maker logo\n");
    EXPECT_EQ(ScanContent(GameFolder(), kCutsceneScan, settings),
              std::vector<std::string>{"Opening"});
    EXPECT_EQ(ScanContent(GameFolder(), kMovieScan, settings),
              std::vector<std::string>{"Maker logo"});
}

TEST_F(ContentScansTest, EqualShownNamesAreListedTwiceAndAMatchingFolderCounts) {
    game.Write("data/maps/a.clz", "x");
    game.Write("data/maps/b.clz", "x");
    std::filesystem::create_directories(game / "data/maps/c.clz");
    const auto settings = IniDocument::Parse("[levels]\na=Same\nb=Same\n");
    EXPECT_EQ(ScanContent(GameFolder(), kLevelScan, settings),
              (std::vector<std::string>{"Same", "Same", "c"}));
}

TEST_F(ContentScansTest, DemosKeepTheirNameAndCaseAndNeedTheTrailingSeparator) {
    for (const char* name : {"K1.pad", "Run.PAD", "notes.txt"})
        game.Write(std::string("bin/") + name, "x");
    const IniDocument none;
    EXPECT_EQ(ScanContent(GameFolder(), kDemoScan, none),
              (std::vector<std::string>{"K1.pad", "Run.PAD"}));
    EXPECT_TRUE(ScanContent(game.Path(), kDemoScan, none).empty())
        << "\"bin\" is appended without a separator";
}

TEST_F(ContentScansTest, AMissingFolderOrTheFailureTextFindsNothing) {
    const IniDocument none;
    EXPECT_TRUE(ScanContent(GameFolder(), kLevelScan, none).empty());
    EXPECT_TRUE(ScanContent(kRegistryFailureText, kMovieScan, none).empty());
    EXPECT_TRUE(ListExecutables(kRegistryFailureText).empty());
}

TEST_F(ContentScansTest, ExecutablesAreUpperCasedInListingOrder) {
    for (const char* name : {"zelta.exe", "Launcher2.EXE", "tool.dll", "ZELTA_D3D.exe"})
        game.Write(std::string("Bin/") + name, "x");
    EXPECT_EQ(ListExecutables(GameFolder()),
              (std::vector<std::string>{"LAUNCHER2.EXE", "ZELTA.EXE", "ZELTA_D3D.EXE"}));
    EXPECT_EQ(ListExecutables(game.Path()), ListExecutables(GameFolder()))
        << "\"\\bin\" brings its own separator";
}

TEST(ContentScans, BaseNamesLoseTheirLastFourCharacters) {
    EXPECT_EQ(FileBaseName("K1.clz"), "K1");
    EXPECT_EQ(FileBaseName("a.b.mpg"), "a.b");
    EXPECT_EQ(FileBaseName(".clz"), "");
    EXPECT_EQ(FileBaseName("ab"), "");
}

TEST(ContentScans, TheCompletionMessageHasTwoCarriageReturns) {
    EXPECT_EQ(ScanCompleteMessage(24, kLevelScan), "Scanning Complete!\r\r24 level files found");
    EXPECT_EQ(ScanCompleteMessage(3, kCutsceneScan),
              "Scanning Complete!\r\r3 cutscene files found");
    EXPECT_EQ(ScanCompleteMessage(0, kMovieScan), "Scanning Complete!\r\r0 FMV files found");
    EXPECT_EQ(ScanCompleteMessage(1000, kDemoScan),
              "Scanning Complete!\r\r1000 recorded demos found");
}

} // namespace

#include "lang/LanguageFile.h"
#include "launcher/ContentScans.h"
#include "launcher/GameCommandLine.h"
#include "launcher/Options.h"
#include "platform/IniFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A language file, settings name tables and a package's xpd.ini saved on Windows (8-bit,
// Windows-1252) read as the text they hold; UTF-8 files read as they are.
TEST(FilesMadeOnWindows, EveryReaderDecodesWindows1252AndKeepsUtf8) {
    TempFolder folder;
    folder.Write("Deutsch.lng", "[Layout]\r\nAuthor=J\xFCrgen M\xFCller\r\n"
                                "[General]\r\nTitle=\xDC"
                                "ber das Spiel\r\n");
    folder.Write("Utf8.lng", "[Layout]\r\nAuthor=J\xC3\xBCrgen\r\n");
    const LanguageFile german(folder / "Deutsch.lng");
    EXPECT_EQ(german.Layout().author, "J\xC3\xBCrgen M\xC3\xBCller");
    EXPECT_EQ(german.Text("General", "Title", ""), "\xC3\x9C"
                                                   "ber das Spiel");
    EXPECT_EQ(german.Text("General", "Missing", "Default"), "Default");
    EXPECT_EQ(LanguageFile(folder / "Utf8.lng").Layout().author, "J\xC3\xBCrgen");

    folder.Write("game/data/maps/K1.clz", "x");
    folder.Write("game/data/maps/K2.clz", "x");
    folder.Write("settings.ini", "[levels]\r\nK1=Stra\xDF"
                                 "e der K\xF6nige\r\n"
                                 "K2=Caf\xC3\xA9 Noir\r\n");
    const IniFile settings(folder / "settings.ini");
    EXPECT_EQ(ScanContent(folder / "game/", kLevelScan, settings.Snapshot()),
              (std::vector<std::string>{"Stra\xC3\x9F"
                                        "e der K\xC3\xB6nige",
                                        "Caf\xC3\xA9 Noir"}));
    EXPECT_EQ(LookupFileKey(folder / "settings.ini",
                            "Stra\xC3\x9F"
                            "e der K\xC3\xB6nige",
                            "levels"),
              "K1")
        << "the shown name leads back to its file";
    EXPECT_EQ(LookupFileKey(folder / "settings.ini", "Caf\xC3\xA9 Noir", "levels"), "K2");

    // Keys are decoded as values are: a name table saved on Windows names a file whose name is
    // UTF-8, and the other way round; the game is given the name found on disk.
    folder.Write("game/data/maps/K\xC3\xA4lte.clz", "x");
    folder.Write("game/data/maps/Gr\xFCn.clz", "x");
    folder.Write("table.ini", "[levels]\r\nK\xE4lte=Cold Valley\r\nGr\xC3\xBCn=Green Hill\r\n");
    const IniFile table(folder / "table.ini");
    const std::vector<std::string> shown =
        ScanContent(folder / "game/", kLevelScan, table.Snapshot());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Cold Valley"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Green Hill"), shown.end());
    EXPECT_EQ(LookupFileKey(folder / "table.ini", "Cold Valley", "levels"), "K\xC3\xA4lte");
    EXPECT_EQ(FileKeyOnDisk(folder / "game/", kLevelScan,
                            LookupFileKey(folder / "table.ini", "Green Hill", "levels")),
              "Gr\xFCn");
    EXPECT_EQ(FileKeyOnDisk(folder / "game/", kLevelScan, "k1"), "k1") << "found without case";

    folder.Write("xpd.ini", "[config]\r\nversion=ZELTA.EXE\r\nlang=Fran\xE7"
                            "ais\r\n");
    EXPECT_EQ(ReadStoredOptions(IniFile(folder / "xpd.ini"), false).lang, "Fran\xC3\xA7"
                                                                          "ais");
}

} // namespace

#include "lang/LanguageFile.h"
#include "support/TempFolder.h"

#include <set>

#include <gtest/gtest.h>

namespace {

TEST(LanguageFileTest, TextLookupsFollowTheProfileFileRules) {
    const std::string longValue(2100, 'w');
    const LanguageFile file =
        LanguageFile::FromText("[buttons]\r\n"
                               "exit=\r\n"
                               "RESCAN =  &Neu suchen  \r\n"
                               "About=\"  Über  \"\r\n"
                               "ReadMe='x'\r\n"
                               "Default=\"unpaired\r\n"
                               "Language\r\n"
                               "Okay=a=b\r\n"
                               "Cancel=first\r\n"
                               "Cancel=second\r\n"
                               "; StartGame=comment\r\n"
                               "[General]\n"
                               "Title=" +
                               longValue + "\n" + "[Buttons]\nBrowse=second section\n");
    struct Case {
        const char* section;
        const char* key;
        std::string expected;
    } cases[] = {
        {"Buttons", "Exit", ""},              // present but empty: no default
        {"Buttons", "Rescan", "&Neu suchen"}, // any case, blanks dropped
        {"Buttons", "About",
         "  \xC3\x9C"
         "ber  "},                                    // quotes keep blanks, bytes pass through
        {"Buttons", "ReadMe", "x"},                   // single quotes too
        {"Buttons", "Default", "\"unpaired"},         // one quote alone stays
        {"Buttons", "Language", "&Language"},         // a line without "=" is no key
        {"Buttons", "Okay", "a=b"},                   // split at the first "="
        {"Buttons", "Cancel", "first"},               // the first key wins
        {"Buttons", "StartGame", "&Start game"},      // comments are not keys
        {"Buttons", "Browse", "&Browse"},             // only the first section is searched
        {"General", "Title", std::string(2047, 'w')}, // at most 2047 characters
        {"General", "1", "ZELTA Destination Folder"}, // missing key
        {"Screen", "1", "Full Screen"},               // missing section
    };
    for (const Case& c : cases) {
        std::string def;
        for (const CatalogueText& entry : TextCatalogue())
            if (std::string(entry.section) == c.section && std::string(entry.key) == c.key)
                def = entry.defaultText;
        EXPECT_EQ(file.Text(c.section, c.key, def), c.expected) << c.section << "/" << c.key;
    }
}

TEST(LanguageFileTest, SizeIsDecimalOrHexadecimalAndAnythingElseIsTheDefault) {
    struct Case {
        const char* line;
        std::int32_t expected;
    } cases[] = {
        {"Size=12", 12},   {"Size=+12", 12},    {"Size=-3", -3},   {"Size=$0C", 12},
        {"Size=x0C", 12},  {"Size=X0c", 12},    {"Size=0x0A", 10}, {"Size=0X0a", 10},
        {"Size= 9 ", 9},   {"Size=\"11\"", 11}, {"Size=big", 8},   {"Size=12abc", 8},
        {"Size=", 8},      {"Size=1.5", 8},     {"Size=0x", 8},    {"Size=99999999999", 8},
        {"Font=Arial", 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageFile::FromText(std::string("[layout]\n") + c.line + "\n").Layout().size,
                  c.expected)
            << c.line;
}

TEST(LanguageFileTest, LayoutDefaultsAndValues) {
    LanguageLayout none = LanguageFile::FromText("[Buttons]\nExit=x\n").Layout();
    EXPECT_EQ(none.font, "Tahoma");
    EXPECT_EQ(none.size, 8);
    EXPECT_EQ(none.author, "Unknown");
    EXPECT_EQ(none.email, "");
    EXPECT_EQ(none.site, "");

    LanguageLayout all =
        LanguageFile::FromText("[LAYOUT]\nfont=DejaVu Serif\nSIZE=$A\nAuthor=\xC3\x89lodie\n"
                               "EMAIL=e@example.org\nsite=www.example.org\n")
            .Layout();
    EXPECT_EQ(all.font, "DejaVu Serif");
    EXPECT_EQ(all.size, 10);
    EXPECT_EQ(all.author, "\xC3\x89lodie");
    EXPECT_EQ(all.email, "e@example.org");
    EXPECT_EQ(all.site, "www.example.org");
}

TEST(LanguageFileTest, AByteOrderMarkDoesNotHideTheFirstSection) {
    EXPECT_EQ(LanguageFile::FromText("\xEF\xBB\xBF[Layout]\nSize=11\n").Layout().size, 11);
}

TEST(LanguageFileTest, TheCatalogueHasThirtyNineDistinctTexts) {
    std::set<std::pair<std::string, std::string>> keys;
    for (const CatalogueText& entry : TextCatalogue()) {
        EXPECT_NE(std::string(entry.section), "Layout");
        keys.insert({entry.section, entry.key});
    }
    EXPECT_EQ(keys.size(), 39u);
}

TEST(LanguageFileTest, CaptionsGetTheWindowsAdditionsAroundFileTextsAndDefaults) {
    const std::vector<std::string> defaults = LanguageFile::FromText("").Captions();
    ASSERT_EQ(defaults.size(), 39u);
    EXPECT_EQ(defaults[0], "&Rescan");
    EXPECT_EQ(defaults[3], "&Read &Me");
    EXPECT_EQ(defaults[11], " General Settings ");
    EXPECT_EQ(defaults[12], "ZELTA Destination Folder:");
    EXPECT_EQ(defaults[14], "Patch detected:");
    EXPECT_EQ(defaults[15], " Miscellaneous ");
    EXPECT_EQ(defaults[21], " Screen Mode ");
    EXPECT_EQ(defaults[26], " Play Level/ Cutscene/ FMV");
    EXPECT_EQ(defaults[31], " Record Your Demo");
    EXPECT_EQ(defaults[35], "Demo will be saved as");
    EXPECT_EQ(defaults[36], " Play Recorded Demo");
    EXPECT_EQ(defaults[38], "Browse for recorded demo to play (XPD file)");

    const std::vector<std::string> set =
        LanguageFile::FromText("[Levels]\nTitle=Spiel\n[Screen]\nTitle=Bildschirm\n"
                               "[General]\n2=Version\n3=\n")
            .Captions();
    EXPECT_EQ(set[26], " Spiel");
    EXPECT_EQ(set[21], " Bildschirm ");
    EXPECT_EQ(set[13], "Version:");
    EXPECT_EQ(set[14], ":") << "an empty text still gets its colon";
}

TEST(LanguageFileTest, FilesAreFoundBesideTheUtilityAndListedByName) {
    TempFolder folder;
    folder.Write("Francais.lng", "");
    folder.Write("Deutsch.lng", "[Layout]\nAuthor=Jana\n");
    folder.Write("notes.txt", "");
    folder.Write("Folder.lng/inside.lng", "");
    folder.Write("sub/Hidden.lng", "");
    EXPECT_EQ(ListLanguages(folder.Path()),
              (std::vector<std::string>{"Deutsch", "Folder", "Francais"}));
    EXPECT_EQ(LanguageFilePath(folder.Path(), "Deutsch"), folder.Path() + "\\Deutsch.lng");
    EXPECT_EQ(LanguageFile(LanguageFilePath(folder.Path(), "deutsch")).Layout().author, "Jana");
    EXPECT_EQ(LanguageFile(LanguageFilePath(folder.Path(), "Missing")).Layout().author, "Unknown");

    TempFolder empty;
    EXPECT_TRUE(ListLanguages(empty.Path()).empty());
}

} // namespace

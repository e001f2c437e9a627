#include "launcher/Options.h"
#include "platform/IniFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(StoredOptions, AFreshFileHoldsTheNineKeysInOrder) {
    TempFolder folder;
    IniFile ini(folder / "settings.ini");
    StoredOptions o;
    o.version = "ZELTA_D3D.EXE";
    o.godmode = true;
    o.fullscreen = true;
    o.lang = "Deutsch";
    WriteStoredOptions(ini, o, true);
    EXPECT_EQ(
        folder.Read("settings.ini"),
        "[config]\r\nversion=ZELTA_D3D.EXE\r\nsettings=0\r\nlevel=0\r\ngodmode=1\r\ndebugkeys=0\r\n"
        "nofmv=0\r\nwindowed=0\r\nfullscreen=1\r\nlang=Deutsch\r\n");
    StoredOptions back = ReadStoredOptions(ini, true);
    EXPECT_EQ(back.version, "ZELTA_D3D.EXE");
    EXPECT_TRUE(back.godmode);
    EXPECT_TRUE(back.fullscreen);
    EXPECT_FALSE(back.windowed);
    EXPECT_EQ(back.lang, "Deutsch");
}

TEST(StoredOptions, PackageOptionsLeaveTheVersionOut) {
    TempFolder folder;
    IniFile ini(folder / "xpd.ini");
    StoredOptions o;
    o.version = "SHOULD_NOT_APPEAR.EXE";
    WriteStoredOptions(ini, o, false);
    EXPECT_EQ(folder.Read("xpd.ini").find("version"), std::string::npos);
    folder.Write("xpd.ini", "[config]\nversion=OTHER.EXE\n");
    EXPECT_EQ(ReadStoredOptions(ini, false).version, "ZELTA.EXE") << "not read with the flag off";
}

TEST(StoredOptions, FlagsReadAsIntegersAndAnythingElseIsOff) {
    TempFolder folder;
    folder.Write("settings.ini", "[config]\nsettings=2\nlevel=0x1\ngodmode=yes\ndebugkeys=\nnofmv=$"
                                 "A\nwindowed=0x\nfullscreen=-1\n");
    StoredOptions o = ReadStoredOptions(IniFile(folder / "settings.ini"), true);
    EXPECT_TRUE(o.settings);
    EXPECT_TRUE(o.level);
    EXPECT_FALSE(o.godmode);
    EXPECT_FALSE(o.debugkeys);
    EXPECT_TRUE(o.nofmv);
    EXPECT_FALSE(o.windowed);
    EXPECT_TRUE(o.fullscreen);
    EXPECT_EQ(o.version, "ZELTA.EXE");
    EXPECT_EQ(o.lang, "English (Default)");
}

TEST(StoredOptions, AnEmptyVersionStaysEmpty) {
    TempFolder folder;
    folder.Write("settings.ini", "[config]\nversion=\nlang=\n");
    StoredOptions o = ReadStoredOptions(IniFile(folder / "settings.ini"), true);
    EXPECT_EQ(o.version, "");
    EXPECT_EQ(o.lang, "");
}

TEST(StoredOptions, ResetErasesOnlyTheConfigSection) {
    TempFolder folder;
    const std::string tables =
        "; hand-written names\r\n[levels]\r\nK1=The Keep\r\n[fmvs]\r\nintro=Intro\r\n";
    folder.Write("settings.ini", "[config]\r\nversion=X.EXE\r\nnofmv=1\r\n" + tables);
    IniFile ini(folder / "settings.ini");
    EraseStoredOptions(ini);
    EXPECT_EQ(folder.Read("settings.ini"), tables);
    StoredOptions o = ReadStoredOptions(ini, true);
    EXPECT_FALSE(o.nofmv);
    EXPECT_EQ(o.version, "ZELTA.EXE");
}

TEST(StoredOptions, SavingKeepsHandWrittenTablesAndComments) {
    TempFolder folder;
    const std::string before =
        "; names of my levels\n[levels]\nK1 = The Keep\n\n[config]\nlang=Deutsch\n";
    folder.Write("settings.ini", before);
    IniFile ini(folder / "settings.ini");
    WriteStoredOptions(ini, StoredOptions{}, true);
    EXPECT_EQ(folder.Read("settings.ini"),
              "; names of my levels\n[levels]\nK1 = The Keep\n\n[config]\nlang=English "
              "(Default)\nversion=ZELTA.EXE\n"
              "settings=0\nlevel=0\ngodmode=0\ndebugkeys=0\nnofmv=0\nwindowed=0\nfullscreen=0\n");
}

} // namespace

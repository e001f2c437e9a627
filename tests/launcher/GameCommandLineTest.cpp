#include "launcher/GameCommandLine.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Expected {
    const char* name;
    std::function<void(LaunchChoices&)> set;
    std::string arguments;               // when accepted
    std::optional<Refusal> refusal = {}; // when refused
};

// Name tables as the settings file of these cases holds them.
std::string Lookup(const std::string& shown, const std::string& section) {
    static const std::map<std::pair<std::string, std::string>, std::string> tables = {
        {{"The Keep", "levels"}, "K1"},
        {{"Dotted", "levels"}, "A.B"},
        {{"Finale", "cutscenes"}, "C2"},
    };
    auto it = tables.find({shown, section});
    return it == tables.end() ? shown : it->second;
}

LaunchChoices Base() {
    LaunchChoices c;
    c.gameFolder = "C:\\Games\\ZELTA\\";
    c.executable = "ZELTA.EXE";
    c.levelChosen = true;
    return c;
}

TEST(BuildGameArguments, AssemblesEveryFormAndRefusal) {
    const Expected cases[] = {
        {"nothing chosen", [](LaunchChoices&) {}, ""},
        {"full screen only", [](LaunchChoices& c) { c.fullScreen = true; }, " -fullscreen"},
        {"level, no movies, full screen",
         [](LaunchChoices& c) {
             c.levels = true;
             c.level = "The Keep";
             c.noFmv = true;
             c.fullScreen = true;
         },
         "-level=data\\maps\\K1 -nofmv -fullscreen"},
        {"cutscene with both dialogs",
         [](LaunchChoices& c) {
             c.levels = true;
             c.levelChosen = false;
             c.cutsceneChosen = true;
             c.cutscene = "Finale";
             c.settingsDialog = true;
             c.levelDialog = true;
         },
         "-level=data\\maps\\cutscene\\C2 -settings -selectlevel"},
        {"unlisted shown name is used as it is",
         [](LaunchChoices& c) {
             c.levels = true;
             c.level = "K9";
         },
         "-level=data\\maps\\K9"},
        {"level with a dot in its base name",
         [](LaunchChoices& c) {
             c.levels = true;
             c.level = "Dotted";
         },
         "-level=data\\maps\\A.B"},
        {"all switches in order",
         [](LaunchChoices& c) {
             c.settingsDialog = c.levelDialog = c.godMode = c.debugKeys = c.noFmv = c.fullScreen =
                 c.windowed = true;
         },
         " -settings -selectlevel -godmode -debugkeys -nofmv -fullscreen -windowed"},
        {"record PAD with debug keys twice",
         [](LaunchChoices& c) {
             c.recordDemo = true;
             c.recordLevel = "The Keep";
             c.recordFile = "K1.pad";
             c.debugKeys = true;
         },
         "-padrecord=bin\\K1.pad -level=data\\maps\\K1 -debugkeys -debugkeys"},
        {"record XPD ignores the package path",
         [](LaunchChoices& c) {
             c.recordDemo = true;
             c.recordLevel = "The Keep";
             c.recordAsPad = false;
             c.recordFile = "/home/ann/demo.xpd";
         },
         "-padrecord=bin\\K1.tmp -level=data\\maps\\K1 -debugkeys"},
        {"record a level whose base name has a dot",
         [](LaunchChoices& c) {
             c.recordDemo = true;
             c.recordLevel = "Dotted";
             c.recordAsPad = false;
             c.recordFile = "x.xpd";
         },
         "-padrecord=bin\\A.tmp -level=data\\maps\\A -debugkeys"},
        {"play PAD windowed",
         [](LaunchChoices& c) {
             c.playDemo = true;
             c.playPadFile = "K1.pad";
             c.windowed = true;
         },
         "-padplayback=bin\\K1.pad -level=data\\maps\\K1 -windowed"},
        {"mode with refresh rate",
         [](LaunchChoices& c) {
             c.fullScreen = true;
             c.changeResolution = true;
             c.resolutionIndex = 3;
             c.resolutionText = "1024 x 768, 32 bpp";
             c.hzEnabled = true;
             c.hzText = "85";
         },
         " -fullscreen -mode=1024x768x85 -multisample=0"},
        {"mode with the refresh list disabled",
         [](LaunchChoices& c) {
             c.windowed = true;
             c.changeResolution = true;
             c.resolutionIndex = 3;
             c.resolutionText = "1024 x 768, 32 bpp";
             c.hzText = "85";
         },
         " -windowed -mode=1024x768x60 -multisample=0"},
        {"inherit game settings gives no mode",
         [](LaunchChoices& c) {
             c.changeResolution = true;
             c.resolutionIndex = 0;
             c.resolutionText = "inherit game settings";
             c.hzEnabled = true;
         },
         ""},
        {"override off gives no mode",
         [](LaunchChoices& c) {
             c.resolutionIndex = 2;
             c.resolutionText = "800 x 600, 16 bpp";
         },
         ""},
        {"neither level nor cutscene",
         [](LaunchChoices& c) {
             c.levels = true;
             c.levelChosen = false;
         },
         "", Refusal{MessageKind::Information, "Please select level/cutscene to play"}},
        {"no level selected", [](LaunchChoices& c) { c.levels = true; }, "",
         Refusal{MessageKind::Information, "Please select level to play"}},
        {"no cutscene selected",
         [](LaunchChoices& c) {
             c.levels = true;
             c.levelChosen = false;
             c.cutsceneChosen = true;
         },
         "", Refusal{MessageKind::Information, "Please select cutscene to play"}},
        {"no level to record",
         [](LaunchChoices& c) {
             c.recordDemo = true;
             c.recordFile = "K1.pad";
         },
         "", Refusal{MessageKind::Information, "Please select level to record"}},
        {"no demo file name",
         [](LaunchChoices& c) {
             c.recordDemo = true;
             c.recordLevel = "The Keep";
         },
         "", Refusal{MessageKind::Information, "Please enter demo filename to save"}},
        {"no PAD demo selected", [](LaunchChoices& c) { c.playDemo = true; }, "",
         Refusal{MessageKind::Information, "Please select recorded demo to play"}},
        {"no package named",
         [](LaunchChoices& c) {
             c.playDemo = true;
             c.playPad = false;
         },
         "", Refusal{MessageKind::Information, "Please select demo filename to play"}},
        {"package missing",
         [](LaunchChoices& c) {
             c.playDemo = true;
             c.playPad = false;
             c.playPackage = "/nowhere/demo.xpd";
         },
         "",
         Refusal{MessageKind::Error,
                 "The following file could not be found:\r\r/nowhere/demo.xpd"}},
    };

    GameCommandServices services;
    services.lookupFileKey = Lookup;
    services.fileExists = [](const std::string& path) { return path == "/home/ann/demo.xpd"; };
    services.prepareXpdPlayback = [](const std::string&,
                                     LaunchChoices&) -> std::variant<std::string, Refusal> {
        ADD_FAILURE() << "no package is played in these cases";
        return Refusal{MessageKind::Error, "unexpected"};
    };

    for (const Expected& e : cases) {
        LaunchChoices choices = Base();
        e.set(choices);
        auto result = BuildGameArguments(choices, services);
        if (e.refusal) {
            const Refusal* refusal = std::get_if<Refusal>(&result);
            ASSERT_NE(refusal, nullptr) << e.name;
            EXPECT_EQ(refusal->text, e.refusal->text) << e.name;
            EXPECT_EQ(refusal->kind, e.refusal->kind) << e.name;
        } else {
            const GameCommand* command = std::get_if<GameCommand>(&result);
            ASSERT_NE(command, nullptr) << e.name;
            EXPECT_EQ(command->program, "C:\\Games\\ZELTA\\bin\\ZELTA.EXE") << e.name;
            EXPECT_EQ(command->arguments, e.arguments) << e.name;
        }
    }
}

TEST(BuildGameArguments, PackagePlaybackUsesTheDemoNameAndTheLoadedSwitches) {
    GameCommandServices services;
    services.lookupFileKey = Lookup;
    services.fileExists = [](const std::string&) { return true; };
    std::string unpacked;
    services.prepareXpdPlayback = [&](const std::string& path,
                                      LaunchChoices& c) -> std::variant<std::string, Refusal> {
        unpacked = path;
        c.fullScreen = false; // the package was recorded windowed with god mode
        c.windowed = true;
        c.godMode = true;
        return std::string("K3");
    };
    LaunchChoices c = Base();
    c.playDemo = true;
    c.playPad = false;
    c.playPackage = "/home/ann/demo.xpd";
    c.fullScreen = true;
    auto result = BuildGameArguments(c, services);
    ASSERT_TRUE(std::holds_alternative<GameCommand>(result));
    EXPECT_EQ(unpacked, "/home/ann/demo.xpd");
    EXPECT_EQ(std::get<GameCommand>(result).arguments,
              "-padplayback=bin\\K3.tmp -level=data\\maps\\K3 -godmode -windowed");

    services.prepareXpdPlayback = [](const std::string&,
                                     LaunchChoices&) -> std::variant<std::string, Refusal> {
        return Refusal{MessageKind::Error, "XPD file seems to be corrupted"};
    };
    result = BuildGameArguments(c, services);
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
    EXPECT_EQ(std::get<Refusal>(result).text, "XPD file seems to be corrupted");
}

TEST(BuildGameArguments, LaterGroupsReplaceEarlierForms) {
    GameCommandServices services;
    services.lookupFileKey = Lookup;
    LaunchChoices c = Base();
    c.levels = true;
    c.level = "The Keep";
    c.playDemo = true;
    c.playPadFile = "K7.pad";
    auto result = BuildGameArguments(c, services);
    EXPECT_EQ(std::get<GameCommand>(result).arguments,
              "-padplayback=bin\\K7.pad -level=data\\maps\\K7");
}

TEST(RemoveExtension, CutsOnlyAnExtensionOfTheLastComponent) {
    EXPECT_EQ(RemoveExtension("K1.pad"), "K1");
    EXPECT_EQ(RemoveExtension("A.B"), "A");
    EXPECT_EQ(RemoveExtension("a.b.c"), "a.b");
    EXPECT_EQ(RemoveExtension("K1"), "K1");
    EXPECT_EQ(RemoveExtension("dir.x\\K1"), "dir.x\\K1");
    EXPECT_EQ(RemoveExtension("C:name"), "C:name");
    EXPECT_EQ(RemoveExtension(".pad"), "");
}

TEST(GetModeArgument, KeepsDigitsAndLowercaseXUpToTheComma) {
    EXPECT_EQ(GetModeArgument("1024 x 768, 32 bpp", true, "85"), "1024x768x85");
    EXPECT_EQ(GetModeArgument("1024 x 768, 32 bpp", false, "85"), "1024x768x60");
    EXPECT_EQ(GetModeArgument("320 X 200, 8 bpp", true, "60"), "320200x60");
    EXPECT_EQ(GetModeArgument("no comma 12", true, "70"), "12x70");
}

TEST(LookupFileKey, FindsTheFirstKeyWhoseValueMatchesWithoutCase) {
    TempFolder folder;
    folder.Write("settings.ini", "[levels]\r\nK1=The Keep\r\nK2=the keep\r\nK3 = \"Quoted Name\" "
                                 "\r\n[cutscenes]\r\nC1=Intro\r\n");
    const std::string file = folder / "settings.ini";
    EXPECT_EQ(LookupFileKey(file, "THE KEEP", "levels"), "K1");
    EXPECT_EQ(LookupFileKey(file, "Quoted Name", "levels"), "K3");
    EXPECT_EQ(LookupFileKey(file, "Intro", "levels"), "Intro")
        << "only its own section is searched";
    EXPECT_EQ(LookupFileKey(file, "Intro", "cutscenes"), "C1");
    EXPECT_EQ(LookupFileKey(folder / "missing.ini", "Intro", "cutscenes"), "Intro");
}

} // namespace

#include "archive/uVexaZipComp.h"
#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "platform/IniFile.h"
#include "platform/QtAppWindow.h"
#include "support/FakeServices.h"
#include "support/ProgramWindows.h"
#include "support/TempFolder.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Plays the game's part when it is started (writes a recording, checks the window...).
class GameStarter : public FakeProgramStarter {
public:
    std::function<void(const Started&)> onStart;
    std::string Start(const std::string& program, const std::string& arguments,
                      const std::string& folder) override {
        std::string result = FakeProgramStarter::Start(program, arguments, folder);
        if (onStart && result.empty())
            onStart(started.back());
        return result;
    }
};

constexpr const char* kSettings = "[config]\r\nversion=ZELTA.EXE\r\nnofmv=1\r\nwindowed=1\r\n\r\n"
                                  "[levels]\r\nK1=The Harbour\r\nK3=Sunken Library\r\n";

// The main window over a utility folder and a game folder of the test's own, with every launch
// service faked: virtual time, scripted windows and dialogs, and a log of what was asked.
class DemoLaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        utility.Write("settings.ini", kSettings);
        fs::create_directories(gameFolder.Path() + "/bin");
        game = gameFolder.Path() + "/";
        services.messages = &messages;
        services.starter = &starter;
        services.pauses = &pauses;
        services.windows = &windows;
        services.appWindow = windowService ? windowService : &appWindow;
        services.fileDialogs = &dialogs;
        services.fileTypes = &fileTypes;
        services.registry = &registry;
        registry.values["InstalledPath"] = game;
        starter.onStart = [this](const FakeProgramStarter::Started& s) {
            log.Add("start " + s.arguments);
            EXPECT_FALSE(main->btnPlay->isEnabled());
            EXPECT_FALSE(main->btnExit->isEnabled());
            EXPECT_FALSE(main->btnAbout->isEnabled());
        };
        main = std::make_unique<TfrmMain>(services, utility.Path());
        frmMain = main.get();
        browse = std::make_unique<TfrmBrowse>(main.get());
        frmBrowse = browse.get();
        about = std::make_unique<TfrmAbout>(main.get());
        frmAbout = about.get();
        language = std::make_unique<TfrmLanguage>(utility.Path(), &starter, main.get());
        frmLanguage = language.get();

        main->stxDestFolder->setText(QString::fromStdString(game));
        main->cbEXE->addItem(QStringLiteral("ZELTA.EXE"));
        main->cbEXE->setCurrentIndex(0);
        for (const char* level : {"The Harbour", "Sunken Library", "K2"}) {
            main->cbLevel->addItem(QLatin1String(level));
            main->cbRecord->addItem(QLatin1String(level));
        }
        main->cbLevel->setCurrentIndex(0);
        main->cbRecord->setCurrentIndex(0);
        main->cbPlay->addItem(QStringLiteral("K2.pad"));
        main->cbPlay->setCurrentIndex(0);
    }
    void TearDown() override { DestroyProgramWindows(main, browse, about, language); }

    // A package as the utility writes it: K.tmp and xpd.ini.
    std::string MakePackage(const std::string& name, const std::string& key,
                            const std::string& options) {
        TempFolder work;
        work.Write(key + ".tmp", "recorded input of " + key);
        work.Write("xpd.ini", options);
        const std::string package = utility / name;
        TVexaZipComponent().gZapakujFajl(work / (key + ".tmp"), package);
        TVexaZipComponent().gZapakujFajl(work / "xpd.ini", package);
        return package;
    }
    std::vector<std::string> BinFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(gameFolder.Path() + "/bin"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> lines;
        for (const std::string& line : log.lines)
            if (line.rfind(prefix, 0) == 0)
                lines.push_back(line);
        return lines;
    }
    bool Logged(const std::string& line) const {
        return std::find(log.lines.begin(), log.lines.end(), line) != log.lines.end();
    }
    void GameRunsFor(long ms) { windows.windows = {{"ZELTA", 0, ms}}; }

    TempFolder utility;
    TempFolder gameFolder;
    std::string game;
    ServiceLog log;
    FakeMessageBoxes messages;
    GameStarter starter;
    FakePauses pauses{&log};
    FakeWindowFinder windows{pauses, &log};
    FakeAppWindow appWindow{&log};
    AppWindow* windowService = nullptr; // replaces the fake when set before SetUp
    FakeFileDialogs dialogs;
    FakeFileTypeRegistrar fileTypes;
    FakeGameRegistry registry;
    MainServices services;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmBrowse> browse;
    std::unique_ptr<TfrmAbout> about;
    std::unique_ptr<TfrmLanguage> language;
};

TEST_F(DemoLaunchTest, DemoGroupsFollowTheEnableTable) {
    struct Case {
        bool record, recordXpd, play, playXpd;
    } cases[] = {{false, false, false, false}, {true, false, false, false},
                 {true, true, false, false},   {false, false, true, false},
                 {false, false, true, true},   {false, true, false, true}};
    for (const Case& c : cases) {
        main->cbxRecordDemo->setChecked(c.record);
        main->cbxPlayDemo->setChecked(c.play);
        TfrmMain::SetRadioChecked(c.recordXpd ? main->rbXPD : main->rbPAD, true);
        TfrmMain::SetRadioChecked(c.playXpd ? main->rbPlayXPD : main->rbPlayPAD, true);
        const bool R = c.record, P = c.play;
        const std::string at = "R=" + std::to_string(R) + " XPD=" + std::to_string(c.recordXpd) +
                               " P=" + std::to_string(P) + " playXPD=" + std::to_string(c.playXpd);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 main->lblRecord, main->cbRecord, main->btnRecordScan, main->rbPAD, main->rbXPD})
            EXPECT_EQ(w->isEnabled(), R) << w->objectName().toStdString() << " " << at;
        for (QWidget* w : std::initializer_list<QWidget*>{main->lblRecordFileName,
                                                          main->edtRecordDemo, main->btnBrowseDemo})
            EXPECT_EQ(w->isEnabled(), R && c.recordXpd)
                << w->objectName().toStdString() << " " << at;
        for (QWidget* w : std::initializer_list<QWidget*>{main->rbPlayPAD, main->rbPlayXPD})
            EXPECT_EQ(w->isEnabled(), P) << w->objectName().toStdString() << " " << at;
        for (QWidget* w : std::initializer_list<QWidget*>{main->cbPlay, main->btnPlayRescan})
            EXPECT_EQ(w->isEnabled(), P && !c.playXpd)
                << w->objectName().toStdString() << " " << at;
        for (QWidget* w : std::initializer_list<QWidget*>{main->edtPlayDemo, main->btnBrowsePlay})
            EXPECT_EQ(w->isEnabled(), P && c.playXpd) << w->objectName().toStdString() << " " << at;
    }
}

TEST_F(DemoLaunchTest, TheThreeGroupsExcludeEachOther) {
    main->cbxLevels->setChecked(true);
    main->cbxRecordDemo->setChecked(true);
    EXPECT_FALSE(main->cbxLevels->isChecked());
    main->cbxPlayDemo->setChecked(true);
    EXPECT_FALSE(main->cbxRecordDemo->isChecked());
    EXPECT_FALSE(main->cbRecord->isEnabled());
    main->cbxRecordDemo->setChecked(true);
    EXPECT_FALSE(main->cbxPlayDemo->isChecked());
    EXPECT_FALSE(main->cbPlay->isEnabled());
}

TEST_F(DemoLaunchTest, RecordingAsPadShowsTheFixedNameAndXpdAsksForAPath) {
    main->cbxRecordDemo->setChecked(true);
    EXPECT_EQ(main->edtRecordDemo->text(), QStringLiteral("K1.pad")); // "The Harbour" is K1
    main->cbRecord->setCurrentIndex(1);
    emit main->cbRecord->activated(1);
    EXPECT_EQ(main->edtRecordDemo->text(), QStringLiteral("K3.pad"));
    main->cbRecord->setCurrentIndex(2); // by program: the field keeps the name
    EXPECT_EQ(main->edtRecordDemo->text(), QStringLiteral("K3.pad"));
    TfrmMain::SetRadioChecked(main->rbXPD, true);
    EXPECT_EQ(main->edtRecordDemo->text(), QString());
    emit main->cbRecord->activated(2); // changes nothing in XPD mode
    EXPECT_EQ(main->edtRecordDemo->text(), QString());
    TfrmMain::SetRadioChecked(main->rbPAD, true);
    EXPECT_EQ(main->edtRecordDemo->text(), QStringLiteral("K2.pad"));
    main->cbRecord->clear();
    TfrmMain::SetRadioChecked(main->rbXPD, true);
    TfrmMain::SetRadioChecked(main->rbPAD, true);
    EXPECT_EQ(main->edtRecordDemo->text(), QStringLiteral(".pad"));
}

TEST_F(DemoLaunchTest, FileDialogsOpenInTheUtilityFolderForPackages) {
    dialogs.answers = {std::string("/home/ann/run.xpd"), std::nullopt,
                       std::string("/home/ann/old.xpd")};
    main->btnBrowseDemoClick();
    main->btnBrowseDemoClick(); // cancelled: the path stays
    main->btnBrowsePlayClick();
    EXPECT_EQ(main->edtRecordDemo->text(), QStringLiteral("/home/ann/run.xpd"));
    EXPECT_EQ(main->edtPlayDemo->text(), QStringLiteral("/home/ann/old.xpd"));
    ASSERT_EQ(dialogs.asked.size(), 3u);
    EXPECT_EQ(dialogs.asked[0].kind, "save");
    EXPECT_EQ(dialogs.asked[0].request.title, "Select output demo file");
    EXPECT_EQ(dialogs.asked[2].kind, "open");
    EXPECT_EQ(dialogs.asked[2].request.title, "Open recorded demo file");
    for (const auto& asked : dialogs.asked) {
        EXPECT_EQ(asked.request.initialFolder, utility.Path());
        EXPECT_EQ(asked.request.filter, "Extended PAD files (*.xpd)|*.xpd");
        EXPECT_EQ(asked.request.defaultExtension, "xpd");
    }
}

TEST_F(DemoLaunchTest, ALevelStartWaitsForTheGameAndGivesTheWindowBack) {
    main->cbxLevels->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbLevel, true);
    main->cbxSettingsDialog->setChecked(true);
    windows.windows = {{"Settings", 0, 5500}, {"ZELTA", 0, 14000}};
    main->btnPlay->click();
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].program, game + "bin\\ZELTA.EXE");
    EXPECT_EQ(starter.started[0].arguments, "-level=data\\maps\\K1 -settings");
    EXPECT_EQ(starter.started[0].folder, game);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{
                  "start -level=data\\maps\\K1 -settings", "minimise", "pause 5000",
                  "find Settings @5000 yes", "events", "pause 1000", "find Settings @6000 no",
                  "pause 5000", "find ZELTA @11000 yes", "events", "pause 1000",
                  "find ZELTA @12000 yes", "events", "pause 1000", "find ZELTA @13000 yes",
                  "events", "pause 1000", "find ZELTA @14000 no", "restore"}));
    EXPECT_EQ(fs::current_path().string() + "/", game);
    for (QPushButton* b : {main->btnPlay, main->btnExit, main->btnAbout})
        EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DemoLaunchTest, AGameThatCannotStartIsReportedWithoutWaiting) {
    starter.failure = "The program file does not exist.";
    main->btnPlay->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "error");
    EXPECT_EQ(messages.shown[0].text, "The following program could not be started:\r\r" + game +
                                          "bin\\ZELTA.EXE\r\rThe program file does not exist.");
    EXPECT_TRUE(log.lines.empty()); // not minimised, no pause, no restore
    EXPECT_TRUE(main->btnPlay->isEnabled());
}

// A game whose program failed before any of its windows appeared is reported with the end of
// its output and the log's path; one that ran, or showed a window first, is not.
TEST_F(DemoLaunchTest, AGameThatFailsBeforeAnyWindowIsReportedWithItsLog) {
    utility.Write("game.log", "Command: 'wine'\nOutput:\nline 1\nline 2\nerr: no such DLL\n");
    starter.log = utility.Path() + "/game.log";
    struct Case {
        std::optional<int> status;
        bool window;
        std::string shown; // empty: no box
    } cases[] = {
        {1 << 8, false,
         "The game ended with exit status 1 before any of its windows appeared.\r\rThe last "
         "lines of its output:\r\rline 1\nline 2\nerr: no such DLL\r\rAll of its output is "
         "in:\r" +
             starter.log},
        {SIGSEGV, false, "by signal 11"},
        {1 << 8, true, ""},
        {0, false, ""},
        {std::nullopt, false, ""}, // still running, or its end tells nothing
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        starter.status = c.status;
        windows.windows.clear();
        if (c.window)
            windows.windows = {{"ZELTA", pauses.now, pauses.now + 5500}};
        main->btnPlay->click();
        if (c.shown.empty()) {
            EXPECT_TRUE(messages.shown.empty()) << c.status.value_or(-1);
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, "error");
        EXPECT_NE(messages.shown[0].text.find(c.shown), std::string::npos)
            << messages.shown[0].text;
        EXPECT_TRUE(main->btnPlay->isEnabled());
    }
}

TEST_F(DemoLaunchTest, ARefusedLaunchLeavesTheWindowAsItWas) {
    main->cbxLevels->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbLevel, true);
    main->cbLevel->setCurrentIndex(-1);
    main->btnPlay->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Please select level to play");
    EXPECT_TRUE(starter.started.empty());
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(main->btnPlay->isEnabled());
}

TEST_F(DemoLaunchTest, AMissingMovieIsReportedAndNothingStarts) {
    main->cbxLevels->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbFMV, true);
    main->btnPlay->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "The following file could not be found:\r\r" + game + "data\\fmv\\.mpg");
    EXPECT_TRUE(starter.started.empty());
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DemoLaunchTest, PlayingAPackageUsesItsOptionsAndCleansUpAfterTheGame) {
    const std::string package = MakePackage(
        "run.xpd", "K3", "[config]\r\ngodmode=1\r\nnofmv=0\r\nfullscreen=1\r\nwindowed=0\r\n");
    main->cbxPlayDemo->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbPlayXPD, true);
    main->edtPlayDemo->setText(QString::fromStdString(package));
    GameRunsFor(7000);
    std::vector<std::string> binDuringGame;
    pauses.onPause = [&] {
        if (binDuringGame.empty())
            binDuringGame = BinFiles();
    };
    main->btnPlay->click();
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].arguments,
              "-padplayback=bin\\K3.tmp -level=data\\maps\\K3 -godmode -fullscreen");
    EXPECT_EQ(binDuringGame, (std::vector<std::string>{"K3.tmp", "xpd.ini"}));
    EXPECT_TRUE(BinFiles().empty());
    // The options saved in settings.ini are back.
    EXPECT_FALSE(main->cbxGodMode->isChecked());
    EXPECT_TRUE(main->cbxNoFMV->isChecked());
    EXPECT_TRUE(main->cbWindowed->isChecked());
    EXPECT_EQ(utility.Read("settings.ini"), kSettings);
}

TEST_F(DemoLaunchTest, APackageWithoutDemoIsRefusedAsCorrupted) {
    TempFolder work;
    work.Write("xpd.ini", "[config]\r\n");
    TVexaZipComponent().gZapakujFajl(work / "xpd.ini", utility / "nodemo.xpd");
    main->cbxPlayDemo->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbPlayXPD, true);
    main->edtPlayDemo->setText(QString::fromStdString(utility / "nodemo.xpd"));
    main->btnPlay->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "error");
    EXPECT_EQ(messages.shown[0].text, "XPD file seems to be corrupted");
    EXPECT_TRUE(starter.started.empty());
    EXPECT_EQ(BinFiles(), (std::vector<std::string>{"xpd.ini"}));
}

TEST_F(DemoLaunchTest, RecordingIntoAPackageKeepsWhatTheGameWasStartedWith) {
    // An earlier package under the chosen name is replaced, not added to.
    MakePackage("mine.xpd", "OLD", "[config]\r\n");
    main->cbxRecordDemo->setChecked(true);
    main->cbxGodMode->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbXPD, true);
    main->edtRecordDemo->setText(QString::fromStdString(utility / "mine.xpd"));
    starter.onStart = [this](const FakeProgramStarter::Started& s) {
        log.Add("start " + s.arguments);
        gameFolder.Write("bin/K1.tmp", "input");
    };
    GameRunsFor(6000);
    // While the game runs the user picks another level and other options.
    pauses.onPause = [this] {
        main->cbRecord->setCurrentIndex(1);
        main->cbxGodMode->setChecked(false);
        main->cbxDebugKeys->setChecked(true);
    };
    main->btnPlay->click();
    EXPECT_EQ(starter.started.at(0).arguments,
              "-padrecord=bin\\K1.tmp -level=data\\maps\\K1 -debugkeys -godmode");
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.at(0).text;
    EXPECT_TRUE(BinFiles().empty());

    TempFolder unpacked;
    TVexaZipComponent zip;
    zip.SetZipFilename(utility / "mine.xpd");
    ASSERT_EQ(zip.ZipContents().size(), 2u);
    EXPECT_EQ(zip.ZipContents()[0].fileName, "K1.tmp");
    EXPECT_EQ(zip.ZipContents()[1].fileName, "xpd.ini");
    TVexaZipComponent().gRaspakujFajl(utility / "mine.xpd", unpacked.Path() + "\\");
    EXPECT_EQ(unpacked.Read("K1.tmp"), "input");
    IniFile options(unpacked / "xpd.ini");
    EXPECT_EQ(options.ReadString("config", "godmode", "?"), "1");
    EXPECT_EQ(options.ReadString("config", "debugkeys", "?"), "0");
    EXPECT_EQ(options.ReadString("config", "version", "none"), "none");
    EXPECT_TRUE(Logged("restore"));
}

TEST_F(DemoLaunchTest, NoPackageIsMadeWhenTheGameRecordedNothing) {
    main->cbxRecordDemo->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbXPD, true);
    main->edtRecordDemo->setText(QString::fromStdString(utility / "mine.xpd"));
    GameRunsFor(6000);
    main->btnPlay->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "The recorded demo could not be found, so no XPD file was made:\r\r" + game +
                  "bin\\K1.tmp");
    EXPECT_FALSE(utility.Exists("mine.xpd"));
    EXPECT_TRUE(BinFiles().empty());
    EXPECT_TRUE(main->btnPlay->isEnabled());
}

TEST_F(DemoLaunchTest, APackageThatCannotBeWrittenIsReportedAndTheRecordingKept) {
    main->cbxRecordDemo->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbXPD, true);
    const std::string package = utility / "no such folder/mine.xpd";
    main->edtRecordDemo->setText(QString::fromStdString(package));
    starter.onStart = [this](const FakeProgramStarter::Started&) {
        gameFolder.Write("bin/K1.tmp", "input");
    };
    GameRunsFor(6000);
    main->btnPlay->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "application");
    EXPECT_EQ(messages.shown[0].text, "Unable to write to " + package);
    // The recording stays for another try; the window is given back.
    EXPECT_EQ(BinFiles(), (std::vector<std::string>{"K1.tmp", "xpd.ini"}));
    EXPECT_TRUE(Logged("restore"));
    EXPECT_TRUE(main->btnPlay->isEnabled());
}

TEST_F(DemoLaunchTest, APackageNamedOnTheCommandLinePlaysUnseenAndEndsTheProgram) {
    const std::string package = MakePackage("shell.xpd", "K3", "[config]\r\nnofmv=1\r\n");
    main->SetCommandLineArgument(package, utility.Path());
    QSignalSpy ended(main.get(), &TfrmMain::endRequested);
    GameRunsFor(6000);
    main->FormShow();
    EXPECT_TRUE(main->cbxPlayDemo->isChecked());
    EXPECT_TRUE(main->rbPlayXPD->isChecked());
    EXPECT_EQ(starter.started.at(0).arguments,
              "-padplayback=bin\\K3.tmp -level=data\\maps\\K3 -nofmv");
    EXPECT_EQ(log.lines.front(), "hide");
    EXPECT_FALSE(Logged("minimise"));
    EXPECT_FALSE(Logged("restore"));
    EXPECT_GE(ended.count(), 1);
    EXPECT_TRUE(BinFiles().empty());
    EXPECT_EQ(utility.Read("settings.ini"), kSettings);
}

TEST_F(DemoLaunchTest, ANonArchiveOnTheCommandLineIsReportedAndTheProgramEnds) {
    utility.Write("notes.txt", "not an archive");
    main->SetCommandLineArgument(utility / "notes.txt", utility.Path());
    QSignalSpy ended(main.get(), &TfrmMain::endRequested);
    main->FormShow();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "application");
    EXPECT_EQ(messages.shown[0].text, "No valid zip entries found");
    EXPECT_TRUE(starter.started.empty());
    EXPECT_GE(ended.count(), 1);
}

TEST_F(DemoLaunchTest, AnArgumentNamingNoFileOpensTheWindowNormally) {
    main->SetCommandLineArgument(utility / "missing.xpd", utility.Path());
    QSignalSpy ended(main.get(), &TfrmMain::endRequested);
    main->FormShow();
    EXPECT_EQ(ended.count(), 0);
    EXPECT_FALSE(main->cbxPlayDemo->isChecked());
    EXPECT_TRUE(starter.started.empty());
}

TEST_F(DemoLaunchTest, ThePackageRoadIsDecidedOnceAtStart) {
    main->SetCommandLineArgument(utility / "later.xpd", utility.Path());
    QSignalSpy ended(main.get(), &TfrmMain::endRequested);
    main->FormShow();
    MakePackage("later.xpd", "K3", "[config]\r\n"); // the file appears after the start
    GameRunsFor(6000);
    main->btnPlay->click();
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_FALSE(Logged("hide"));
    EXPECT_TRUE(Logged("minimise"));
    EXPECT_TRUE(Logged("restore"));
    EXPECT_EQ(ended.count(), 0);
}

TEST_F(DemoLaunchTest, ARelativePackagePathIsTakenFromTheStartFolder) {
    MakePackage("mine.xpd", "K3", "[config]\r\n");
    main->SetCommandLineArgument("mine.xpd", utility.Path());
    GameRunsFor(6000);
    main->FormShow(); // the launch makes the game folder current before it unpacks
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.at(0).text;
    EXPECT_EQ(main->edtPlayDemo->text().toStdString(), utility / "mine.xpd");
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].arguments, "-padplayback=bin\\K3.tmp -level=data\\maps\\K3");
}

TEST_F(DemoLaunchTest, AnErrorInTheShowSequenceStopsThePackageRoadAndShowsTheWindow) {
    const std::string package = MakePackage("shell.xpd", "K3", "[config]\r\n");
    registry.wrongType = {"InstalledPath"};
    main->SetCommandLineArgument(package, utility.Path());
    ASSERT_TRUE(main->StartedWithPackage());
    QSignalSpy ended(main.get(), &TfrmMain::endRequested);
    main->FormShow();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Invalid data type for 'InstalledPath'");
    EXPECT_TRUE(starter.started.empty());
    EXPECT_TRUE(BinFiles().empty()) << "nothing was unpacked";
    EXPECT_FALSE(main->cbxPlayDemo->isChecked());
    EXPECT_TRUE(main->isVisible()) << "the window waits for the user";
    EXPECT_FALSE(main->StartedWithPackage());
    EXPECT_EQ(ended.count(), 0);
}

// The refresh rate of " -mode=" follows the screen-mode buttons the package's options set.
TEST_F(DemoLaunchTest, TheModeArgumentIsReadAfterThePackagesOptionsAreLoaded) {
    main->cbResolution->addItem(QStringLiteral("inherit game settings"));
    main->cbResolution->addItem(QStringLiteral("1024 x 768, 32 bpp"));
    struct Case {
        bool windowBeforeIsWindowed;
        const char* packageOptions;
        const char* expected;
    } cases[] = {
        {false, "[config]\r\nwindowed=1\r\n",
         "-padplayback=bin\\K3.tmp -level=data\\maps\\K3 -windowed -mode=1024x768x60 "
         "-multisample=0"},
        {true, "[config]\r\nfullscreen=1\r\n",
         "-padplayback=bin\\K3.tmp -level=data\\maps\\K3 -fullscreen -mode=1024x768x85 "
         "-multisample=0"},
    };
    for (const Case& c : cases) {
        starter.started.clear();
        TfrmMain::SetRadioChecked(main->cbFullScreen, true);
        main->cbResolution->setCurrentIndex(1);
        main->cbxChangeResolution->setChecked(false);
        main->cbxChangeResolution->setChecked(true);
        main->cbHz->setCurrentIndex(main->cbHz->findText(QStringLiteral("85")));
        if (c.windowBeforeIsWindowed)
            TfrmMain::SetRadioChecked(main->cbWindowed, true);
        ASSERT_EQ(main->cbHz->isEnabled(), !c.windowBeforeIsWindowed);
        main->cbxPlayDemo->setChecked(true);
        TfrmMain::SetRadioChecked(main->rbPlayXPD, true);
        main->edtPlayDemo->setText(
            QString::fromStdString(MakePackage("run.xpd", "K3", c.packageOptions)));
        GameRunsFor(6000);
        main->btnPlay->click();
        ASSERT_EQ(starter.started.size(), 1u) << c.packageOptions;
        EXPECT_EQ(starter.started[0].arguments, c.expected);
    }
}

// Damaged packages: the library's refusal raises nothing, a damaged entry is never written, and
// the launch goes on to the check for a demo.
TEST_F(DemoLaunchTest, ADamagedPackageIsRefusedAsCorrupted) {
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        std::vector<std::string> binAfter;
    } cases[] = {
        {"one flipped byte of the demo's data",
         [](std::string& bytes) {
             const size_t nameLength = uint8_t(bytes[26]) | uint8_t(bytes[27]) << 8;
             const size_t extraLength = uint8_t(bytes[28]) | uint8_t(bytes[29]) << 8;
             bytes[30 + nameLength + extraLength] ^= 0x10;
         },
         {"xpd.ini"}},
        {"a damaged central directory",
         [](std::string& bytes) {
             const size_t end = bytes.rfind(std::string("PK\5\6", 4));
             bytes[end + 16] ^= 0x01; // offset of the central directory
         },
         {}},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        const std::string package = MakePackage("bad.xpd", "K3", "[config]\r\ngodmode=1\r\n");
        std::string bytes = utility.Read("bad.xpd");
        c.damage(bytes);
        utility.Write("bad.xpd", bytes);
        main->cbxPlayDemo->setChecked(true);
        TfrmMain::SetRadioChecked(main->rbPlayXPD, true);
        main->edtPlayDemo->setText(QString::fromStdString(package));
        main->btnPlay->click();
        ASSERT_EQ(messages.shown.size(), 1u) << c.what;
        EXPECT_EQ(messages.shown[0].kind, "error") << c.what;
        EXPECT_EQ(messages.shown[0].text, "XPD file seems to be corrupted") << c.what;
        EXPECT_TRUE(starter.started.empty()) << c.what;
        EXPECT_EQ(BinFiles(), c.binAfter) << c.what;
        for (const std::string& name : BinFiles())
            fs::remove(gameFolder.Path() + "/bin/" + name);
    }
}

// Names left over from earlier work reach the game's arguments as they stand.
TEST_F(DemoLaunchTest, StaleNamesReachTheArgumentString) {
    // A stale temporary file that sorts before the package's demo is taken as the demo, and the
    // package's own demo stays behind.
    gameFolder.Write("bin/A1.tmp", "stale");
    main->cbxPlayDemo->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbPlayXPD, true);
    main->edtPlayDemo->setText(
        QString::fromStdString(MakePackage("run.xpd", "K3", "[config]\r\n")));
    GameRunsFor(6000);
    main->btnPlay->click();
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].arguments, "-padplayback=bin\\A1.tmp -level=data\\maps\\A1");
    EXPECT_EQ(BinFiles(), std::vector<std::string>{"K3.tmp"});

    // After a level rescan the PAD field keeps the previous level's name (the playback brought
    // back the options of settings.ini: no movies, windowed).
    gameFolder.Write("data/maps/K1.clz", "level");
    gameFolder.Write("data/maps/K3.clz", "level");
    main->cbxRecordDemo->setChecked(true);
    main->cbRecord->setCurrentIndex(1);
    emit main->cbRecord->activated(1);
    ASSERT_EQ(main->edtRecordDemo->text(), QStringLiteral("K3.pad"));
    main->btnRecordScan->click();
    ASSERT_EQ(main->cbRecord->currentText(), QStringLiteral("The Harbour"));
    main->btnPlay->click();
    ASSERT_EQ(starter.started.size(), 2u);
    EXPECT_EQ(starter.started[1].arguments,
              "-padrecord=bin\\K3.pad -level=data\\maps\\K1 -debugkeys -nofmv -windowed");
}

// File names are bytes, often not UTF-8 (unzip leaves Windows names in Windows-1252): each one
// shown comes back exactly as it was read, whether it names a level, an executable, a language
// or a package opened from the desktop.
TEST_F(DemoLaunchTest, FileNamesThatAreNotUtf8ComeBackAsTheyWereRead) {
    gameFolder.Write("bin/\xC9"
                     "DIT.EXE",
                     "not a program");
    gameFolder.Write("data/maps/K\xE4"
                     "lte.clz",
                     "level");
    utility.Write("Fran\xE7"
                  "ais.lng",
                  "[Buttons]\r\nExit=&Quitter\r\n");
    main->FormShow();
    ASSERT_EQ(main->cbEXE->count(), 1);
    main->cbEXE->setCurrentIndex(0);
    ASSERT_EQ(main->cbLevel->count(), 1);
    main->cbxLevels->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbLevel, true);
    GameRunsFor(6000);
    main->btnPlay->click();
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].program, game + "bin\\\xC9"
                                                 "DIT.EXE");
    EXPECT_EQ(starter.started[0].arguments, "-level=data\\maps\\K\xE4"
                                            "lte -nofmv -windowed");

    language->show(); // lists the language files
    const int french = language->cbxLanguage->count() - 1;
    ASSERT_GE(french, 0);
    language->cbxLanguage->setCurrentIndex(french);
    language->btnOK->click();
    main->ApplyLanguage(language->Language);
    EXPECT_EQ(main->btnExit->text(), QStringLiteral("&Quitter"));
    main->SaveOptions(utility / "settings.ini", true);
    const std::string saved = utility.Read("settings.ini");
    EXPECT_NE(saved.find("lang=Fran\xE7"
                         "ais\r\n"),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.find("version=\xC9"
                         "DIT.EXE\r\n"),
              std::string::npos)
        << saved;

    const std::string package = MakePackage("d\xE9"
                                            "mo.xpd",
                                            "K3", "[config]\r\n");
    main->SetCommandLineArgument(package, utility.Path());
    main->FormShow();
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.at(0).text;
    ASSERT_EQ(starter.started.size(), 2u);
    EXPECT_EQ(starter.started[1].arguments, "-padplayback=bin\\K3.tmp -level=data\\maps\\K3");
}

TEST_F(DemoLaunchTest, TheFileTypeIsRegisteredAtCreationAndAFailureIsShown) {
    EXPECT_EQ(fileTypes.calls, 1);
    fileTypes.failure = "Failed to set data for '/x/zeltasc.desktop'";
    TfrmMain second(services, utility.Path());
    EXPECT_EQ(fileTypes.calls, 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "application");
    EXPECT_EQ(messages.shown[0].text, "Failed to set data for '/x/zeltasc.desktop'");
}

// The launch with the production window service: minimised while the game runs, restored after.
class WindowServiceLaunchTest : public DemoLaunchTest {
protected:
    void SetUp() override {
        windowService = &window;
        DemoLaunchTest::SetUp();
        window.SetWindow(main.get());
    }
    std::string AccessibleName() const {
        return QAccessible::queryAccessibleInterface(main.get())
            ->text(QAccessible::Name)
            .toStdString();
    }
    QtAppWindow window;
};

// A screen reader names the window by its caption before, during and after a game, and on the
// package road, where the window is moved off the desktop.
TEST_F(WindowServiceLaunchTest, TheWindowKeepsItsCaptionAsItsAccessibleName) {
    main->show();
    const std::string caption = main->windowTitle().toStdString();
    ASSERT_FALSE(caption.empty());
    EXPECT_EQ(AccessibleName(), caption);
    GameRunsFor(3000);
    std::vector<std::string> duringGame;
    pauses.onPause = [&] {
        duringGame.push_back(AccessibleName());
        EXPECT_TRUE(main->isMinimized());
    };
    main->btnPlay->click();
    ASSERT_EQ(starter.started.size(), 1u);
    ASSERT_FALSE(duringGame.empty());
    for (const std::string& name : duringGame)
        EXPECT_EQ(name, caption);
    QApplication::processEvents();
    EXPECT_FALSE(main->isMinimized());
    EXPECT_EQ(AccessibleName(), caption);

    window.HideFromDesktop();
    QApplication::processEvents();
    EXPECT_EQ(AccessibleName(), caption);
    main->setWindowTitle(QStringLiteral("Another caption"));
    EXPECT_EQ(AccessibleName(), "Another caption");
    main->hide();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The launch sequence with the production services under Xvfb, against the stand-in game.
#include "e2e/LoggedLaunch.h"

#include "archive/uVexaZipComp.h"
#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "platform/DesktopProgramStarter.h"
#include "platform/IniFile.h"
#include "platform/QtAppWindow.h"
#include "platform/QtPauses.h"
#include "platform/X11WindowFinder.h"
#include "support/FakeServices.h"
#include "support/ProgramWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class LaunchE2ETest : public LoggedLaunchTest {
protected:
    LaunchE2ETest() : LoggedLaunchTest(10) {}
    void SetUp() override { CreateWindows({"K1", "K2"}); }
};

TEST_F(LaunchE2ETest, ALevelStartRunsTheGameWaitsAndGivesTheWindowBack) {
    main->cbxLevels->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbLevel, true);
    main->cbxNoFMV->setChecked(true);
    TfrmMain::SetRadioChecked(main->cbWindowed, true);
    QElapsedTimer timer;
    timer.start();
    main->btnPlay->click();
    const auto runs = install.Runs();
    ASSERT_EQ(runs.size(), 1u) << "the game did not run to its end";
    EXPECT_EQ(StandInInstallation::Value(runs[0], "arguments"),
              "-level=data\\maps\\K1 -nofmv -windowed");
    EXPECT_EQ(StandInInstallation::Value(runs[0], "cwd") + "/", install.game);
    EXPECT_EQ(Steps(), (std::vector<std::string>{"minimise", "pause 5000", "find ZELTA yes",
                                                 "find ZELTA no", "restore"}));
    EXPECT_GE(timer.elapsed(), 800);
    for (QPushButton* b : {main->btnPlay, main->btnExit, main->btnAbout})
        EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LaunchE2ETest, BothGameDialogsAreWaitedForInOrder) {
    main->cbxSettingsDialog->setChecked(true);
    main->cbxLevelDialog->setChecked(true);
    main->btnPlay->click();
    const auto runs = install.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(StandInInstallation::Value(runs[0], "arguments"), "-settings -selectlevel");
    EXPECT_EQ(StandInInstallation::Values(runs[0], "window"),
              (std::vector<std::string>{"Settings", "Load Level", "ZELTA"}));
    EXPECT_EQ(Steps(), (std::vector<std::string>{
                           "minimise", "pause 5000", "find Settings yes", "find Settings no",
                           "pause 5000", "find Load Level yes", "find Load Level no", "pause 3000",
                           "find ZELTA yes", "find ZELTA no", "restore"}));
}

TEST_F(LaunchE2ETest, APadRecordingCanBePlayedBack) {
    main->cbxRecordDemo->setChecked(true);
    main->btnPlay->click();
    ASSERT_TRUE(install.root.Exists("game/bin/K1.pad"));
    const std::string recorded = install.root.Read("game/bin/K1.pad");
    // The game's contract: the recording is complete before its main window goes.
    const std::string gameLog = install.root.Read("game.log");
    ASSERT_NE(gameLog.find("recorded=bin/K1.pad"), std::string::npos);
    EXPECT_LT(gameLog.find("recorded=bin/K1.pad"), gameLog.find("closed=ZELTA"));

    main->cbPlay->addItem(QStringLiteral("K1.pad"));
    main->cbPlay->setCurrentIndex(0);
    main->cbxPlayDemo->setChecked(true);
    main->btnPlay->click();
    const auto runs = install.Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(StandInInstallation::Value(runs[0], "arguments"),
              "-padrecord=bin\\K1.pad -level=data\\maps\\K1 -debugkeys");
    EXPECT_EQ(StandInInstallation::Value(runs[1], "arguments"),
              "-padplayback=bin\\K1.pad -level=data\\maps\\K1");
    EXPECT_EQ(StandInInstallation::Value(runs[1], "playback-bytes"),
              std::to_string(recorded.size()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LaunchE2ETest, AnXpdRecordingIsPackedWithItsOptionsAndPlaysBack) {
    const auto before = install.GameFiles();
    main->cbxRecordDemo->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbXPD, true);
    main->cbxGodMode->setChecked(true);
    const std::string package = install.root / "utility/run.xpd";
    main->edtRecordDemo->setText(QString::fromStdString(package));
    main->btnPlay->click();
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text;
    EXPECT_EQ(install.GameFiles(), before);

    TVexaZipComponent zip;
    zip.SetZipFilename(package);
    ASSERT_EQ(zip.ZipContents().size(), 2u);
    EXPECT_EQ(zip.ZipContents()[0].fileName, "K1.tmp");
    EXPECT_EQ(zip.ZipContents()[1].fileName, "xpd.ini");

    // Played back with the options of the recording, whatever the window shows now.
    main->cbxGodMode->setChecked(false);
    main->cbxPlayDemo->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbPlayXPD, true);
    main->edtPlayDemo->setText(QString::fromStdString(package));
    main->btnPlay->click();
    const auto runs = install.Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(StandInInstallation::Value(runs[0], "arguments"),
              "-padrecord=bin\\K1.tmp -level=data\\maps\\K1 -debugkeys -godmode");
    EXPECT_EQ(StandInInstallation::Value(runs[1], "arguments"),
              "-padplayback=bin\\K1.tmp -level=data\\maps\\K1 -godmode");
    EXPECT_NE(StandInInstallation::Value(runs[1], "playback-bytes"), "<none>");
    EXPECT_EQ(install.GameFiles(), before);
}

TEST_F(LaunchE2ETest, TheMovieChoicePlaysTheMovieInsteadOfTheGame) {
    ChooseTheTestMovie();
    QElapsedTimer timer;
    timer.start();
    main->btnPlay->click();
    EXPECT_GE(timer.elapsed(), 1000) << "the movie window did not play";
    EXPECT_TRUE(install.Runs().empty());
    EXPECT_TRUE(log.lines.empty()); // neither minimised nor waiting for a game
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LaunchE2ETest, AProgramThatIsNotThereIsReported) {
    main->cbEXE->addItem(QStringLiteral("MISSING.EXE"));
    main->cbEXE->setCurrentIndex(1);
    main->btnPlay->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The following program could not be started:\r\r" +
                                          install.game +
                                          "bin\\MISSING.EXE\r\rThe program file does not exist.");
    EXPECT_TRUE(log.lines.empty());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

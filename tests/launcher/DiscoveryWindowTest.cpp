#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/BrowseRules.h"
#include "launcher/ShellFolderTree.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "platform/QtText.h"
#include "support/FakeServices.h"
#include "support/ProgramWindows.h"
#include "support/TempFolder.h"
#include "support/TestPictures.h"
#include "wine/GamePrefixes.h"
#include "wine/WinePrefixGameRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const std::string kFixtures = SCU_BINARY_DIR "/tests/fixtures/pe/";

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Items(const QComboBox* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i)
        items.push_back(list->itemText(i).toStdString());
    return items;
}

// A complete installation: launcher, two programs (one with a version resource), levels,
// cutscenes, movies and demos.
void PrepareInstallation(const TempFolder& folder, const TempFolder& utility) {
    folder.Write("launcher.exe", "x");
    folder.Write("bin/ZELTA.EXE", FileBytes(kFixtures + "build52.exe"));
    folder.Write("bin/Launcher2.exe", "not a program");
    folder.Write("bin/K1.pad", "demo");
    folder.Write("bin/Run.PAD", "demo");
    folder.Write("data/maps/K1.clz", "x");
    folder.Write("data/maps/k2.clz", "x");
    folder.Write("data/maps/cutscene/C1.clz", "x");
    folder.Write("data/fmv/intro.mpg", "x");
    utility.Write("settings.ini",
                  "[levels]\nK1=The Keep\n[cutscenes]\nc1=Opening\n[fmvs]\nINTRO=Introduction\n");
}

// The four windows over a utility folder and a game folder of the test's own.
class DiscoveryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.messages = &messages;
        services.registry = &registry;
        services.displayModes = &display;
        display.listed = {Mode(1024, 768, 32, 60), Mode(1024, 768, 32, 75), Mode(800, 600, 32, 60)};
        display.accepts = [](const DisplayMode& m) {
            return m.width >= 800 || (m.width == 512 && m.bitsPerPixel == 32);
        };
        main = std::make_unique<TfrmMain>(services, utility.Path());
        frmMain = main.get();
        browse = std::make_unique<TfrmBrowse>(
            main.get(), QString(), QString::fromStdString(home.Path()),
            std::vector<PrefixNode>{
                {QStringLiteral("Wine: none"), QString::fromStdString(noPrefix.Path())}});
        frmBrowse = browse.get();
        about = std::make_unique<TfrmAbout>(main.get());
        frmAbout = about.get();
        language = std::make_unique<TfrmLanguage>(utility.Path(), nullptr, main.get());
        frmLanguage = language.get();
    }
    void TearDown() override { DestroyProgramWindows(main, browse, about, language); }
    static DisplayMode Mode(std::uint32_t w, std::uint32_t h, std::uint32_t bpp, std::uint32_t hz) {
        DisplayMode m;
        m.width = w, m.height = h, m.bitsPerPixel = bpp, m.refreshRate = hz;
        m.fields = kFieldBitsPerPel | kFieldPelsWidth | kFieldPelsHeight | kFieldDisplayFrequency;
        return m;
    }
    void PrepareGame(const TempFolder& folder) { PrepareInstallation(folder, utility); }
    std::string GameFolderText(const TempFolder& folder) const { return folder.Path() + "/"; }

    TempFolder utility, game, home, noPrefix;
    FakeMessageBoxes messages;
    FakeGameRegistry registry;
    ScriptedDisplayModes display;
    MainServices services;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmBrowse> browse;
    std::unique_ptr<TfrmAbout> about;
    std::unique_ptr<TfrmLanguage> language;
};

TEST_F(DiscoveryWindowTest, TheShowSequenceFillsEveryFieldAndListFromTheInstallation) {
    PrepareGame(game);
    registry.values["InstalledPath"] = GameFolderText(game);
    main->FormShow();
    EXPECT_EQ(main->stxDestFolder->text().toStdString(), GameFolderText(game));
    EXPECT_EQ(Items(main->cbEXE), (std::vector<std::string>{"LAUNCHER2.EXE", "ZELTA.EXE"}));
    EXPECT_EQ(main->cbEXE->currentText().toStdString(), "ZELTA.EXE")
        << "the stored default is selected";
    EXPECT_EQ(main->stxVersion->text().toStdString(), "build 52") << "and its build shown";
    EXPECT_EQ(Items(main->cbLevel), (std::vector<std::string>{"The Keep", "k2"}));
    EXPECT_EQ(Items(main->cbRecord), Items(main->cbLevel));
    EXPECT_EQ(main->cbLevel->currentIndex(), 0);
    EXPECT_EQ(main->cbRecord->currentIndex(), 0);
    EXPECT_EQ(Items(main->cbCutScene), std::vector<std::string>{"Opening"});
    EXPECT_EQ(Items(main->cbFMV), std::vector<std::string>{"Introduction"});
    EXPECT_EQ(Items(main->cbPlay), (std::vector<std::string>{"K1.pad", "Run.PAD"}));
    EXPECT_EQ(Items(main->cbResolution),
              (std::vector<std::string>{"inherit game settings", "1024 x 768, 32 bpp",
                                        "800 x 600, 32 bpp", "512 x 384, 32 bpp"}));
    EXPECT_EQ(main->cbResolution->currentIndex(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DiscoveryWindowTest, WithoutTheRecordTheFailureTextLeavesEverythingEmpty) {
    main->FormShow();
    EXPECT_EQ(main->stxDestFolder->text().toStdString(), "error getting registry value");
    EXPECT_EQ(main->cbEXE->count(), 0);
    EXPECT_EQ(main->stxVersion->text().toStdString(), "<unknown>");
    for (QComboBox* list :
         {main->cbLevel, main->cbRecord, main->cbCutScene, main->cbFMV, main->cbPlay}) {
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(list->currentIndex(), -1);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DiscoveryWindowTest, AValueOfTheWrongTypeStopsTheSequenceWithTheErrorBox) {
    PrepareGame(game);
    utility.Write("settings.ini", "[config]\nnofmv=1\n");
    registry.wrongType = {"InstalledPath"};
    main->FormShow();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "application");
    EXPECT_EQ(messages.shown[0].text, "Invalid data type for 'InstalledPath'");
    EXPECT_EQ(main->cbResolution->count(), 0);
    EXPECT_FALSE(main->cbxNoFMV->isChecked()) << "the options were not loaded";
}

TEST_F(DiscoveryWindowTest, AUserChangeOfTheExecutableRefreshesTheBuild) {
    PrepareGame(game);
    registry.values["InstalledPath"] = GameFolderText(game);
    main->FormShow();
    main->cbEXE->setCurrentIndex(0);
    EXPECT_EQ(main->stxVersion->text().toStdString(), "build 52")
        << "a selection by program runs nothing";
    emit main->cbEXE->activated(0);
    EXPECT_EQ(main->stxVersion->text().toStdString(), "<unknown>");
}

TEST_F(DiscoveryWindowTest, RescansReportTheirCountAndTheLevelScanRefreshesTheRecordList) {
    PrepareGame(game);
    registry.values["InstalledPath"] = GameFolderText(game);
    main->FormShow();
    game.Write("data/maps/K3.clz", "x");
    game.Write("data/maps/cutscene/C2.clz", "x");
    game.Write("data/maps/cutscene/C3.clz", "x");
    std::filesystem::remove(game / "data/fmv/intro.mpg");
    utility.Write("settings.ini", "[levels]\nk3=Third\n");
    main->cbRecord->setCurrentIndex(1);

    struct Press {
        QPushButton* button;
        std::string message;
    } presses[] = {
        {main->btnScanLevel, "Scanning Complete!\r\r3 level files found"},
        {main->btnRecordScan, "Scanning Complete!\r\r3 level files found"},
        {main->btnScanScene, "Scanning Complete!\r\r3 cutscene files found"},
        {main->btnScanFMV, "Scanning Complete!\r\r0 FMV files found"},
        {main->btnPlayRescan, "Scanning Complete!\r\r2 recorded demos found"},
    };
    for (const Press& p : presses) {
        messages.shown.clear();
        p.button->setEnabled(true);
        p.button->click();
        ASSERT_EQ(messages.shown.size(), 1u) << p.message;
        EXPECT_EQ(messages.shown[0].kind, "information");
        EXPECT_EQ(messages.shown[0].text, p.message);
    }
    EXPECT_EQ(Items(main->cbLevel), (std::vector<std::string>{"K1", "k2", "Third"}))
        << "name tables are read afresh";
    EXPECT_EQ(Items(main->cbRecord), Items(main->cbLevel));
    EXPECT_EQ(main->cbRecord->currentIndex(), 0);
    EXPECT_EQ(main->cbFMV->currentIndex(), -1);

    // A level rescan that finds nothing empties both level lists.
    for (const char* level : {"data/maps/K1.clz", "data/maps/k2.clz", "data/maps/K3.clz"})
        std::filesystem::remove(game / level);
    messages.shown.clear();
    main->btnScanLevel->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Scanning Complete!\r\r0 level files found");
    for (QComboBox* list : {main->cbLevel, main->cbRecord}) {
        EXPECT_EQ(list->count(), 0) << list->objectName().toStdString();
        EXPECT_EQ(list->currentIndex(), -1) << list->objectName().toStdString();
    }
}

TEST_F(DiscoveryWindowTest, BrowsingConfirmedTakesTheFolderAndRelistsOnlyTheExecutables) {
    PrepareGame(game);
    registry.values["InstalledPath"] = GameFolderText(game);
    main->FormShow();
    TempFolder other;
    other.Write("LAUNCHER.EXE", "x");
    other.Write("bin/b.exe", "x");
    other.Write("bin/a.exe", FileBytes(kFixtures + "build52.exe"));
    const auto levelsBefore = Items(main->cbLevel);
    QTimer::singleShot(0, browse.get(), [&] {
        ASSERT_TRUE(browse->stvFolders->SelectFolder(QString::fromStdString(other.Path())));
        EXPECT_TRUE(browse->btnOK->isEnabled());
        browse->btnOK->click();
    });
    main->btnBrowse->click();
    EXPECT_EQ(main->stxDestFolder->text().toStdString(), other.Path() + "/");
    EXPECT_EQ(Items(main->cbEXE), (std::vector<std::string>{"A.EXE", "B.EXE"}));
    EXPECT_EQ(main->cbEXE->currentIndex(), 0);
    EXPECT_EQ(main->stxVersion->text().toStdString(), "build 52");
    EXPECT_EQ(Items(main->cbLevel), levelsBefore)
        << "the content lists keep the previous folder's entries";
}

TEST_F(DiscoveryWindowTest, BrowsingCancelledKeepsTheFolderButStillRelistsTheExecutables) {
    PrepareGame(game);
    registry.values["InstalledPath"] = GameFolderText(game);
    main->FormShow();
    ASSERT_EQ(main->cbEXE->currentIndex(), 1);
    QTimer::singleShot(0, browse.get(), [&] {
        browse->stvFolders->SelectFolder(QString::fromStdString(home.Path()));
        browse->btnCancel->click();
    });
    main->btnBrowse->click();
    EXPECT_EQ(main->stxDestFolder->text().toStdString(), GameFolderText(game));
    EXPECT_EQ(browse->FolderPath, GameFolderText(game));
    EXPECT_EQ(main->cbEXE->currentIndex(), 0) << "the first entry, not the stored one";
    EXPECT_EQ(main->stxVersion->text().toStdString(), "<unknown>");
}

// The level group and the two demo groups, as a table of clicks and the enabled states after each.
TEST_F(DiscoveryWindowTest, PanelRulesFollowEveryClick) {
    main->show();
    QWidget* group[] = {main->rbLevel,      main->rbCutScene, main->rbFMV,        main->cbLevel,
                        main->btnScanLevel, main->cbCutScene, main->btnScanScene, main->cbFMV,
                        main->btnScanFMV,   main->cbxControls};
    QWidget* record[] = {main->lblRecord, main->cbRecord, main->btnRecordScan, main->rbPAD,
                         main->rbXPD};
    QWidget* play[] = {main->rbPlayPAD, main->rbPlayXPD, main->cbPlay, main->btnPlayRescan};
    // Expected: the ten level-group controls, then the record and play groups as a whole
    // ('1' every control named above enabled, '0' none).
    struct Step {
        const char* what;
        std::function<void()> click;
        const char* level; // rb, rb, rb, cbLevel, scan, cbCutScene, scan, cbFMV, scan, controls
        bool record, play;
        bool levels, recordOn, playOn;
    } steps[] = {
        {"start", [] {}, "0000000000", false, false, false, false, false},
        {"check levels", [&] { main->cbxLevels->click(); }, "1111100000", false, false, true, false,
         false},
        {"choose movie", [&] { main->rbFMV->click(); }, "1110000111", false, false, true, false,
         false},
        {"tick controls", [&] { main->cbxControls->click(); }, "1110000111", false, false, true,
         false, false},
        {"movie again", [&] { main->rbFMV->click(); }, "1110000111", false, false, true, false,
         false},
        {"choose cutscene", [&] { main->rbCutScene->click(); }, "1110011000", false, false, true,
         false, false},
        {"uncheck levels", [&] { main->cbxLevels->click(); }, "0000000000", false, false, false,
         false, false},
        {"check levels again", [&] { main->cbxLevels->click(); }, "1110011000", false, false, true,
         false, false},
        {"record on", [&] { main->cbxRecordDemo->click(); }, "0000000000", true, false, false, true,
         false},
        {"play on", [&] { main->cbxPlayDemo->click(); }, "0000000000", false, true, false, false,
         true},
        {"levels on", [&] { main->cbxLevels->click(); }, "1110011000", false, false, true, false,
         false},
        {"play on again", [&] { main->cbxPlayDemo->click(); }, "0000000000", false, true, false,
         false, true},
        {"play off", [&] { main->cbxPlayDemo->click(); }, "0000000000", false, false, false, false,
         false},
        {"record on again", [&] { main->cbxRecordDemo->click(); }, "0000000000", true, false, false,
         true, false},
        {"levels on over record", [&] { main->cbxLevels->click(); }, "1110011000", false, false,
         true, false, false},
    };
    for (const Step& s : steps) {
        s.click();
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(group[i]->isEnabled(), s.level[i] == '1')
                << s.what << ": " << group[i]->objectName().toStdString();
        for (QWidget* w : record)
            EXPECT_EQ(w->isEnabled(), s.record) << s.what << ": " << w->objectName().toStdString();
        for (QWidget* w : play)
            EXPECT_EQ(w->isEnabled(), s.play) << s.what << ": " << w->objectName().toStdString();
        EXPECT_EQ(main->cbxLevels->isChecked(), s.levels) << s.what;
        EXPECT_EQ(main->cbxRecordDemo->isChecked(), s.recordOn) << s.what;
        EXPECT_EQ(main->cbxPlayDemo->isChecked(), s.playOn) << s.what;
        EXPECT_TRUE(main->cbxLevels->isEnabled() && main->btnBrowse->isEnabled() &&
                    main->cbEXE->isEnabled() && main->cbxGodMode->isEnabled())
            << s.what << ": controls without a rule stay enabled";
    }
    EXPECT_TRUE(main->cbxControls->isChecked()) << "the tick survives the group being switched off";
    EXPECT_TRUE(main->rbCutScene->isChecked()) << "the choice survives too";
}

TEST_F(DiscoveryWindowTest, ScreenModeRulesIncludingTheQuirkAfterARadioClick) {
    main->show(); // the show sequence fills the mode list
    main->FillResolutionList();
    ASSERT_EQ(main->cbResolution->count(), 4) << "filling again starts from an empty table";
    auto row = [&] {
        return std::string(main->cbxChangeResolution->isEnabled() ? "B" : "b") +
               (main->cbResolution->isEnabled() ? "R" : "r") +
               (main->cbHz->isEnabled() ? "H" : "h") + (main->lblAt->isEnabled() ? "A" : "a") +
               (main->lblHz->isEnabled() ? "Z" : "z");
    };
    EXPECT_EQ(row(), "brhaz");
    main->cbFullScreen->click();
    EXPECT_EQ(row(), "Brhaz");
    main->cbxChangeResolution->click();
    EXPECT_EQ(row(), "BRhaz") << "item 0 selected: no refresh rate";
    main->cbResolution->setCurrentIndex(1);
    EXPECT_EQ(row(), "BRhaz") << "a selection by program runs nothing";
    emit main->cbResolution->activated(1);
    EXPECT_EQ(row(), "BRHAZ");
    main->cbHz->setCurrentIndex(4);
    EXPECT_EQ(main->ReadLaunchChoices().hzEnabled, true);
    main->cbWindowed->click();
    EXPECT_EQ(row(), "brhaz");
    EXPECT_TRUE(main->cbxChangeResolution->isChecked()) << "windowed leaves the override ticked";
    EXPECT_EQ(main->cbResolution->currentIndex(), 1) << "and the mode selected";
    EXPECT_EQ(GetModeArgument(main->cbResolution->currentText().toStdString(),
                              main->cbHz->isEnabled(), main->cbHz->currentText().toStdString()),
              "1024x768x60");
    main->cbResolution->setCurrentIndex(0);
    main->cbFullScreen->click();
    EXPECT_EQ(row(), "BRHAZ")
        << "after a radio click the row follows the override box even on item 0";
    emit main->cbResolution->activated(0);
    EXPECT_EQ(row(), "BRhaz");
    main->cbFullScreen->click();
    EXPECT_EQ(row(), "BRhaz") << "clicking the checked button runs nothing (its rule would "
                                 "light the refresh row again)";
    main->cbxChangeResolution->click();
    EXPECT_EQ(row(), "Brhaz");
    main->cbxChangeResolution->click();
    EXPECT_EQ(row(), "BRhaz");
    // "Default" unchecks both buttons, which runs no rule.
    TfrmMain::SetRadioChecked(main->cbFullScreen, false);
    EXPECT_EQ(row(), "BRhaz");
}

TEST_F(DiscoveryWindowTest, StoredScreenChoicesRunTheRulesWhenLoaded) {
    utility.Write("settings.ini", "[config]\nfullscreen=1\n");
    main->FormShow();
    EXPECT_TRUE(main->cbxChangeResolution->isEnabled());
    utility.Write("settings.ini", "[config]\nwindowed=1\n");
    main->LoadOptions(main->SettingsFile(), true);
    EXPECT_FALSE(main->cbxChangeResolution->isEnabled());
}

class BrowseDialogTest : public DiscoveryWindowTest {};

TEST_F(BrowseDialogTest, OkayNeedsAFolderWithTheLauncherAndTheResultEndsInASeparator) {
    game.Write("Games/Game/LAUNCHER.exe", "x");
    game.Write("Games/Game/sub/readme.txt", "x");
    ShellFolderTree* tree = browse->stvFolders;
    EXPECT_FALSE(browse->btnOK->isEnabled()) << "the virtual Desktop node is selected first";
    EXPECT_EQ(tree->SelectedPath(), "");
    ASSERT_TRUE(tree->SelectFolder(QString::fromStdString(game / "Games/Game/sub")));
    EXPECT_FALSE(browse->btnOK->isEnabled());
    ASSERT_TRUE(tree->SelectFolder(QString::fromStdString(game / "Games/Game")));
    EXPECT_TRUE(browse->btnOK->isEnabled()) << "the launcher is found without regard to case";
    ASSERT_TRUE(tree->SelectFolder(QString::fromStdString(game / "Games")));
    EXPECT_FALSE(browse->btnOK->isEnabled());
    ASSERT_TRUE(tree->SelectFolder(QString::fromStdString(game / "Games/Game")));

    browse->FolderPath = "C:\\Before\\";
    QTimer::singleShot(0, browse.get(), [&] { browse->btnOK->click(); });
    EXPECT_EQ(browse->exec(), QDialog::Accepted);
    EXPECT_EQ(browse->FolderPath, game / "Games/Game/");

    // Reopened: the same selection; a cancel keeps what the caller passed in.
    browse->FolderPath = "C:\\Before\\";
    QTimer::singleShot(0, browse.get(), [&] {
        EXPECT_EQ(browse->stvFolders->SelectedPath(), game / "Games/Game");
        EXPECT_TRUE(browse->btnOK->isEnabled());
        browse->stvFolders->SelectFolder(QString::fromStdString(game.Path()));
        browse->btnCancel->click();
    });
    EXPECT_EQ(browse->exec(), QDialog::Rejected);
    EXPECT_EQ(browse->FolderPath, "C:\\Before\\");
}

// A folder whose name is not UTF-8 (Windows-1252 "For\xeat", made on Windows) is shown, with a
// mark for the byte, and chosen as the bytes it is.
TEST_F(BrowseDialogTest, AFolderNameThatIsNotUtf8IsShownAndGivenBackAsItsBytes) {
    const std::string folder = game / "For\xeat";
    game.Write("For\xeat/launcher.exe", "x");
    ShellFolderTree* tree = browse->stvFolders;
    ASSERT_TRUE(tree->SelectFolder(QText(folder)));
    EXPECT_EQ(tree->currentItem()->text(0), QText("For\xeat"));
    EXPECT_EQ(tree->SelectedPath(), folder);
    EXPECT_TRUE(browse->btnOK->isEnabled());
    QTimer::singleShot(0, browse.get(), [&] {
        tree->scrollToItem(tree->currentItem());
        SavePictureIfAsked(browse.get(), QStringLiteral("browse-not-utf8"));
        browse->btnOK->click();
    });
    main->btnBrowse->click();
    EXPECT_EQ(browse->FolderPath, folder + "/");
    EXPECT_EQ(Text(main->stxDestFolder->text()), folder + "/");
}

TEST_F(BrowseDialogTest, TheTreeHoldsDesktopHomeAndTheFileSystemAndGrowsWithTheWindow) {
    QTreeWidgetItem* desktop = browse->stvFolders->topLevelItem(0);
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->text(0).toStdString(), "Desktop");
    EXPECT_TRUE(desktop->isExpanded());
    ASSERT_GE(desktop->childCount(), 3);
    EXPECT_EQ(desktop->child(desktop->childCount() - 3)->text(0).toStdString(),
              std::filesystem::path(home.Path()).filename().string());
    EXPECT_EQ(desktop->child(desktop->childCount() - 2)->text(0).toStdString(), "File System");
    EXPECT_EQ(desktop->child(desktop->childCount() - 1)->text(0).toStdString(), "Wine: none");
    EXPECT_EQ(browse->windowTitle().toStdString(), "Browse for ZELTA folder");
    EXPECT_EQ(browse->btnOK->geometry(), QRect(104, 218, 73, 25));
    EXPECT_EQ(browse->btnCancel->geometry(), QRect(192, 218, 73, 25));
    EXPECT_EQ(browse->stvFolders->geometry(), QRect(0, 0, 272, 211));
    EXPECT_EQ(browse->stvFolders->indentation(), 19);
    EXPECT_EQ(browse->btnOK->toolTip().toStdString(), "Accept changes");
    EXPECT_EQ(browse->btnCancel->toolTip().toStdString(), "Discard changes");
    EXPECT_EQ(browse->btnOK->text().toStdString(), "&Okay");
    EXPECT_EQ(browse->btnCancel->text().toStdString(), "&Cancel");
    EXPECT_TRUE(browse->stbarStatus->currentMessage().isEmpty());
    browse->show();
    browse->resize(400, 350);
    QApplication::processEvents();
    EXPECT_EQ(browse->btnOK->geometry(), QRect(232, 295, 73, 25));
    EXPECT_EQ(browse->btnCancel->geometry(), QRect(320, 295, 73, 25));
    EXPECT_EQ(browse->stvFolders->geometry(), QRect(0, 0, 400, 211)) << "the tree keeps its height";
    EXPECT_EQ(browse->stbarStatus->geometry(), QRect(0, 329, 400, 21));
    browse->hide();
}

// One node per prefix under Desktop, each holding its drives, and hidden folders after the
// others: a game kept in ~/.wine/drive_c is reached through the home folder and through drive C:.
TEST_F(BrowseDialogTest, TheTreeListsEachPrefixWithItsDrivesAndHiddenFolders) {
    TempFolder prefix, other;
    prefix.Write("drive_c/Games/ZELTA/launcher.exe", "x");
    home.Write("visible/x", "x");
    home.Write("Zeta/x", "x");
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices/c:");
    fs::create_symlink("/", prefix / "dosdevices/z:");
    fs::create_symlink("/nowhere-at-all", prefix / "dosdevices/d:"); // leads nowhere
    fs::create_symlink("/dev/null", prefix / "dosdevices/com1");     // a port, not a drive
    fs::create_symlink(prefix.Path(), home / ".wine");
    fs::create_directories(other / "drive_c");
    fs::create_directories(other / "dosdevices");
    fs::create_symlink("../drive_c", other / "dosdevices/c:");
    const QString homeFolder = QString::fromStdString(home.Path());
    TfrmBrowse dialog(
        nullptr, homeFolder, homeFolder,
        {{QStringLiteral("Wine: ~/.wine"), QString::fromStdString(prefix.Path())},
         {QStringLiteral("Steam (Proton): ~/pfx"), QString::fromStdString(other.Path())}});
    QTreeWidgetItem* desktop = dialog.stvFolders->topLevelItem(0);
    auto labels = [](QTreeWidgetItem* node) {
        std::vector<std::string> texts;
        for (int i = 0; i < node->childCount(); ++i)
            texts.push_back(node->child(i)->text(0).toStdString());
        return texts;
    };
    const std::string homeName = fs::path(home.Path()).filename().string();
    EXPECT_EQ(labels(desktop), (std::vector<std::string>{homeName, "File System", "Wine: ~/.wine",
                                                         "Steam (Proton): ~/pfx"}));
    EXPECT_EQ(labels(desktop->child(2)), (std::vector<std::string>{"C:", "Z:"}));
    EXPECT_EQ(labels(desktop->child(3)), (std::vector<std::string>{"C:"}));
    dialog.stvFolders->setCurrentItem(desktop->child(2));
    EXPECT_EQ(dialog.stvFolders->SelectedPath(), "") << "a prefix node is no folder";
    EXPECT_FALSE(dialog.btnOK->isEnabled());

    QTreeWidgetItem* homeNode = desktop->child(0);
    homeNode->setExpanded(true);
    EXPECT_EQ(labels(homeNode), (std::vector<std::string>{"visible", "Zeta", ".wine"}));
    ASSERT_TRUE(dialog.stvFolders->SelectFolder(
        QString::fromStdString(home / ".wine/drive_c/Games/ZELTA")));
    EXPECT_TRUE(dialog.btnOK->isEnabled());

    // Through drive C: the chosen folder is the native folder the drive leads to.
    QTreeWidgetItem* item = desktop->child(2)->child(0);
    for (const char* name : {"Games", "ZELTA"}) {
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount(); ++i)
            if (item->child(i)->text(0) == QLatin1String(name))
                next = item->child(i);
        ASSERT_NE(next, nullptr) << name;
        item = next;
    }
    dialog.stvFolders->setCurrentItem(item);
    EXPECT_TRUE(dialog.btnOK->isEnabled());
    if (const char* shots = std::getenv("SCU_SCREENSHOT_DIR")) {
        dialog.show();
        dialog.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/browse-prefixes.png"));
    }
    QTimer::singleShot(0, &dialog, [&] { dialog.btnOK->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.FolderPath, fs::canonical(prefix / "drive_c").string() + "/Games/ZELTA/");
}

// The hint names the prefix in use; a folder chosen inside another prefix moves to that prefix.
TEST_F(BrowseDialogTest, TheHintNamesThePrefixInUseAndBrowsingIntoAnotherMovesToIt) {
    const char* saved = std::getenv("WINEPREFIX");
    const std::string savedPrefix = saved ? saved : "";
    TempFolder steam, lutris;
    for (const TempFolder* prefix : {&steam, &lutris}) {
        prefix->Write("drive_c/Games/ZELTA/launcher.exe", "x");
        fs::create_directories(*prefix / "dosdevices");
        fs::create_symlink("../drive_c", *prefix / "dosdevices/c:");
    }
    steam.Write("system.reg", "[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1\n"
                              "\"InstalledPath\"=\"C:\\\\Games\\\\ZELTA\\\\\"\n");
    FoundPrefix inSteam, inLutris;
    inSteam.manager = PrefixManager::Steam;
    inSteam.folder = steam.Path();
    inLutris.manager = PrefixManager::Lutris;
    inLutris.folder = lutris.Path();
    HomeFolders folders{"/nonexistent-home", "", "", ""};
    GamePrefixes prefixes(folders, {inLutris, inSteam});
    WinePrefixGameRegistry wine(prefixes.Current().folder);
    services.registry = &wine;
    services.prefixes = &prefixes;
    DestroyProgramWindows(main, browse, about, language);
    main = std::make_unique<TfrmMain>(services, utility.Path());
    frmMain = main.get();
    browse = std::make_unique<TfrmBrowse>(
        main.get(), QString(), QString::fromStdString(home.Path()), BrowsePrefixNodes(prefixes));
    frmBrowse = browse.get();
    main->FormShow();
    EXPECT_EQ(main->stxDestFolder->text().toStdString(), "C:\\Games\\ZELTA\\");
    EXPECT_EQ(main->stxDestFolder->toolTip().toStdString(), "Steam (Proton): " + steam.Path());
    EXPECT_EQ(main->cbEXE->count(), 0);

    QTimer::singleShot(0, browse.get(), [&] {
        ASSERT_TRUE(browse->stvFolders->SelectFolder(
            QString::fromStdString(lutris / "drive_c/Games/ZELTA")));
        browse->btnOK->click();
    });
    main->btnBrowse->click();
    EXPECT_EQ(main->stxDestFolder->toolTip().toStdString(), "Lutris: " + lutris.Path());
    EXPECT_EQ(std::string(std::getenv("WINEPREFIX")), lutris.Path());
    // Before Wine has made a prefix, the tree still lists the one in use, labelled as the hint.
    const GamePrefixes unmade(HomeFolders{home.Path(), "", "", home / "unmade"},
                              std::vector<FoundPrefix>{});
    const std::vector<PrefixNode> nodes = BrowsePrefixNodes(unmade);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].label.toStdString(), "Wine: ~/unmade");
    EXPECT_EQ(nodes[0].folder.toStdString(), home / "unmade");
    if (saved)
        setenv("WINEPREFIX", savedPrefix.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

// The production registry over a Wine-style prefix whose drive Z: is the file-system root.
TEST(DiscoveryFromWinePrefix, AWindowsPathFromTheRecordReachesTheInstallation) {
    TempFolder game, utility;
    PrepareInstallation(game, utility);
    TempFolder prefix;
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_symlink("/", prefix / "dosdevices/z:");
    std::string windowsPath = "Z:" + game.Path() + "\\";
    for (char& c : windowsPath)
        if (c == '/')
            c = '\\';
    std::string escaped;
    for (char c : windowsPath)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    prefix.Write(
        "system.reg",
        "WINE REGISTRY Version 2\n#arch=win32\n\n[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1\n"
        "\"InstalledPath\"=\"" +
            escaped + "\"\n");
    const char* saved = std::getenv("WINEPREFIX");
    const std::string savedPrefix = saved ? saved : "";
    setenv("WINEPREFIX", prefix.Path().c_str(), 1);
    WinePrefixGameRegistry wine(prefix.Path());
    MainServices services;
    services.registry = &wine;
    auto main = std::make_unique<TfrmMain>(services, utility.Path());
    main->FormShow();
    if (saved)
        setenv("WINEPREFIX", savedPrefix.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
    EXPECT_EQ(main->stxDestFolder->text().toStdString(), windowsPath);
    EXPECT_EQ(Items(main->cbEXE), (std::vector<std::string>{"LAUNCHER2.EXE", "ZELTA.EXE"}));
    EXPECT_EQ(main->stxVersion->text().toStdString(), "build 52");
    EXPECT_EQ(Items(main->cbLevel), (std::vector<std::string>{"The Keep", "k2"}));
    EXPECT_EQ(Items(main->cbPlay), (std::vector<std::string>{"K1.pad", "Run.PAD"}));
}

TEST(BrowseRules, TheSeparatorFollowsTheFormOfThePath) {
    EXPECT_EQ(WithTrailingSeparator("/home/ann/zelta"), "/home/ann/zelta/");
    EXPECT_EQ(WithTrailingSeparator("/"), "/") << "a root is returned unchanged";
    EXPECT_EQ(WithTrailingSeparator("C:\\Games\\Game"), "C:\\Games\\Game\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\"), "C:\\");
    EXPECT_FALSE(IsGameFolder("")) << "a virtual node never holds the file";
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

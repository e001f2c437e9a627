#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "platform/QtMessageBoxes.h"
#include "player/untVexaObjectControls.h"
#include "support/FakeServices.h"
#include "support/ProgramWindows.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The four windows as the program creates them, over a utility folder of the test's own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.messages = &messages;
        services.starter = &starter;
        services.registry = &registry;
        Create(folder.Path());
    }
    void TearDown() override { Destroy(); }

    void Create(const std::string& utilityFolder) {
        Create(UtilityPlaces::SelfContained(utilityFolder));
    }
    void Create(const UtilityPlaces& places) {
        main = std::make_unique<TfrmMain>(services, places);
        frmMain = main.get();
        browse = std::make_unique<TfrmBrowse>(main.get());
        frmBrowse = browse.get();
        about = std::make_unique<TfrmAbout>(main.get());
        frmAbout = about.get();
        language = std::make_unique<TfrmLanguage>(places.LanguageFolders(), &starter, main.get());
        frmLanguage = language.get();
    }
    void Destroy() { DestroyProgramWindows(main, browse, about, language); }
    // Installs the executables in a game folder that the installation record names, and lists them.
    void FillExecutables(std::initializer_list<const char*> names) {
        for (const char* name : names)
            game.Write(std::string("bin/") + name, "x");
        registry.values["InstalledPath"] = game.Path() + "/";
        main->stxDestFolder->setText(QString::fromStdString(game.Path() + "/"));
        main->ScanExecutables();
        main->cbEXE->setCurrentIndex(0);
    }

    TempFolder folder;
    TempFolder game;
    FakeMessageBoxes messages;
    FakeProgramStarter starter;
    FakeGameRegistry registry;
    MainServices services;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmBrowse> browse;
    std::unique_ptr<TfrmAbout> about;
    std::unique_ptr<TfrmLanguage> language;
};

template <typename T> T* Find(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST_F(MainWindowTest, ControlsStandWhereTheyWereDesignedAndStartAsDesigned) {
    struct Control {
        const char* name;
        QRect place; // relative to the parent; width/height 0 = not checked
        bool enabled;
        const char* text; // caption or nullptr
        const char* hint; // tool tip or nullptr
    } controls[] = {
        {"gbGeneral", {8, 0, 529, 100}, true, " General Settings ", nullptr},
        {"lblGameDest", {9, 19, 0, 0}, true, "ZELTA Destination Folder:", nullptr},
        {"stxDestFolder", {8, 35, 395, 18}, true, "", nullptr},
        {"btnBrowse",
         {416, 32, 105, 23},
         true,
         "&Browse Folder",
         "click here to browse for ZELTA destination folder"},
        {"lblCPU", {8, 72, 0, 0}, true, "Select game version:", nullptr},
        {"cbEXE", {112, 69, 113, 21}, true, nullptr, nullptr},
        {"lblVersion", {232, 72, 0, 0}, true, "Patch detected:", nullptr},
        {"stxVersion", {313, 70, 89, 18}, true, "unknown", nullptr},
        {"btnLanguage",
         {416, 68, 105, 23},
         true,
         "&Language",
         "click here to choose your language"},
        {"gbLevels", {8, 104, 265, 203}, true, "", nullptr},
        {"cbxLevels", {19, 103, 166, 17}, true, " Play Level / Cutscene / FMV", nullptr},
        {"rbLevel", {8, 22, 177, 17}, false, "Play specific level", nullptr},
        {"btnScanLevel",
         {192, 20, 65, 21},
         false,
         "&Rescan",
         "click here to rescan for available levels"},
        {"cbLevel", {24, 46, 233, 21}, false, nullptr, nullptr},
        {"rbCutScene", {8, 77, 177, 17}, false, "Show specific cutscene", nullptr},
        {"btnScanScene",
         {191, 75, 65, 21},
         false,
         "&Rescan",
         "click here to rescan for available cutscenes"},
        {"cbCutScene", {24, 101, 233, 21}, false, nullptr, nullptr},
        {"rbFMV", {8, 132, 177, 17}, false, "Show FMV via internal player", nullptr},
        {"btnScanFMV",
         {191, 129, 65, 21},
         false,
         "&Rescan",
         "click here to rescan for available FVMs"},
        {"cbFMV", {24, 156, 233, 21}, false, nullptr, nullptr},
        {"cbxControls", {24, 181, 225, 17}, false, "Show Player Controls / Trackbar", nullptr},
        {"gbMisc", {280, 104, 257, 145}, true, " Miscellaneous ", nullptr},
        {"cbxSettingsDialog", {8, 24, 241, 17}, true, "Show Game Settings dialog", nullptr},
        {"cbxLevelDialog", {8, 48, 241, 17}, true, "Show Select Level dialog", nullptr},
        {"cbxNoFMV",
         {8, 72, 241, 17},
         true,
         "Skip FMV's (introduction and in-game mpegs)",
         nullptr},
        {"cbxDebugKeys",
         {8, 96, 241, 17},
         true,
         "Debug keys (Debug option in game menu)",
         "DEBUGKEYS option"},
        {"cbxGodMode",
         {8, 120, 241, 17},
         true,
         "All weapons and ammo (double pistols also)",
         "GODMODE option"},
        {"gbScreen", {280, 256, 257, 97}, true, " Screen Mode ", nullptr},
        {"cbFullScreen", {8, 19, 81, 17}, true, "Full Screen", nullptr},
        {"cbWindowed", {88, 19, 161, 17}, true, "Windowed (24/32-bit only)", nullptr},
        {"cbxChangeResolution",
         {8, 46, 241, 17},
         false,
         "Override Screen Resolution (Full Screen only)",
         nullptr},
        {"cbResolution", {24, 66, 129, 21}, false, nullptr, nullptr},
        {"lblAt", {159, 69, 0, 0}, false, "at", nullptr},
        {"cbHz", {176, 66, 49, 21}, false, nullptr, nullptr},
        {"lblHz", {231, 69, 0, 0}, false, "Hz", nullptr},
        {"gbRecordDemo", {8, 312, 265, 169}, true, "", nullptr},
        {"cbxRecordDemo", {19, 311, 166, 17}, true, " Record Your Demo", nullptr},
        {"lblRecord", {24, 24, 0, 0}, false, "Please select level to record", nullptr},
        {"cbRecord", {24, 48, 233, 21}, false, nullptr, nullptr},
        {"btnRecordScan",
         {190, 20, 65, 21},
         false,
         "&Rescan",
         "click here to rescan for available levels"},
        {"rbPAD", {8, 77, 251, 17}, false, "Save as PAD (fixed filename)", nullptr},
        {"rbXPD", {8, 99, 251, 17}, false, "Save as XPD (you may browse for filename)", nullptr},
        {"lblRecordFileName", {24, 120, 0, 0}, false, "Demo will be saved as ", nullptr},
        {"edtRecordDemo", {24, 138, 160, 0}, false, nullptr, nullptr},
        {"btnBrowseDemo", {190, 138, 65, 21}, false, "&Browse", "click here to set XPD filename"},
        {"gbPlayDemo", {280, 360, 257, 121}, true, "", nullptr},
        {"cbxPlayDemo", {294, 358, 155, 17}, true, " Play Recorded Demo", nullptr},
        {"rbPlayPAD", {16, 21, 235, 17}, false, "Select recorded demo to play (PAD file)", nullptr},
        {"rbPlayXPD",
         {16, 69, 235, 17},
         false,
         "Browse for recorded demo to play (XPD file)",
         nullptr},
        {"cbPlay", {24, 40, 153, 21}, false, nullptr, nullptr},
        {"btnPlayRescan",
         {185, 40, 65, 21},
         false,
         "&Rescan",
         "click here to rescan for recorded demos"},
        {"edtPlayDemo", {24, 90, 153, 0}, false, nullptr, nullptr},
        {"btnBrowsePlay",
         {185, 90, 65, 21},
         false,
         "&Browse",
         "click here to browse for recorded XPD file"},
        {"btnAbout", {8, 491, 89, 25}, true, "&About", "Shows program information"},
        {"btnReadMe", {116, 491, 89, 25}, true, "Read &Me", "Shows readme file"},
        {"btnReset", {224, 491, 89, 25}, true, "Default", "Reset settings to default"},
        {"btnPlay", {332, 491, 91, 25}, true, "&Start game", "Start ZELTA"},
        {"btnExit", {440, 491, 91, 25}, true, "E&xit", "Exit utility"},
    };
    for (const Control& c : controls) {
        QWidget* w = Find<QWidget>(main.get(), c.name);
        if (!w)
            continue;
        QRect g = w->geometry();
        EXPECT_EQ(g.topLeft(), c.place.topLeft()) << c.name;
        if (c.place.width()) {
            EXPECT_EQ(g.width(), c.place.width()) << c.name;
        }
        if (c.place.height()) {
            EXPECT_EQ(g.height(), c.place.height()) << c.name;
        }
        EXPECT_EQ(w->isEnabled(), c.enabled) << c.name;
        if (c.text) {
            QString text;
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                text = b->text();
            else if (auto* l = qobject_cast<QLabel*>(w))
                text = l->text();
            else if (auto* g2 = qobject_cast<QGroupBox*>(w))
                text = g2->title();
            EXPECT_EQ(text.toStdString(), c.text) << c.name;
        }
        EXPECT_EQ(w->toolTip().toStdString(), c.hint ? c.hint : "") << c.name;
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << c.name;
            EXPECT_FALSE(button->icon().pixmap(16, QIcon::Normal).isNull()) << c.name;
            EXPECT_NE(button->icon().pixmap(16, QIcon::Normal).toImage(),
                      button->icon().pixmap(16, QIcon::Disabled).toImage())
                << c.name << ": the disabled glyph looks different";
        }
    }
}

TEST_F(MainWindowTest, WindowIsFixedAndTitledWithCheckStatesAsDesigned) {
    EXPECT_EQ(main->windowTitle().toStdString(), "ZELTA Startup Configuration Utility v0.82 BETA");
    EXPECT_EQ(main->size(), QSize(545, 523));
    EXPECT_EQ(main->minimumSize(), main->maximumSize());
    EXPECT_FALSE(main->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(main->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(main->rbLevel->isChecked());
    EXPECT_TRUE(main->rbPAD->isChecked());
    EXPECT_TRUE(main->rbPlayPAD->isChecked());
    EXPECT_FALSE(main->cbFullScreen->isChecked());
    EXPECT_FALSE(main->cbWindowed->isChecked());
    EXPECT_EQ(main->cbHz->count(), 7);
    EXPECT_EQ(main->cbHz->currentText().toStdString(), "60");
    EXPECT_EQ(main->cbHz->itemText(6).toStdString(), "120");
    EXPECT_TRUE(main->stxDestFolder->font().bold());
    EXPECT_TRUE(main->cbEXE->font().bold());
    EXPECT_TRUE(main->stxVersion->font().bold());
    EXPECT_FALSE(main->cbLevel->font().bold());
    EXPECT_EQ(main->font().pointSize(), 8);
    EXPECT_EQ(language->Language, "English (Default)");
    EXPECT_EQ(about->size(), QSize(290, 145));
    EXPECT_EQ(about->windowTitle().toStdString(), "About");
    EXPECT_EQ(about->lblVersion->text().toStdString(), "version: 0.82 BETA");
    EXPECT_TRUE(about->lblVersion->font().bold());
    EXPECT_EQ(about->btnOK->geometry(), QRect(201, 111, 73, 25));
    EXPECT_EQ(browse->windowTitle().toStdString(), "Browse for ZELTA folder");
}

TEST_F(MainWindowTest, FirstStartWithoutSettingsTakesEveryDefault) {
    FillExecutables({"LAUNCHER2.EXE", "ZELTA.EXE"});
    main->cbxNoFMV->setChecked(true);
    main->FormShow();
    EXPECT_EQ(main->cbEXE->currentText().toStdString(), "ZELTA.EXE");
    EXPECT_FALSE(main->cbxNoFMV->isChecked());
    EXPECT_FALSE(main->cbFullScreen->isChecked());
    EXPECT_FALSE(main->cbWindowed->isChecked());
    EXPECT_EQ(language->Language, "English (Default)");
    EXPECT_FALSE(folder.Exists("settings.ini")) << "reading creates nothing";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, LoadSelectsTheExecutableWithoutRegardToCaseAndSetsTheScreenPair) {
    FillExecutables({"A.EXE", "ZELTA.EXE", "ZELTA_D3D.EXE"});
    folder.Write(
        "settings.ini",
        "[config]\nversion=zelta_d3d.exe\nwindowed=1\nfullscreen=1\ngodmode=2\nlang=Deutsch\n");
    main->LoadOptions(main->SettingsFile(), true);
    EXPECT_EQ(main->cbEXE->currentIndex(), 2);
    EXPECT_TRUE(main->cbFullScreen->isChecked()) << "fullscreen is set last and wins";
    EXPECT_FALSE(main->cbWindowed->isChecked());
    EXPECT_TRUE(main->cbxGodMode->isChecked());
    EXPECT_EQ(language->Language, "Deutsch");

    folder.Write("settings.ini", "[config]\nversion=MISSING.EXE\nwindowed=1\nfullscreen=0\n");
    main->LoadOptions(main->SettingsFile(), true);
    EXPECT_EQ(main->cbEXE->currentIndex(), 2) << "an unlisted executable keeps the selection";
    EXPECT_TRUE(main->cbWindowed->isChecked());
    EXPECT_FALSE(main->cbFullScreen->isChecked());

    folder.Write("settings.ini", "[config]\nwindowed=0\nfullscreen=0\n");
    main->LoadOptions(main->SettingsFile(), false);
    EXPECT_FALSE(main->cbWindowed->isChecked());
    EXPECT_FALSE(main->cbFullScreen->isChecked()) << "both off leaves neither checked";
    EXPECT_EQ(main->cbEXE->currentIndex(), 2);
}

TEST_F(MainWindowTest, ExitSavesEveryOptionThenCloses) {
    FillExecutables({"ZELTA.EXE", "ZELTA_D3D.EXE"});
    main->show();
    main->cbEXE->setCurrentIndex(1);
    main->cbxSettingsDialog->setChecked(true);
    main->cbxDebugKeys->setChecked(true);
    TfrmMain::SetRadioChecked(main->cbWindowed, true);
    language->SetLanguage("Deutsch");
    main->btnExit->click();
    EXPECT_EQ(
        folder.Read("settings.ini"),
        "[config]\r\nversion=ZELTA_D3D.EXE\r\nsettings=1\r\nlevel=0\r\ngodmode=0\r\ndebugkeys=1\r\n"
        "nofmv=0\r\nwindowed=1\r\nfullscreen=0\r\nlang=Deutsch\r\n");
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MainWindowTest, SavingWithNoExecutableListedWritesAnEmptyVersion) {
    main->SaveOptions(main->SettingsFile(), true);
    EXPECT_NE(folder.Read("settings.ini").find("version=\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, TheCloseBoxSavesNothing) {
    folder.Write("settings.ini", "[config]\nnofmv=0\n");
    main->show();
    main->cbxNoFMV->setChecked(true);
    main->close();
    EXPECT_EQ(folder.Read("settings.ini"), "[config]\nnofmv=0\n");
}

TEST_F(MainWindowTest, AFailedSaveIsReportedAndKeepsTheWindowOpen) {
    Destroy();
    Create(folder.Path() + "/missing-folder");
    main->show();
    main->btnExit->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "application");
    EXPECT_EQ(messages.shown[0].text,
              "Unable to write to " + folder.Path() + "/missing-folder/settings.ini");
    EXPECT_TRUE(main->isVisible());
}

TEST_F(MainWindowTest, ResetAsksFirstAndErasesOnlyTheOptions) {
    FillExecutables({"A.EXE", "ZELTA.EXE"});
    const std::string tables = "[levels]\r\nK1=The Keep\r\n[other]\r\nx=1\r\n";
    folder.Write("settings.ini",
                 "[config]\r\nversion=A.EXE\r\nnofmv=1\r\nfullscreen=1\r\nlang=Deutsch\r\n" +
                     tables);
    main->FormShow();
    ASSERT_TRUE(main->cbxNoFMV->isChecked());
    ASSERT_EQ(main->cbEXE->currentIndex(), 0);

    messages.confirmAnswer = false;
    main->btnReset->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "confirm");
    EXPECT_EQ(messages.shown[0].text,
              "Do you really want to reset application to default settings?");
    EXPECT_TRUE(main->cbxNoFMV->isChecked());
    EXPECT_NE(folder.Read("settings.ini").find("nofmv=1"), std::string::npos);

    messages.confirmAnswer = true;
    main->btnReset->click();
    EXPECT_EQ(folder.Read("settings.ini"), tables);
    EXPECT_FALSE(main->cbxNoFMV->isChecked());
    EXPECT_FALSE(main->cbFullScreen->isChecked());
    EXPECT_EQ(main->cbEXE->currentText().toStdString(), "ZELTA.EXE");
    EXPECT_EQ(language->Language, "English (Default)");
}

// An installed copy: the first "Exit" makes the user's private settings folder and saves there,
// the user's own language file wins, and readme.txt stays the installed one.
TEST_F(MainWindowTest, AnInstalledCopyKeepsEachUsersFilesInTheUsersFolders) {
    Destroy();
    UtilityPlaces places;
    places.utilityFolder = folder / "share/zeltasc";
    places.settingsFolder = folder / "home/.config/zeltasc";
    places.userLanguageFolder = folder / "home/.local/share/zeltasc";
    places.dialogFolder = folder / "home";
    folder.Write("share/zeltasc/Deutsch.lng", "[Buttons]\nExit=E&nde\nAbout=&Info\n");
    folder.Write("home/.local/share/zeltasc/Deutsch.lng", "[Buttons]\nExit=&Schluss\n");
    Create(places);
    main->show();
    main->ApplyLanguage("Deutsch");
    EXPECT_EQ(main->btnExit->text().toStdString(), "&Schluss");
    EXPECT_EQ(main->btnAbout->text().toStdString(), "&About") << "one file, the user's";
    language->SetLanguage("Deutsch");
    main->btnExit->click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_NE(folder.Read("home/.config/zeltasc/settings.ini").find("lang=Deutsch\r\n"),
              std::string::npos);
    EXPECT_FALSE(folder.Exists("share/zeltasc/settings.ini"));
    main->btnReadMe->click();
    ASSERT_EQ(starter.opened.size(), 1u);
    EXPECT_EQ(starter.opened[0], folder / "share/zeltasc\\readme.txt");
}

TEST_F(MainWindowTest, ReadMeOpensTheFileOfTheUtilityFolder) {
    main->stxDestFolder->setText(QStringLiteral("C:\\Games\\ZELTA\\"));
    main->btnReadMe->click();
    ASSERT_EQ(starter.opened.size(), 1u);
    EXPECT_EQ(starter.opened[0], folder.Path() + "\\readme.txt");
}

TEST_F(MainWindowTest, RefusalsAreShownInTheirBoxesAndStartNothing) {
    FillExecutables({"ZELTA.EXE"});
    main->cbxLevels->setChecked(true);
    EXPECT_FALSE(main->BuildGameArguments().has_value());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "information");
    EXPECT_EQ(messages.shown[0].text, "Please select level to play");

    main->cbxLevels->setChecked(false);
    main->cbxPlayDemo->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbPlayXPD, true);
    main->edtPlayDemo->setText(QString::fromStdString(folder / "gone.xpd"));
    EXPECT_FALSE(main->BuildGameArguments().has_value());
    EXPECT_EQ(messages.shown.back().kind, "error");
    EXPECT_EQ(messages.shown.back().text,
              "The following file could not be found:\r\r" + (folder / "gone.xpd"));
}

TEST_F(MainWindowTest, ArgumentsComeFromTheControlsAndTheNameTables) {
    folder.Write("settings.ini", "[levels]\nK1=The Keep\n");
    FillExecutables({"ZELTA.EXE"});
    main->stxDestFolder->setText(QStringLiteral("C:\\Games\\ZELTA\\"));
    main->cbLevel->addItem(QStringLiteral("The Keep"));
    main->cbLevel->setCurrentIndex(0);
    main->cbxLevels->setChecked(true);
    main->cbxNoFMV->setChecked(true);
    TfrmMain::SetRadioChecked(main->cbFullScreen, true);
    auto command = main->BuildGameArguments();
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->program, "C:\\Games\\ZELTA\\bin\\ZELTA.EXE");
    EXPECT_EQ(command->arguments, "-level=data\\maps\\K1 -nofmv -fullscreen");
}

TEST_F(MainWindowTest, RadioButtonsSetByProgramClearTheirPartnerAndCanBothBeCleared) {
    TfrmMain::SetRadioChecked(main->cbFullScreen, true);
    TfrmMain::SetRadioChecked(main->cbWindowed, true);
    EXPECT_FALSE(main->cbFullScreen->isChecked());
    TfrmMain::SetRadioChecked(main->cbWindowed, false);
    EXPECT_FALSE(main->cbWindowed->isChecked());
    EXPECT_FALSE(main->cbFullScreen->isChecked());
    EXPECT_TRUE(main->cbWindowed->autoExclusive());
}

// Game folders, file names, language files and media errors are data: markup in them is shown
// as the characters it is made of.
TEST_F(MainWindowTest, DataIsShownAsPlainText) {
    const QString markup = QStringLiteral("/home/ann/<b>games</b>/");
    TVexaObjectControls bar;
    const std::pair<const char*, QLabel*> labels[] = {
        {"stxDestFolder", main->stxDestFolder}, {"stxVersion", main->stxVersion},
        {"lblAuthor", language->lblAuthor},     {"lblEmail", language->lblEmail},
        {"lblWebSite", language->lblWebSite},   {"status", bar.StatusLabel()},
        {"duration", bar.DurationLabel()},      {"position", bar.PositionLabel()}};
    for (const auto& [name, label] : labels) {
        label->setText(markup);
        EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(markup))
            << name << " rendered its text as markup";
    }
    Qt::TextFormat shown = Qt::AutoText;
    QTimer answer; // answers the box once it is up
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answer.stop();
            shown = box->textFormat();
            box->done(QMessageBox::Ok);
        }
    });
    answer.start(0);
    QtMessageBoxes().Error("The following file could not be found:\r\r" + markup.toStdString());
    EXPECT_EQ(shown, Qt::PlainText) << "the message box";
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

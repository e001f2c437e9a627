#include "lang/LanguageFile.h"
#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "resources/Fonts.h"
#include "support/FakeServices.h"
#include "support/ProgramWindows.h"
#include "support/TempFolder.h"
#include "support/TestPictures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleOption>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace {

QString CaptionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return {};
}

// A control's place in the design and its caption (nullptr: not checked).
struct DesignedControl {
    QWidget* widget;
    QRect place; // width/height 0 = not checked
    const char* text;
};

template <size_t N> void ExpectDesignedControls(const DesignedControl (&controls)[N]) {
    for (const DesignedControl& c : controls) {
        const QRect g = c.widget->geometry();
        EXPECT_EQ(g.topLeft(), c.place.topLeft()) << c.widget->objectName().toStdString();
        if (c.place.width()) {
            EXPECT_EQ(g.size(), c.place.size()) << c.widget->objectName().toStdString();
        }
        if (c.text) {
            EXPECT_EQ(CaptionOf(c.widget).toStdString(), c.text);
        }
    }
}

// The width a control's caption needs in the control's own font, as the style lays it out
// (indicator or glyph, spacing and margins included), and the width the control has.
std::pair<int, int> NeededAndAvailableWidth(QWidget* w) {
    const QFontMetrics metrics(w->font());
    const int text = metrics.size(Qt::TextShowMnemonic, CaptionOf(w)).width();
    QStyle* style = w->style();
    if (auto* label = qobject_cast<QLabel*>(w))
        return {text, label->contentsRect().width()};
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.textAlignment = group->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        return {title.right() + 1 + title.left(), group->width()}; // the same inset at the end
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (qobject_cast<QPushButton*>(w)) {
        const int glyph = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return {text + glyph + 2 * style->pixelMetric(QStyle::PM_ButtonMargin, &option, w),
                w->width()};
    }
    const auto type = qobject_cast<QRadioButton*>(w) ? QStyle::CT_RadioButton : QStyle::CT_CheckBox;
    return {style->sizeFromContents(type, &option, QSize(text, metrics.height()), w).width(),
            w->width()};
}

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(SCU_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A file that sets every key: each text is "T" and its step's row number, so a text that lands
// on the wrong control shows.
std::string EveryKeyFile() {
    std::string text = "[Layout]\nFont=DejaVu Serif\nSize=12\n";
    std::string section;
    int row = 0;
    for (const CatalogueText& entry : TextCatalogue()) {
        if (section != entry.section) {
            section = entry.section;
            text += "[" + section + "]\n";
        }
        text += std::string(entry.key) + "=T" + std::to_string(++row) + "\n";
    }
    return text;
}

class LanguageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.messages = &messages;
        services.starter = &starter;
        main = std::make_unique<TfrmMain>(services, folder.Path());
        frmMain = main.get();
        browse = std::make_unique<TfrmBrowse>(main.get());
        frmBrowse = browse.get();
        about = std::make_unique<TfrmAbout>(main.get());
        frmAbout = about.get();
        language = std::make_unique<TfrmLanguage>(folder.Path(), &starter, main.get());
        frmLanguage = language.get();
    }
    void TearDown() override { DestroyProgramWindows(main, browse, about, language); }

    // The controls of each step, in order (the first of a row takes the text, the rest copy it).
    std::vector<std::vector<QWidget*>> Steps() const {
        TfrmMain* m = main.get();
        return {
            {m->btnScanLevel, m->btnScanScene, m->btnScanFMV, m->btnRecordScan, m->btnPlayRescan},
            {m->btnBrowseDemo, m->btnBrowsePlay},
            {m->btnAbout},
            {m->btnReadMe},
            {m->btnReset},
            {m->btnPlay},
            {m->btnExit},
            {m->btnBrowse},
            {browse->btnOK, language->btnOK},
            {browse->btnCancel, language->btnCancel},
            {m->btnLanguage},
            {m->gbGeneral},
            {m->lblGameDest},
            {m->lblCPU},
            {m->lblVersion},
            {m->gbMisc},
            {m->cbxSettingsDialog},
            {m->cbxLevelDialog},
            {m->cbxNoFMV},
            {m->cbxDebugKeys},
            {m->cbxGodMode},
            {m->gbScreen},
            {m->cbFullScreen},
            {m->cbWindowed},
            {m->cbxChangeResolution},
            {m->lblAt},
            {m->cbxLevels},
            {m->rbLevel},
            {m->rbCutScene},
            {m->rbFMV},
            {m->cbxControls},
            {m->cbxRecordDemo},
            {m->lblRecord},
            {m->rbPAD},
            {m->rbXPD},
            {m->lblRecordFileName},
            {m->cbxPlayDemo},
            {m->rbPlayPAD},
            {m->rbPlayXPD},
        };
    }

    std::vector<QWidget*> OwnFontControls() const {
        TfrmMain* m = main.get();
        return {m->cbEXE,  m->cbLevel,      m->cbCutScene, m->cbFMV,         m->cbRecord,
                m->cbPlay, m->cbResolution, m->cbHz,       m->stxDestFolder, m->stxVersion};
    }

    // Runs the dialog's modal loop and lets act() operate it once it shows.
    void WithDialogOpen(std::function<void()> act) {
        // act is kept by value: the timer fires after the caller's temporary is gone.
        QTimer::singleShot(0, language.get(), [this, act = std::move(act)] {
            act();
            if (language->isVisible())
                language->reject();
        });
    }

    TempFolder folder;
    FakeMessageBoxes messages;
    FakeProgramStarter starter;
    MainServices services;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmBrowse> browse;
    std::unique_ptr<TfrmAbout> about;
    std::unique_ptr<TfrmLanguage> language;
};

TEST_F(LanguageWindowTest, AFileSettingEveryKeyReachesEveryStepWithItsAdditions) {
    folder.Write("Test.lng", EveryKeyFile());
    main->show();
    main->cbxLevels->setChecked(true);
    main->cbxNoFMV->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbCutScene, true);

    std::map<QWidget*, QRect> places;
    std::map<QWidget*, bool> enabled;
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    const auto steps = Steps();
    for (const auto& row : steps)
        for (QWidget* w : row) {
            places[w] = w->geometry();
            enabled[w] = w->isEnabled();
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                spies.push_back(std::make_unique<QSignalSpy>(b, &QAbstractButton::toggled));
        }
    std::map<QWidget*, QFont> ownFonts;
    for (QWidget* w : OwnFontControls())
        ownFonts[w] = w->font();
    const QFont dialogFont = language->font();

    main->ApplyLanguage("Test");

    const std::map<int, std::pair<const char*, const char*>> additions = {
        {12, {" ", " "}}, {13, {"", ":"}}, {14, {"", ":"}}, {15, {"", ":"}}, {16, {" ", " "}},
        {22, {" ", " "}}, {27, {" ", ""}}, {32, {" ", ""}}, {37, {" ", ""}}};
    for (size_t i = 0; i < steps.size(); ++i) {
        const int row = int(i) + 1;
        std::string expected = "T" + std::to_string(row);
        if (auto it = additions.find(row); it != additions.end())
            expected = it->second.first + expected + it->second.second;
        for (QWidget* w : steps[i])
            EXPECT_EQ(CaptionOf(w).toStdString(), expected)
                << "step " << row << " " << w->objectName().toStdString();
    }
    for (const auto& [w, place] : places) {
        EXPECT_EQ(w->geometry(), place) << w->objectName().toStdString() << " stays where it was";
        EXPECT_EQ(w->isEnabled(), enabled[w]) << w->objectName().toStdString();
    }
    for (const auto& spy : spies)
        EXPECT_EQ(spy->count(), 0) << "no state changes";
    EXPECT_TRUE(main->cbxLevels->isChecked());
    EXPECT_TRUE(main->cbxNoFMV->isChecked());
    EXPECT_TRUE(main->rbCutScene->isChecked());
    EXPECT_EQ(about->btnOK->text().toStdString(), "&Okay") << "the About window keeps its button";

    EXPECT_EQ(main->font().family().toStdString(), "DejaVu Serif");
    EXPECT_EQ(main->font().pointSize(), 12);
    EXPECT_EQ(main->btnPlay->font().pointSize(), 12);
    EXPECT_EQ(main->gbMisc->font().pointSize(), 12);
    EXPECT_EQ(main->lblAt->font().family().toStdString(), "DejaVu Serif");
    for (const auto& [w, font] : ownFonts)
        EXPECT_EQ(w->font(), font) << w->objectName().toStdString() << " keeps its own font";
    EXPECT_TRUE(main->stxDestFolder->font().bold());
    EXPECT_EQ(language->font(), dialogFont) << "the dialogs' fonts are not touched";
}

TEST_F(LanguageWindowTest, AFileSettingNoTextShowsTheCatalogueDefaultsAndTheDesignFont) {
    folder.Write("Big.lng", "[Layout]\nSize=12\n");
    folder.Write("Bare.lng", "[Other]\nExit=nothing\n");
    main->ApplyLanguage("Big");
    ASSERT_EQ(main->font().pointSize(), 12);

    main->ApplyLanguage("Bare");
    EXPECT_EQ(main->font().family().toStdString(), "Tahoma");
    EXPECT_EQ(main->font().pointSize(), 8);
    const auto steps = Steps();
    const std::vector<std::string> defaults = LanguageFile::FromText("").Captions();
    for (size_t i = 0; i < steps.size(); ++i)
        for (QWidget* w : steps[i])
            EXPECT_EQ(CaptionOf(w).toStdString(), defaults[i]) << w->objectName().toStdString();
    // The three controls whose design text differs from the catalogue default.
    EXPECT_EQ(main->btnReadMe->text().toStdString(), "&Read &Me");
    EXPECT_EQ(main->cbxLevels->text().toStdString(), " Play Level/ Cutscene/ FMV");
    EXPECT_EQ(main->lblRecordFileName->text().toStdString(), "Demo will be saved as");
    EXPECT_EQ(main->gbScreen->title().toStdString(), " Screen Mode ");
}

TEST_F(LanguageWindowTest, AMissingFileChangesNothingAndASecondLanguageReplacesTheFirst) {
    main->ApplyLanguage("English (Default)");
    EXPECT_EQ(main->btnReadMe->text().toStdString(), "Read &Me")
        << "no file: the design texts stay";
    main->ApplyLanguage("");
    EXPECT_EQ(main->cbxLevels->text().toStdString(), " Play Level / Cutscene / FMV");

    folder.Write("Deutsch.lng",
                 "[Layout]\nSize=9\n[Buttons]\nRescan=&Scan again\nExit=\n[Levels]\nTitle=Spiel\n");
    folder.Write("Other.lng", "[Buttons]\nAbout=Info\n");
    main->ApplyLanguage("Deutsch");
    EXPECT_EQ(main->btnPlayRescan->text().toStdString(), "&Scan again");
    EXPECT_EQ(main->btnExit->text().toStdString(), "");
    EXPECT_EQ(main->cbxLevels->text().toStdString(), " Spiel");

    main->ApplyLanguage("Other");
    EXPECT_EQ(main->btnAbout->text().toStdString(), "Info");
    EXPECT_EQ(main->btnPlayRescan->text().toStdString(), "&Rescan")
        << "not the first language's text";
    EXPECT_EQ(main->btnExit->text().toStdString(), "E&xit");
    EXPECT_EQ(main->font().pointSize(), 8);

    std::filesystem::remove(folder / "Other.lng");
    main->ApplyLanguage("Other");
    EXPECT_EQ(main->btnAbout->text().toStdString(), "Info") << "a deleted file changes nothing";
}

TEST_F(LanguageWindowTest, StoredLanguageIsAppliedWhenTheSettingsAreLoaded) {
    folder.Write("Deutsch.lng", ReadSource("resources/Deutsch.lng"));
    folder.Write("settings.ini", "[config]\nlang=deutsch\n");
    main->LoadOptions(main->SettingsFile(), true);
    EXPECT_EQ(language->Language, "deutsch");
    EXPECT_EQ(main->btnPlay->text().toStdString(), "&Spiel starten");
    EXPECT_EQ(main->btnBrowseDemo->text(), QString::fromUtf8("&W\u00e4hlen"))
        << "UTF-8 text shows as written";
}

TEST_F(LanguageWindowTest, TheSampleFilesTranslateEveryText) {
    for (const char* name : {"Deutsch", "Francais"}) {
        const std::string bytes = ReadSource(std::string("resources/") + name + ".lng");
        ASSERT_FALSE(bytes.empty()) << name;
        const LanguageFile file = LanguageFile::FromText(bytes);
        for (const CatalogueText& entry : TextCatalogue()) {
            const std::string text = file.Text(entry.section, entry.key, "<missing>");
            EXPECT_NE(text, "<missing>") << name << " " << entry.section << "/" << entry.key;
            EXPECT_NE(text, entry.defaultText) << name << " " << entry.section << "/" << entry.key;
            EXPECT_EQ(std::string(entry.defaultText).find('&') != std::string::npos,
                      text.find('&') != std::string::npos)
                << name << " " << entry.key << ": accelerators where the English text has one";
            EXPECT_TRUE(QString::fromUtf8(text.c_str()).isValidUtf16()) << name;
        }
        const LanguageLayout layout = file.Layout();
        EXPECT_NE(layout.author, "Unknown") << name;
        EXPECT_FALSE(layout.email.empty()) << name;
        EXPECT_FALSE(layout.site.empty()) << name;
        EXPECT_GT(layout.size, 0) << name;
    }
    const std::string french = ReadSource("resources/Francais.lng");
    EXPECT_EQ(QString::fromLocal8Bit(LanguageFile::FromText(french).Text("Screen", "1", "")),
              QString::fromUtf8("Plein \u00e9cran"));
}

TEST_F(LanguageWindowTest, TheDialogListsTheFilesAndSelectsTheCurrentLanguageIgnoringCase) {
    folder.Write("Francais.lng", "");
    folder.Write("Deutsch.lng", "");
    folder.Write("readme.txt", "");
    language->show();
    ASSERT_EQ(language->cbxLanguage->count(), 2);
    EXPECT_EQ(language->cbxLanguage->itemText(0).toStdString(), "Deutsch");
    EXPECT_EQ(language->cbxLanguage->itemText(1).toStdString(), "Francais");
    EXPECT_EQ(language->cbxLanguage->currentIndex(), -1) << "English (Default) has no file";
    EXPECT_EQ(language->cbxLanguage->currentText().toStdString(), "");
    language->hide();

    language->SetLanguage("FRANCAIS");
    folder.Write("Italiano.lng", "");
    language->show();
    EXPECT_EQ(language->cbxLanguage->count(), 3) << "rebuilt at every opening";
    EXPECT_EQ(language->cbxLanguage->currentText().toStdString(), "Francais");
    EXPECT_EQ(language->lblAuthor->text().toStdString(), "ZELTA SCU team")
        << "selecting runs no pick";
    language->hide();

    std::filesystem::remove(folder / "Deutsch.lng");
    std::filesystem::remove(folder / "Francais.lng");
    std::filesystem::remove(folder / "Italiano.lng");
    language->show();
    EXPECT_EQ(language->cbxLanguage->count(), 0);
}

TEST_F(LanguageWindowTest, OkayTakesTheSelectionCancelAndTheCloseBoxKeepTheLanguage) {
    folder.Write("Deutsch.lng",
                 "[Layout]\nAuthor=Jana\nEmail=jana@example.org\nSite=www.example.org/de\n");
    folder.Write("Francais.lng", "[Layout]\nAuthor=\xC3\x89lodie\n");

    language->show();
    language->btnOK->click();
    EXPECT_EQ(language->Language, "") << "nothing selected";
    EXPECT_FALSE(language->isVisible());

    language->SetLanguage("English (Default)");
    language->show();
    language->cbxLanguage->setCurrentIndex(0);
    emit language->cbxLanguage->activated(0); // the user's pick
    EXPECT_EQ(language->lblAuthor->text().toStdString(), "Jana");
    EXPECT_EQ(language->lblEmail->text().toStdString(), "jana@example.org");
    EXPECT_EQ(language->lblWebSite->text().toStdString(), "www.example.org/de");
    language->btnCancel->click();
    EXPECT_EQ(language->Language, "English (Default)");

    language->show();
    EXPECT_EQ(language->lblAuthor->text().toStdString(), "Jana")
        << "the last pick's translator stays";
    language->cbxLanguage->setCurrentIndex(1);
    emit language->cbxLanguage->activated(1);
    EXPECT_EQ(language->lblAuthor->text(), QString::fromUtf8("\u00c9lodie"));
    EXPECT_EQ(language->lblEmail->text().toStdString(), "");
    EXPECT_EQ(language->lblWebSite->text().toStdString(), "");
    language->close();
    EXPECT_EQ(language->Language, "English (Default)");

    language->show();
    language->cbxLanguage->setCurrentIndex(1);
    language->btnOK->click();
    EXPECT_EQ(language->Language, "Francais");
}

TEST_F(LanguageWindowTest, TheLinkLinesOpenMailAndWebLinksEvenWhenEmpty) {
    folder.Write("Deutsch.lng", "[Layout]\nEmail=jana@example.org\nSite=www.example.org/de\n");
    folder.Write("Leer.lng", "[Layout]\nAuthor=Niemand\n");
    language->show();
    QTest::mouseClick(language->lblEmail, Qt::LeftButton);
    QTest::mouseClick(language->lblWebSite, Qt::LeftButton);
    emit language->cbxLanguage->activated(0);
    language->cbxLanguage->setCurrentIndex(0);
    emit language->cbxLanguage->activated(0);
    QTest::mouseClick(language->lblEmail, Qt::LeftButton);
    QTest::mouseClick(language->lblWebSite, Qt::LeftButton);
    language->cbxLanguage->setCurrentIndex(1);
    emit language->cbxLanguage->activated(1);
    QTest::mouseClick(language->lblEmail, Qt::LeftButton);
    QTest::mouseClick(language->lblWebSite, Qt::LeftButton);
    QTest::mouseClick(language->lblAuthor, Qt::LeftButton);
    EXPECT_EQ(starter.opened,
              (std::vector<std::string>{
                  "mailto:scu@example.org", "http://www.example.org/zelta-scu",
                  "mailto:jana@example.org", "http://www.example.org/de", "mailto:", "http://"}));
}

TEST_F(LanguageWindowTest, TheLanguageButtonAppliesTheDialogsLanguageHoweverItCloses) {
    folder.Write("Deutsch.lng", ReadSource("resources/Deutsch.lng"));
    folder.Write("Francais.lng", ReadSource("resources/Francais.lng"));
    main->show();

    WithDialogOpen([&] {
        language->cbxLanguage->setCurrentIndex(0);
        language->btnOK->click();
    });
    main->btnLanguage->click();
    EXPECT_EQ(language->Language, "Deutsch");
    EXPECT_EQ(main->btnExit->text().toStdString(), "&Beenden");
    EXPECT_EQ(browse->btnCancel->text().toStdString(), "&Abbruch");

    // Switching while the file under the current name changed: cancelling re-applies it.
    folder.Write("Deutsch.lng", "[Buttons]\nExit=Ende\n");
    WithDialogOpen([&] { language->cbxLanguage->setCurrentIndex(1); });
    main->btnLanguage->click();
    EXPECT_EQ(language->Language, "Deutsch") << "cancelled";
    EXPECT_EQ(main->btnExit->text().toStdString(), "Ende");

    WithDialogOpen([&] {
        language->cbxLanguage->setCurrentIndex(1);
        language->btnOK->click();
    });
    main->btnLanguage->click();
    EXPECT_EQ(main->btnExit->text().toStdString(), "&Quitter");
    EXPECT_EQ(language->btnOK->text().toStdString(), "&Valider");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LanguageWindowTest, DialogIsBuiltAsDesigned) {
    const DesignedControl controls[] = {
        {language->gbLanguage, {0, 0, 278, 137}, " Change program language "},
        {language->lblLanguage, {16, 24, 0, 0}, "Select Language:"},
        {language->cbxLanguage, {112, 21, 153, 21}, nullptr},
        {language->bvlSplitter, {16, 54, 249, 5}, nullptr},
        {language->lblAutorTitle, {16, 64, 0, 0}, "Author: "},
        {language->lblEmailTitle, {16, 88, 0, 0}, "E-Mail:"},
        {language->lblWebSiteTitle, {16, 112, 0, 0}, "Web Site:"},
        {language->lblAuthor, {80, 64, 0, 0}, "ZELTA SCU team"},
        {language->lblEmail, {80, 88, 0, 0}, "scu@example.org"},
        {language->lblWebSite, {80, 112, 0, 0}, "www.example.org/zelta-scu"},
        {language->btnOK, {106, 146, 73, 25}, "&Okay"},
        {language->btnCancel, {194, 146, 73, 25}, "&Cancel"},
    };
    ExpectDesignedControls(controls);
    EXPECT_EQ(language->size(), QSize(278, 181));
    EXPECT_EQ(language->windowTitle().toStdString(), "Language");
    EXPECT_EQ(language->cbxLanguage->count(), 1);
    EXPECT_EQ(language->cbxLanguage->currentText().toStdString(), "English (Default)");
    EXPECT_FALSE(language->cbxLanguage->isEditable());
    EXPECT_TRUE(language->lblAuthor->font().bold());
    EXPECT_FALSE(language->lblAuthor->font().underline());
    EXPECT_TRUE(language->lblEmail->font().underline());
    EXPECT_TRUE(language->lblWebSite->font().bold());
    EXPECT_EQ(language->lblEmail->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(language->btnOK->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(language->btnOK->toolTip().toStdString(), "Accept changes");
    EXPECT_EQ(language->btnCancel->toolTip().toStdString(), "Discard changes");
}

// Captions never resize their controls, so every shipped translation must fit the designed
// widths (the fonts are fixed at 96 dpi); the pictures are saved when SCU_TEST_PICTURES asks.
TEST_F(LanguageWindowTest, EveryShippedTranslationFitsItsControls) {
    main->stxDestFolder->setText(QStringLiteral("C:\\Games\\ZELTA\\"));
    main->show();
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(SCU_SOURCE_DIR) + "/resources")) {
        if (entry.path().extension() != ".lng")
            continue;
        ++files;
        const std::string name = entry.path().stem().string();
        folder.Write(name + ".lng", ReadSource("resources/" + name + ".lng"));
        main->ApplyLanguage(name);
        for (const auto& row : Steps())
            for (QWidget* w : row) {
                const auto [needed, available] = NeededAndAvailableWidth(w);
                EXPECT_LE(needed, available)
                    << name << " " << w->objectName().toStdString() << " \""
                    << CaptionOf(w).toStdString() << "\" is cut off";
            }
        SavePictureIfAsked(main.get(), QString::fromStdString("main-" + name));
    }
    EXPECT_GE(files, 2);
    language->SetLanguage("Francais");
    language->show();
    emit language->cbxLanguage->activated(language->cbxLanguage->currentIndex());
    SavePictureIfAsked(language.get(), QStringLiteral("language-dialog"));
    about->show();
    SavePictureIfAsked(about.get(), QStringLiteral("about"));
}

// "&" in a label text marks the accelerator as on the buttons; "&&" shows one "&"; markup is text.
TEST_F(LanguageWindowTest, AmpersandsInLabelTextsMarkAccelerators) {
    folder.Write("Test.lng", "[General]\n1=&Game folder\n2=Salt && pepper\n[Screen]\n4=&at\n"
                             "[Record]\n1=&Level\n4=<b>File</b>\n");
    main->show();
    main->ApplyLanguage("Test");
    const std::pair<QLabel*, const char*> shown[] = {
        {main->lblGameDest, "Game folder:"},
        {main->lblCPU, "Salt & pepper:"},
        {main->lblAt, "at"},
        {main->lblRecord, "Level"},
        {main->lblRecordFileName, "<b>File</b>"},
    };
    for (const auto& [label, text] : shown) {
        QLabel plain; // what the label must show, without any accelerator mark
        plain.setFont(label->font());
        plain.setTextFormat(Qt::PlainText);
        plain.setText(QString::fromLatin1(text));
        EXPECT_EQ(label->sizeHint().width(), plain.sizeHint().width())
            << label->objectName().toStdString() << " shows \"" << text << "\"";
    }
    SavePictureIfAsked(main.get(), QStringLiteral("main-accelerators"));
    // The accelerator moves the focus to the control that the label names and never presses
    // it: a mnemonic's click (animateClick) would arrive about 100 ms later, so wait well past
    // it, closing any dialog that a press would open.
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(20);
    QSignalSpy pressed(main->btnBrowse, &QAbstractButton::clicked);
    QTest::keyClick(main.get(), Qt::Key_G, Qt::AltModifier);
    QTest::qWait(500);
    EXPECT_EQ(pressed.count(), 0) << "Alt+G pressed \"Browse Folder\"";
    EXPECT_TRUE(main->stxDestFolder->hasFocus());
    for (QLabel* label : main->findChildren<QLabel*>())
        EXPECT_FALSE(qobject_cast<QAbstractButton*>(label->buddy()))
            << label->objectName().toStdString() << " would press its buddy";
}

TEST_F(LanguageWindowTest, TheDialogsOpenCentredOnTheScreen) {
    main->move(0, 0);
    main->show();
    const QPoint centre = main->screen()->geometry().center();
    for (QDialog* dialog : std::initializer_list<QDialog*>{about.get(), language.get()}) {
        dialog->show();
        EXPECT_LE((dialog->frameGeometry().center() - centre).manhattanLength(), 1)
            << dialog->objectName().toStdString() << " at " << dialog->x() << "," << dialog->y();
        dialog->hide();
    }
}

TEST_F(LanguageWindowTest, AboutIsBuiltAsDesigned) {
    const DesignedControl controls[] = {
        {about->gbAbout, {0, 0, 290, 105}, " About program "},
        {about->pnlAbout, {10, 20, 77, 77}, nullptr},
        {about->imgIcon, {1, 1, 74, 74}, nullptr},
        {about->lblTitle, {100, 24, 0, 0}, "ZELTA Startup Configuration Utility "},
        {about->lblVersion, {131, 43, 0, 0}, "version: 0.82 BETA"},
        {about->bvlSplitter, {96, 64, 185, 4}, nullptr},
        {about->Label1, {109, 79, 0, 0}, nullptr},
        {about->btnOK, {201, 111, 73, 25}, "&Okay"},
    };
    ExpectDesignedControls(controls);
    EXPECT_EQ(about->imgIcon->pixmap().size(), QSize(74, 74));
    EXPECT_FALSE(about->lblTitle->font().bold());
    EXPECT_FALSE(about->Label1->font().bold());
    EXPECT_FALSE(about->Label1->text().isEmpty());
    EXPECT_EQ(about->btnOK->toolTip().toStdString(), "Close window");
    // Title, version, bevel and credits lie inside the group, right of the picture.
    for (QWidget* w :
         {static_cast<QWidget*>(about->lblTitle), static_cast<QWidget*>(about->lblVersion),
          static_cast<QWidget*>(about->bvlSplitter), static_cast<QWidget*>(about->Label1)}) {
        EXPECT_TRUE(about->gbAbout->rect().contains(w->geometry()))
            << w->objectName().toStdString();
        EXPECT_GT(w->x(), about->pnlAbout->geometry().right()) << w->objectName().toStdString();
    }
}

// The language code stands below the launcher: it includes nothing of it.
TEST(LanguageCode, IncludesNothingOfTheLauncher) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(SCU_SOURCE_DIR) + "/lang")) {
        const std::string text = ReadSource("lang/" + entry.path().filename().string());
        EXPECT_EQ(text.find("#include \"launcher/"), std::string::npos)
            << entry.path().filename().string();
    }
}

} // namespace

int main(int argc, char** argv) {
    FixFontResolution();
    QApplication app(argc, argv);
    RegisterDesignFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

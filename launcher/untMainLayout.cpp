// The controls of the main window, placed as designed (absolute geometry, 545 x 523 client area).
#include "launcher/untMain.h"

#include "resources/DesignWidgets.h"
#include "resources/Glyphs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int kComboHeight = 21;

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title, QRect place) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    return box;
}

// Read-only text field with a sunken border, centred text.
QLabel* MakeStaticText(QWidget* parent, const char* name, const QString& text, QRect place,
                       bool bold) {
    auto* field = new QLabel(text, parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(place);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setAlignment(Qt::AlignCenter);
    field->setFont(DesignFont(bold));
    field->setTextFormat(Qt::PlainText); // a folder or file name is never markup
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return field;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect place,
                        Glyph glyph, const char* hint = nullptr) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    DecorateButton(button, glyph);
    if (hint)
        button->setToolTip(QLatin1String(hint));
    return button;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text, QRect place,
                     const char* hint = nullptr) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    if (hint)
        box->setToolTip(QLatin1String(hint));
    return box;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, QRect place) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    return button;
}

// Drop-down list without free text; the lists keep their own 8-point font whatever the
// window's font becomes.
QComboBox* MakeList(QWidget* parent, const char* name, QPoint at, int width, bool bold = false) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setGeometry(at.x(), at.y(), width, kComboHeight);
    list->setFont(DesignFont(bold));
    list->setEditable(false);
    return list;
}

QLineEdit* MakeReadOnlyEdit(QWidget* parent, const char* name, QPoint at, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(at.x(), at.y(), width, kComboHeight);
    edit->setReadOnly(true);
    return edit;
}

QFrame* MakeBevel(QWidget* parent, const char* name, QRect place) {
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(QLatin1String(name));
    bevel->setGeometry(place);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

// A group title check box lies over the group's frame and hides the line beneath it.
QCheckBox* MakeTitleCheck(QWidget* window, const char* name, const QString& text, QRect place) {
    auto* box = MakeCheck(window, name, text, place);
    box->setAutoFillBackground(true);
    box->raise();
    return box;
}

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
}
} // namespace

void TfrmMain::CreateControls() {
    setFont(DesignFont());

    // General Settings
    gbGeneral =
        MakeGroup(this, "gbGeneral", QStringLiteral(" General Settings "), {8, 0, 529, 100});
    lblGameDest = MakeDesignLabel(gbGeneral, "lblGameDest",
                                  QStringLiteral("ZELTA Destination Folder:"), {9, 19});
    stxDestFolder = MakeStaticText(gbGeneral, "stxDestFolder", QString(), {8, 35, 395, 18}, true);
    btnBrowse =
        MakeButton(gbGeneral, "btnBrowse", QStringLiteral("&Browse Folder"), {416, 32, 105, 23},
                   Glyph::Folder, "click here to browse for ZELTA destination folder");
    bvlGeneral = MakeBevel(gbGeneral, "bvlGeneral", {8, 60, 513, 2});
    lblCPU = MakeDesignLabel(gbGeneral, "lblCPU", QStringLiteral("Select game version:"), {8, 72});
    cbEXE = MakeList(gbGeneral, "cbEXE", {112, 69}, 113, true);
    lblVersion =
        MakeDesignLabel(gbGeneral, "lblVersion", QStringLiteral("Patch detected:"), {232, 72});
    stxVersion =
        MakeStaticText(gbGeneral, "stxVersion", QStringLiteral("unknown"), {313, 70, 89, 18}, true);
    btnLanguage =
        MakeButton(gbGeneral, "btnLanguage", QStringLiteral("&Language"), {416, 68, 105, 23},
                   Glyph::Language, "click here to choose your language");

    // Play Level / Cutscene / FMV
    gbLevels = MakeGroup(this, "gbLevels", QString(), {8, 104, 265, 203});
    rbLevel =
        MakeRadio(gbLevels, "rbLevel", QStringLiteral("Play specific level"), {8, 22, 177, 17});
    btnScanLevel =
        MakeButton(gbLevels, "btnScanLevel", QStringLiteral("&Rescan"), {192, 20, 65, 21},
                   Glyph::Rescan, "click here to rescan for available levels");
    cbLevel = MakeList(gbLevels, "cbLevel", {24, 46}, 233);
    rbCutScene = MakeRadio(gbLevels, "rbCutScene", QStringLiteral("Show specific cutscene"),
                           {8, 77, 177, 17});
    btnScanScene =
        MakeButton(gbLevels, "btnScanScene", QStringLiteral("&Rescan"), {191, 75, 65, 21},
                   Glyph::Rescan, "click here to rescan for available cutscenes");
    cbCutScene = MakeList(gbLevels, "cbCutScene", {24, 101}, 233);
    rbFMV = MakeRadio(gbLevels, "rbFMV", QStringLiteral("Show FMV via internal player"),
                      {8, 132, 177, 17});
    btnScanFMV = MakeButton(gbLevels, "btnScanFMV", QStringLiteral("&Rescan"), {191, 129, 65, 21},
                            Glyph::Rescan, "click here to rescan for available FVMs");
    cbFMV = MakeList(gbLevels, "cbFMV", {24, 156}, 233);
    cbxControls = MakeCheck(gbLevels, "cbxControls",
                            QStringLiteral("Show Player Controls / Trackbar"), {24, 181, 225, 17});
    rbLevel->setChecked(true);
    SetEnabled({rbLevel, btnScanLevel, cbLevel, rbCutScene, btnScanScene, cbCutScene, rbFMV,
                btnScanFMV, cbFMV, cbxControls},
               false);

    // Miscellaneous
    gbMisc = MakeGroup(this, "gbMisc", QStringLiteral(" Miscellaneous "), {280, 104, 257, 145});
    cbxSettingsDialog = MakeCheck(gbMisc, "cbxSettingsDialog",
                                  QStringLiteral("Show Game Settings dialog"), {8, 24, 241, 17});
    cbxLevelDialog = MakeCheck(gbMisc, "cbxLevelDialog", QStringLiteral("Show Select Level dialog"),
                               {8, 48, 241, 17});
    cbxNoFMV =
        MakeCheck(gbMisc, "cbxNoFMV", QStringLiteral("Skip FMV's (introduction and in-game mpegs)"),
                  {8, 72, 241, 17});
    cbxDebugKeys =
        MakeCheck(gbMisc, "cbxDebugKeys", QStringLiteral("Debug keys (Debug option in game menu)"),
                  {8, 96, 241, 17}, "DEBUGKEYS option");
    cbxGodMode = MakeCheck(gbMisc, "cbxGodMode",
                           QStringLiteral("All weapons and ammo (double pistols also)"),
                           {8, 120, 241, 17}, "GODMODE option");

    // Screen Mode
    gbScreen = MakeGroup(this, "gbScreen", QStringLiteral(" Screen Mode "), {280, 256, 257, 97});
    cbFullScreen =
        MakeRadio(gbScreen, "cbFullScreen", QStringLiteral("Full Screen"), {8, 19, 81, 17});
    cbWindowed = MakeRadio(gbScreen, "cbWindowed", QStringLiteral("Windowed (24/32-bit only)"),
                           {88, 19, 161, 17});
    bvlScreen = MakeBevel(gbScreen, "bvlScreen", {8, 39, 241, 5});
    cbxChangeResolution = MakeCheck(gbScreen, "cbxChangeResolution",
                                    QStringLiteral("Override Screen Resolution (Full Screen only)"),
                                    {8, 46, 241, 17});
    cbResolution = MakeList(gbScreen, "cbResolution", {24, 66}, 129);
    lblAt = MakeDesignLabel(gbScreen, "lblAt", QStringLiteral("at"), {159, 69});
    cbHz = MakeList(gbScreen, "cbHz", {176, 66}, 49);
    for (const char* rate : {"60", "70", "72", "75", "85", "100", "120"})
        cbHz->addItem(QLatin1String(rate));
    cbHz->setCurrentIndex(0);
    lblHz = MakeDesignLabel(gbScreen, "lblHz", QStringLiteral("Hz"), {231, 69});
    SetEnabled({cbxChangeResolution, cbResolution, lblAt, cbHz, lblHz}, false);

    // Record Your Demo
    gbRecordDemo = MakeGroup(this, "gbRecordDemo", QString(), {8, 312, 265, 169});
    lblRecord = MakeDesignLabel(gbRecordDemo, "lblRecord",
                                QStringLiteral("Please select level to record"), {24, 24});
    cbRecord = MakeList(gbRecordDemo, "cbRecord", {24, 48}, 233);
    btnRecordScan =
        MakeButton(gbRecordDemo, "btnRecordScan", QStringLiteral("&Rescan"), {190, 20, 65, 21},
                   Glyph::Rescan, "click here to rescan for available levels");
    rbPAD = MakeRadio(gbRecordDemo, "rbPAD", QStringLiteral("Save as PAD (fixed filename)"),
                      {8, 77, 251, 17});
    rbXPD =
        MakeRadio(gbRecordDemo, "rbXPD",
                  QStringLiteral("Save as XPD (you may browse for filename)"), {8, 99, 251, 17});
    rbPAD->setChecked(true);
    lblRecordFileName = MakeDesignLabel(gbRecordDemo, "lblRecordFileName",
                                        QStringLiteral("Demo will be saved as "), {24, 120});
    edtRecordDemo = MakeReadOnlyEdit(gbRecordDemo, "edtRecordDemo", {24, 138}, 160);
    btnBrowseDemo = MakeButton(gbRecordDemo, "btnBrowseDemo", QStringLiteral("&Browse"),
                               {190, 138, 65, 21}, Glyph::Browse, "click here to set XPD filename");
    SetEnabled({lblRecord, cbRecord, btnRecordScan, rbPAD, rbXPD, lblRecordFileName, edtRecordDemo,
                btnBrowseDemo},
               false);

    // Play Recorded Demo
    gbPlayDemo = MakeGroup(this, "gbPlayDemo", QString(), {280, 360, 257, 121});
    rbPlayPAD =
        MakeRadio(gbPlayDemo, "rbPlayPAD",
                  QStringLiteral("Select recorded demo to play (PAD file)"), {16, 21, 235, 17});
    rbPlayXPD =
        MakeRadio(gbPlayDemo, "rbPlayXPD",
                  QStringLiteral("Browse for recorded demo to play (XPD file)"), {16, 69, 235, 17});
    rbPlayPAD->setChecked(true);
    cbPlay = MakeList(gbPlayDemo, "cbPlay", {24, 40}, 153);
    btnPlayRescan =
        MakeButton(gbPlayDemo, "btnPlayRescan", QStringLiteral("&Rescan"), {185, 40, 65, 21},
                   Glyph::Rescan, "click here to rescan for recorded demos");
    edtPlayDemo = MakeReadOnlyEdit(gbPlayDemo, "edtPlayDemo", {24, 90}, 153);
    btnBrowsePlay =
        MakeButton(gbPlayDemo, "btnBrowsePlay", QStringLiteral("&Browse"), {185, 90, 65, 21},
                   Glyph::Browse, "click here to browse for recorded XPD file");
    SetEnabled({rbPlayPAD, rbPlayXPD, cbPlay, btnPlayRescan, edtPlayDemo, btnBrowsePlay}, false);

    // Group titles, over the frames of their groups
    cbxLevels = MakeTitleCheck(this, "cbxLevels", QStringLiteral(" Play Level / Cutscene / FMV"),
                               {19, 103, 166, 17});
    cbxRecordDemo = MakeTitleCheck(this, "cbxRecordDemo", QStringLiteral(" Record Your Demo"),
                                   {19, 311, 166, 17});
    cbxPlayDemo = MakeTitleCheck(this, "cbxPlayDemo", QStringLiteral(" Play Recorded Demo"),
                                 {294, 358, 155, 17});

    // Button row
    btnAbout = MakeButton(this, "btnAbout", QStringLiteral("&About"), {8, 491, 89, 25},
                          Glyph::About, "Shows program information");
    btnReadMe = MakeButton(this, "btnReadMe", QStringLiteral("Read &Me"), {116, 491, 89, 25},
                           Glyph::ReadMe, "Shows readme file");
    btnReset = MakeButton(this, "btnReset", QStringLiteral("Default"), {224, 491, 89, 25},
                          Glyph::Reset, "Reset settings to default");
    btnPlay = MakeButton(this, "btnPlay", QStringLiteral("&Start game"), {332, 491, 91, 25},
                         Glyph::Play, "Start ZELTA");
    btnExit = MakeButton(this, "btnExit", QStringLiteral("E&xit"), {440, 491, 91, 25}, Glyph::Exit,
                         "Exit utility");

    // The caption labels carry accelerators like the buttons: with a buddy, "&" underlines the
    // next letter (and "&&" shows one "&"), and the key moves the focus to the control the label
    // names. A label never has a button as its buddy: Qt would press the button. The folder
    // field takes the focus from its label (its text can then be selected and copied by keys)
    // but stays out of the tab chain, as designed.
    stxDestFolder->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
    stxDestFolder->setFocusPolicy(Qt::ClickFocus);
    lblGameDest->setBuddy(stxDestFolder);
    lblCPU->setBuddy(cbEXE);
    lblVersion->setBuddy(cbEXE); // the detected patch is that of the chosen version
    lblAt->setBuddy(cbHz);
    lblRecord->setBuddy(cbRecord);
    lblRecordFileName->setBuddy(edtRecordDemo);
}

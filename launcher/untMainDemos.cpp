// Demo recording and playback.
#include "launcher/untMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

std::variant<std::string, Refusal> TfrmMain::PrepareXpdPlayback(const std::string&) {
    // XPD packages are not read by this build yet: refuse plainly rather than start the game.
    return Refusal{MessageKind::Error, "Playing XPD packages is not supported by this build"};
}

void TfrmMain::cbxRecordDemoClick() {
    const bool on = cbxRecordDemo->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblRecord, cbRecord, btnRecordScan, rbPAD, rbXPD})
        w->setEnabled(on);
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblRecordFileName, edtRecordDemo, btnBrowseDemo})
        w->setEnabled(on && rbXPD->isChecked());
    if (!on)
        return;
    SwitchOffGroup(cbxLevels, &TfrmMain::cbxLevelsClick);
    rbLevelClick();
    SwitchOffGroup(cbxPlayDemo, &TfrmMain::cbxPlayDemoClick);
}

void TfrmMain::cbxPlayDemoClick() {
    const bool on = cbxPlayDemo->isChecked();
    rbPlayPAD->setEnabled(on);
    rbPlayXPD->setEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{cbPlay, btnPlayRescan})
        w->setEnabled(on && rbPlayPAD->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{edtPlayDemo, btnBrowsePlay})
        w->setEnabled(on && rbPlayXPD->isChecked());
    if (!on)
        return;
    SwitchOffGroup(cbxLevels, &TfrmMain::cbxLevelsClick);
    rbLevelClick();
    SwitchOffGroup(cbxRecordDemo, &TfrmMain::cbxRecordDemoClick);
}

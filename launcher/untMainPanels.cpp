// Enable rules of the level group and the exclusion of the three titled groups.
#include "launcher/untMain.h"

#include "launcher/PanelRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

void TfrmMain::rbLevelClick() {
    const LevelGroupEnables e = LevelGroupRule(cbxLevels->isChecked(), rbLevel->isChecked(),
                                               rbCutScene->isChecked(), rbFMV->isChecked());
    cbLevel->setEnabled(e.level);
    btnScanLevel->setEnabled(e.level);
    cbCutScene->setEnabled(e.cutscene);
    btnScanScene->setEnabled(e.cutscene);
    cbFMV->setEnabled(e.movie);
    btnScanFMV->setEnabled(e.movie);
    cbxControls->setEnabled(e.movie);
}

void TfrmMain::cbxLevelsClick() {
    const bool on = cbxLevels->isChecked();
    rbLevel->setEnabled(on);
    rbCutScene->setEnabled(on);
    rbFMV->setEnabled(on);
    rbLevelClick();
    if (on) {
        SwitchOffGroup(cbxRecordDemo, &TfrmMain::cbxRecordDemoClick);
        SwitchOffGroup(cbxPlayDemo, &TfrmMain::cbxPlayDemoClick);
    }
}

void TfrmMain::SwitchOffGroup(QCheckBox* title, void (TfrmMain::*reaction)()) {
    if (title->isChecked())
        title->setChecked(false); // the box's toggled reaction runs
    else
        (this->*reaction)();
}

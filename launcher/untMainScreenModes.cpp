// The screen-mode group: the mode list and the enable rules of the override row.
#include "launcher/untMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

void TfrmMain::FillResolutionList() {
    cbResolution->clear();
    cbResolution->addItem(QStringLiteral("inherit game settings"));
    screenModes_ = ScreenModeTable(); // the table mirrors the list, so both start afresh
    if (services_.displayModes)
        for (const std::string& name : screenModes_.EnumScreenModes(*services_.displayModes))
            cbResolution->addItem(QString::fromStdString(name));
    cbResolution->setCurrentIndex(0);
}

void TfrmMain::cbFullScreenClick() {
    cbxChangeResolution->setEnabled(cbFullScreen->isChecked());
    const ScreenModeEnables e =
        AfterScreenRadioClick(cbxChangeResolution->isEnabled(), cbxChangeResolution->isChecked());
    lblHz->setEnabled(e.refreshAndLabels);
    lblAt->setEnabled(e.refreshAndLabels);
    cbResolution->setEnabled(e.resolution);
    cbHz->setEnabled(e.refreshAndLabels);
}

void TfrmMain::cbxChangeResolutionClick() {
    const auto [resolution, refresh] =
        AfterOverrideChange(cbxChangeResolution->isChecked(), cbResolution->currentIndex());
    cbResolution->setEnabled(resolution);
    cbHz->setEnabled(refresh);
    lblHz->setEnabled(refresh);
    lblAt->setEnabled(refresh);
}

void TfrmMain::cbResolutionChange() {
    const bool refresh =
        AfterOverrideChange(cbxChangeResolution->isChecked(), cbResolution->currentIndex()).second;
    cbHz->setEnabled(refresh);
    lblHz->setEnabled(refresh);
    lblAt->setEnabled(refresh);
}

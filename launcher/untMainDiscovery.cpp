// Finding the game installation and its executables; the show sequence's discovery steps; the
// connections of the discovery, scan, screen-mode and panel handlers.
#include "launcher/untMain.h"

#include "launcher/GameDiscovery.h"
#include "launcher/untBrowse.h"
#include "platform/Paths.h"
#include "platform/QtText.h"
#include "wine/GamePrefixes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

void TfrmMain::ShowPrefixInUse() {
    if (services_.prefixes)
        stxDestFolder->setToolTip(QFile::decodeName(services_.prefixes->CurrentLabel().c_str()));
}

void TfrmMain::DiscoverGame() {
    stxDestFolder->setText(QText(ReadGameRegistryValue(services_.registry, "InstalledPath")));
    ShowPrefixInUse();
    ScanExecutables();
    if (cbEXE->count() > 0)
        cbEXE->setCurrentIndex(0);
    cbEXEChange();
    ScanLevels();
    ScanCutscenes();
    ScanDemos();
    ScanMovies();
    FillResolutionList();
}

void TfrmMain::ScanExecutables() {
    cbEXE->clear();
    for (const std::string& name : ListExecutables(GameFolder()))
        cbEXE->addItem(QText(name));
    // Adding to an empty list selects its first entry; the list itself selects nothing.
    cbEXE->setCurrentIndex(-1);
}

void TfrmMain::cbEXEChange() {
    const std::string executable =
        cbEXE->currentIndex() >= 0 ? Text(cbEXE->currentText()) : std::string();
    stxVersion->setText(QText(GetBuildText(GameFolder() + "bin\\" + executable)));
}

void TfrmMain::btnBrowseClick() {
    if (frmBrowse) {
        frmBrowse->FolderPath = GameFolder();
        const bool chosen = frmBrowse->exec() == QDialog::Accepted;
        stxDestFolder->setText(QText(frmBrowse->FolderPath));
        // A folder inside a prefix makes that prefix, and its Wine, the ones the game runs in.
        if (chosen && services_.prefixes &&
            services_.prefixes->UseFolder(NativePath(frmBrowse->FolderPath)))
            ShowPrefixInUse();
    }
    ScanExecutables();
    if (cbEXE->count() > 0)
        cbEXE->setCurrentIndex(0);
    cbEXEChange();
}

void TfrmMain::ConnectDiscoveryHandlers() {
    connect(btnBrowse, &QPushButton::clicked, this, [this] { btnBrowseClick(); });
    connect(cbEXE, &QComboBox::activated, this, [this] { cbEXEChange(); });

    connect(btnScanLevel, &QPushButton::clicked, this, [this] { btnScanLevelClick(); });
    connect(btnRecordScan, &QPushButton::clicked, this, [this] { btnScanLevelClick(); });
    connect(btnScanScene, &QPushButton::clicked, this, [this] { btnScanSceneClick(); });
    connect(btnScanFMV, &QPushButton::clicked, this, [this] { btnScanFMVClick(); });
    connect(btnPlayRescan, &QPushButton::clicked, this, [this] { btnRecordScanClick(); });

    // Radio reactions run when a button becomes checked, never when it is cleared.
    auto onChecked = [this](QRadioButton* button, void (TfrmMain::*reaction)()) {
        connect(button, &QRadioButton::toggled, this, [this, reaction](bool checked) {
            if (checked)
                (this->*reaction)();
        });
    };
    onChecked(cbFullScreen, &TfrmMain::cbFullScreenClick);
    onChecked(cbWindowed, &TfrmMain::cbFullScreenClick);
    connect(cbxChangeResolution, &QCheckBox::toggled, this, [this] { cbxChangeResolutionClick(); });
    connect(cbResolution, &QComboBox::activated, this, [this] { cbResolutionChange(); });

    connect(cbxLevels, &QCheckBox::toggled, this, [this] { cbxLevelsClick(); });
    onChecked(rbLevel, &TfrmMain::rbLevelClick);
    onChecked(rbCutScene, &TfrmMain::rbLevelClick);
    onChecked(rbFMV, &TfrmMain::rbLevelClick);
    // The demo groups' title boxes take part in the exclusion of the three groups.
    connect(cbxRecordDemo, &QCheckBox::toggled, this, [this] { cbxRecordDemoClick(); });
    connect(cbxPlayDemo, &QCheckBox::toggled, this, [this] { cbxPlayDemoClick(); });
}

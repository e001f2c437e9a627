// Loading, saving and resetting the options of section "config".
#include "launcher/untMain.h"

#include "lang/untLanguage.h"
#include "platform/IniFile.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "platform/TextRules.h"
#include "platform/WindowsText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

StoredOptions TfrmMain::WindowOptions() const {
    StoredOptions options;
    options.version = cbEXE->currentIndex() >= 0 ? Text(cbEXE->currentText()) : std::string();
    options.settings = cbxSettingsDialog->isChecked();
    options.level = cbxLevelDialog->isChecked();
    options.godmode = cbxGodMode->isChecked();
    options.debugkeys = cbxDebugKeys->isChecked();
    options.nofmv = cbxNoFMV->isChecked();
    options.windowed = cbWindowed->isChecked();
    options.fullscreen = cbFullScreen->isChecked();
    options.lang = frmLanguage ? frmLanguage->Language : std::string(kDefaultLanguage);
    return options;
}

void TfrmMain::SaveOptions(const std::string& file, bool withExecutable) {
    IniFile ini(file);
    WriteStoredOptions(ini, WindowOptions(), withExecutable);
}

void TfrmMain::LoadOptions(const std::string& file, bool withExecutable) {
    const StoredOptions options = ReadStoredOptions(IniFile(file), withExecutable);

    if (withExecutable) {
        const int before = cbEXE->currentIndex();
        // The stored name is decoded text, the listed ones are names on disk: compared as text.
        const std::string wanted = UpperCase(options.version);
        for (int i = 0; i < cbEXE->count(); ++i)
            if (UpperCase(DecodeWindowsText(Text(cbEXE->itemText(i)))) == wanted)
                cbEXE->setCurrentIndex(i);
        if (cbEXE->currentIndex() != before)
            cbEXEChange();
    }

    // Setting a box to a new state runs its click reaction, as a user's click would.
    cbxSettingsDialog->setChecked(options.settings);
    cbxLevelDialog->setChecked(options.level);
    cbxGodMode->setChecked(options.godmode);
    cbxDebugKeys->setChecked(options.debugkeys);
    cbxNoFMV->setChecked(options.nofmv);
    SetRadioChecked(cbWindowed, options.windowed);
    SetRadioChecked(cbFullScreen, options.fullscreen);

    if (frmLanguage) {
        frmLanguage->SetLanguage(options.lang);
        ApplyLanguage(frmLanguage->Language);
    }
}

void TfrmMain::btnResetClick() {
    RunHandler([this] {
        if (!services_.messages ||
            !services_.messages->Confirm(
                "Do you really want to reset application to default settings?"))
            return;
        IniFile ini(SettingsFile());
        EraseStoredOptions(ini);
        LoadOptions(SettingsFile(), true);
    });
}

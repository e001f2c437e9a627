// Demo recording and playback: the two demo groups, their file dialogs, and the work around a
// launch for XPD packages.
#include "launcher/untMain.h"

#include "archive/XpdPackage.h"
#include "archive/uVexaZipComp.h"
#include "lang/untLanguage.h"
#include "platform/FileDialogs.h"
#include "platform/IniFile.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/QtText.h"
#include "platform/ScuError.h"
#include "platform/WildcardSearch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr const char* kXpdFilter = "Extended PAD files (*.xpd)|*.xpd";
constexpr const char* kXpdExtension = "xpd";

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
}

// A name for the new package beside the chosen one, so the chosen file is replaced only by a
// complete package.
std::string FreshPackagePath(const std::string& nativePackage) {
    for (int attempt = 0;; ++attempt) {
        const std::string candidate = nativePackage + ".new" + std::to_string(getpid()) +
                                      (attempt ? "-" + std::to_string(attempt) : "");
        if (access(candidate.c_str(), F_OK) != 0)
            return candidate;
    }
}

} // namespace

void TfrmMain::ConnectDemoHandlers() {
    // The title boxes' toggles are connected with the other panel rules.
    for (QRadioButton* button : {rbPAD, rbXPD})
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                rbPADClick();
        });
    for (QRadioButton* button : {rbPlayPAD, rbPlayXPD})
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                rbPlayPADClick();
        });
    connect(cbRecord, &QComboBox::activated, this,
            [this] { RunHandler([this] { cbRecordChange(); }); });
    connect(btnBrowseDemo, &QPushButton::clicked, this, [this] { btnBrowseDemoClick(); });
    connect(btnBrowsePlay, &QPushButton::clicked, this, [this] { btnBrowsePlayClick(); });
}

void TfrmMain::cbxRecordDemoClick() {
    const bool on = cbxRecordDemo->isChecked();
    SetEnabled({lblRecord, cbRecord, btnRecordScan, lblRecordFileName, edtRecordDemo, btnBrowseDemo,
                rbPAD, rbXPD},
               on);
    rbPADClick();
    if (!on)
        return;
    // The three groups exclude each other.
    SwitchOffGroup(cbxLevels, &TfrmMain::cbxLevelsClick);
    rbLevelClick();
    SwitchOffGroup(cbxPlayDemo, &TfrmMain::cbxPlayDemoClick);
    RunHandler([this] { cbRecordChange(); });
}

void TfrmMain::cbxPlayDemoClick() {
    const bool on = cbxPlayDemo->isChecked();
    SetEnabled({rbPlayPAD, rbPlayXPD, cbPlay, btnPlayRescan}, on);
    rbPlayPADClick();
    if (!on)
        return;
    SwitchOffGroup(cbxLevels, &TfrmMain::cbxLevelsClick);
    rbLevelClick();
    SwitchOffGroup(cbxRecordDemo, &TfrmMain::cbxRecordDemoClick);
}

void TfrmMain::rbPADClick() {
    if (rbXPD->isChecked())
        edtRecordDemo->clear();
    else
        RunHandler([this] { cbRecordChange(); });
    SetEnabled({lblRecordFileName, edtRecordDemo, btnBrowseDemo},
               rbXPD->isChecked() && cbxRecordDemo->isChecked());
}

void TfrmMain::rbPlayPADClick() {
    const bool on = cbxPlayDemo->isChecked();
    SetEnabled({cbPlay, btnPlayRescan}, rbPlayPAD->isChecked() && on);
    SetEnabled({edtPlayDemo, btnBrowsePlay}, rbPlayXPD->isChecked() && on);
}

void TfrmMain::cbRecordChange() {
    if (!rbPAD->isChecked())
        return;
    const std::string shown =
        cbRecord->currentIndex() >= 0 ? Text(cbRecord->currentText()) : std::string();
    edtRecordDemo->setText(QText(RemoveExtension(LookupFileKey(shown, "levels")) + ".pad"));
}

void TfrmMain::btnBrowseDemoClick() {
    if (!services_.fileDialogs)
        return;
    if (auto chosen = services_.fileDialogs->Save(
            {"Select output demo file", places_.dialogFolder, kXpdFilter, kXpdExtension}))
        edtRecordDemo->setText(QText(*chosen));
}

void TfrmMain::btnBrowsePlayClick() {
    if (!services_.fileDialogs)
        return;
    if (auto chosen = services_.fileDialogs->Open(
            {"Open recorded demo file", places_.dialogFolder, kXpdFilter, kXpdExtension}))
        edtPlayDemo->setText(QText(*chosen));
}

std::string TfrmMain::FindTempDemo() const {
    for (const FoundEntry& entry : FindFiles(GameFolder() + "bin\\*.tmp"))
        if (!entry.isDirectory)
            return entry.name;
    return {};
}

std::variant<std::string, Refusal> TfrmMain::PrepareXpdPlayback(const std::string& packagePath) {
    unpackedDemo_.clear();
    {
        TVexaZipComponent zip;
        zip.gRaspakujFajl(packagePath, GameFolder() + "bin\\");
    }
    const std::string demo = FindTempDemo();
    if (demo.empty())
        return Refusal{MessageKind::Error, "XPD file seems to be corrupted"};
    unpackedDemo_ = RemoveExtension(demo);
    LoadOptions(GameFolder() + "bin\\" + kXpdOptionsFile, false);
    return unpackedDemo_;
}

void TfrmMain::FinishXpdPlayback(const std::string& demoBaseName) {
    DeleteFileAt(GameFolder() + "bin\\" + demoBaseName + ".tmp");
    DeleteFileAt(GameFolder() + "bin\\" + kXpdOptionsFile);
    LoadOptions(SettingsFile(), true);
}

std::optional<XpdRecording> TfrmMain::TakeXpdRecording() const {
    if (!cbxRecordDemo->isChecked() || !rbXPD->isChecked() || cbRecord->currentIndex() < 0)
        return std::nullopt;
    XpdRecording recording;
    recording.package = Text(edtRecordDemo->text());
    recording.levelKey = RemoveExtension(LookupFileKey(Text(cbRecord->currentText()), "levels"));
    recording.options = WindowOptions();
    return recording;
}

void TfrmMain::PackRecordedXpd(const XpdRecording& recording) {
    const std::string bin = GameFolder() + "bin\\";
    const std::string demo = bin + recording.levelKey + ".tmp";
    const std::string options = bin + kXpdOptionsFile;
    if (!FileExists(demo)) {
        if (services_.messages)
            services_.messages->Error(
                "The recorded demo could not be found, so no XPD file was made:\r\r" + demo);
        return;
    }
    DeleteFileAt(options);
    {
        IniFile ini(options);
        WriteStoredOptions(ini, recording.options, false);
    }
    // The package is built under a new name and then renamed over the chosen file, so the chosen
    // file never mixes an earlier demo with this one and is never left half written.
    const std::string package = NativePath(recording.package);
    const std::string fresh = FreshPackagePath(package);
    try {
        {
            TVexaZipComponent zip;
            zip.gZapakujFajl(demo, fresh);
        }
        {
            TVexaZipComponent zip;
            zip.gZapakujFajl(options, fresh);
        }
        if (std::rename(fresh.c_str(), package.c_str()) != 0)
            throw ScuError("Unable to write to " + recording.package);
    } catch (const ScuError& error) {
        std::remove(fresh.c_str());
        // The new package is written under a passing name; the user knows the chosen one.
        if (std::string(error.what()).rfind("Unable to write to ", 0) == 0)
            throw ScuError("Unable to write to " + recording.package);
        throw;
    } catch (...) {
        std::remove(fresh.c_str());
        throw;
    }
    DeleteFileAt(demo);
    DeleteFileAt(options);
}

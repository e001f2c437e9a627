// Turning the window's choices into the game's program path and argument string.
#include "launcher/untMain.h"

#include "launcher/ContentScans.h"

#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {
std::optional<std::string> Selected(const QComboBox* list) {
    if (list->currentIndex() < 0)
        return std::nullopt;
    return Text(list->currentText());
}
} // namespace

std::string TfrmMain::LookupFileKey(const std::string& shownName,
                                    const std::string& section) const {
    // The table's key is decoded text; the game is given the file's own name as found on disk.
    const ContentScan& scan = section == "cutscenes" ? kCutsceneScan
                              : section == "fmvs"    ? kMovieScan
                                                     : kLevelScan;
    return FileKeyOnDisk(GameFolder(), scan, ::LookupFileKey(SettingsFile(), shownName, section));
}

LaunchChoices TfrmMain::ReadLaunchChoices() const {
    LaunchChoices c;
    c.gameFolder = GameFolder();
    c.executable = cbEXE->currentIndex() >= 0 ? Text(cbEXE->currentText()) : std::string();
    c.levels = cbxLevels->isChecked();
    c.levelChosen = rbLevel->isChecked();
    c.cutsceneChosen = rbCutScene->isChecked();
    c.level = Selected(cbLevel);
    c.cutscene = Selected(cbCutScene);
    c.recordDemo = cbxRecordDemo->isChecked();
    c.recordLevel = Selected(cbRecord);
    c.recordAsPad = rbPAD->isChecked();
    c.recordFile = Text(edtRecordDemo->text());
    c.playDemo = cbxPlayDemo->isChecked();
    c.playPad = rbPlayPAD->isChecked();
    c.playPadFile = Selected(cbPlay);
    c.playPackage = Text(edtPlayDemo->text());
    c.settingsDialog = cbxSettingsDialog->isChecked();
    c.levelDialog = cbxLevelDialog->isChecked();
    c.godMode = cbxGodMode->isChecked();
    c.debugKeys = cbxDebugKeys->isChecked();
    c.noFmv = cbxNoFMV->isChecked();
    c.fullScreen = cbFullScreen->isChecked();
    c.windowed = cbWindowed->isChecked();
    c.changeResolution = cbxChangeResolution->isChecked();
    c.resolutionIndex = cbResolution->currentIndex();
    c.resolutionText = Text(cbResolution->currentText());
    c.hzEnabled = cbHz->isEnabled();
    c.hzText = Text(cbHz->currentText());
    return c;
}

std::optional<GameCommand> TfrmMain::BuildGameArguments() {
    GameCommandServices services;
    services.lookupFileKey = [this](const std::string& shown, const std::string& section) {
        return LookupFileKey(shown, section);
    };
    services.fileExists = [](const std::string& path) { return FileExists(path); };
    services.prepareXpdPlayback =
        [this](const std::string& path,
               LaunchChoices& choices) -> std::variant<std::string, Refusal> {
        auto prepared = PrepareXpdPlayback(path);
        // The package's options are now in the window: the switches and the screen mode are read
        // from it afresh (the screen-mode buttons' reaction may have switched the refresh list).
        TakeSwitchesAndScreenMode(choices, ReadLaunchChoices());
        return prepared;
    };

    auto result = ::BuildGameArguments(ReadLaunchChoices(), services);
    if (auto* refusal = std::get_if<Refusal>(&result)) {
        if (services_.messages) {
            if (refusal->kind == MessageKind::Information)
                services_.messages->Information(refusal->text);
            else
                services_.messages->Error(refusal->text);
        }
        return std::nullopt;
    }
    return std::get<GameCommand>(result);
}

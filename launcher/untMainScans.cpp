// The content lists: levels (copied into the record list), cutscenes, movies and PAD demos.
#include "launcher/untMain.h"

#include "launcher/ContentScans.h"
#include "platform/IniFile.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"

#include <QComboBox>
#include <QStringList>
#include <QStringListModel>

namespace {
// Replaces the entries of a list in one step: a content list holds plain texts, so its model is
// a string list filled at once (no item object per entry). Selecting the first entry by program
// runs no change reaction.
void FillList(QComboBox* list, const std::vector<std::string>& entries) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        texts.append(QText(entry)); // a file name as found keeps its bytes
    auto* model = qobject_cast<QStringListModel*>(list->model());
    if (!model) {
        model = new QStringListModel(list);
        list->setModel(model);
    }
    model->setStringList(texts);
    list->setCurrentIndex(entries.empty() ? -1 : 0);
}
} // namespace

void TfrmMain::ScanLevels() {
    const auto entries = ScanContent(GameFolder(), kLevelScan, IniFile(SettingsFile()).Snapshot());
    FillList(cbLevel, entries);
    FillList(cbRecord, entries);
}

void TfrmMain::ScanCutscenes() {
    FillList(cbCutScene,
             ScanContent(GameFolder(), kCutsceneScan, IniFile(SettingsFile()).Snapshot()));
}

void TfrmMain::ScanMovies() {
    FillList(cbFMV, ScanContent(GameFolder(), kMovieScan, IniFile(SettingsFile()).Snapshot()));
}

void TfrmMain::ScanDemos() {
    FillList(cbPlay, ScanContent(GameFolder(), kDemoScan, IniDocument()));
}

void TfrmMain::btnScanLevelClick() {
    RunHandler([this] {
        ScanLevels();
        if (services_.messages)
            services_.messages->Information(
                ScanCompleteMessage(static_cast<size_t>(cbLevel->count()), kLevelScan));
    });
}

void TfrmMain::btnScanSceneClick() {
    RunHandler([this] {
        ScanCutscenes();
        if (services_.messages)
            services_.messages->Information(
                ScanCompleteMessage(static_cast<size_t>(cbCutScene->count()), kCutsceneScan));
    });
}

void TfrmMain::btnScanFMVClick() {
    RunHandler([this] {
        ScanMovies();
        if (services_.messages)
            services_.messages->Information(
                ScanCompleteMessage(static_cast<size_t>(cbFMV->count()), kMovieScan));
    });
}

void TfrmMain::btnRecordScanClick() {
    RunHandler([this] {
        ScanDemos();
        if (services_.messages)
            services_.messages->Information(
                ScanCompleteMessage(static_cast<size_t>(cbPlay->count()), kDemoScan));
    });
}

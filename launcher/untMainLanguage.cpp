// Applying a language file to the windows.
#include "launcher/untMain.h"

#include "lang/LanguageFile.h"
#include "lang/LanguageFolders.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "platform/Paths.h"
#include "platform/QtText.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <vector>

namespace {

// A control that shows one catalogue text: a button of any kind, a label or a group box.
class Captioned {
public:
    Captioned(QAbstractButton* b) : button_(b) {}
    Captioned(QLabel* l) : label_(l) {}
    Captioned(QGroupBox* g) : group_(g) {}

    bool Present() const { return button_ || label_ || group_; }
    QString Text() const {
        if (button_)
            return button_->text();
        if (label_)
            return label_->text();
        return group_ ? group_->title() : QString();
    }
    // Only the caption changes: no signal of the control's state is emitted, and a control that
    // is not in a layout keeps its place and size.
    void SetText(const QString& text) const {
        if (button_)
            button_->setText(text);
        else if (label_)
            label_->setText(text);
        else if (group_)
            group_->setTitle(text);
    }

private:
    QAbstractButton* button_ = nullptr;
    QLabel* label_ = nullptr;
    QGroupBox* group_ = nullptr;
};

// Puts the text on the first control, then copies what that control shows to the others.
void SetCaption(const std::vector<Captioned>& controls, const QString& text) {
    const Captioned* first = nullptr;
    for (const Captioned& control : controls) {
        if (!control.Present())
            continue;
        if (!first) {
            control.SetText(text);
            first = &control;
        } else {
            control.SetText(first->Text());
        }
    }
}

QFont LanguageFont(const QFont& current, const LanguageLayout& layout) {
    QFont font = current;
    font.setFamily(QText(layout.font));
    if (layout.size > 0)
        font.setPointSize(layout.size);
    else if (layout.size < 0)
        font.setPixelSize(-layout.size); // a negative size is a height in pixels
    else
        font.setPointSize(8); // no usable size: the design size
    return font;
}

} // namespace

void TfrmMain::ApplyLanguage(const std::string& languageName) {
    const std::string file = FindLanguageFile(places_.LanguageFolders(), languageName);
    if (!FileExists(file))
        return; // no file (as for the built-in English): nothing changes
    const LanguageFile language(file);

    // The lists and the two bold fields carry their own font and keep it.
    setFont(LanguageFont(font(), language.Layout()));

    QAbstractButton* browseOK = frmBrowse ? frmBrowse->btnOK : nullptr;
    QAbstractButton* browseCancel = frmBrowse ? frmBrowse->btnCancel : nullptr;
    QAbstractButton* languageOK = frmLanguage ? frmLanguage->btnOK : nullptr;
    QAbstractButton* languageCancel = frmLanguage ? frmLanguage->btnCancel : nullptr;

    // One row per catalogue text, in catalogue order.
    const std::vector<std::vector<Captioned>> targets = {
        {btnScanLevel, btnScanScene, btnScanFMV, btnRecordScan, btnPlayRescan},
        {btnBrowseDemo, btnBrowsePlay},
        {btnAbout},
        {btnReadMe},
        {btnReset},
        {btnPlay},
        {btnExit},
        {btnBrowse},
        {browseOK, languageOK},
        {browseCancel, languageCancel},
        {btnLanguage},
        {gbGeneral},
        {lblGameDest},
        {lblCPU},
        {lblVersion},
        {gbMisc},
        {cbxSettingsDialog},
        {cbxLevelDialog},
        {cbxNoFMV},
        {cbxDebugKeys},
        {cbxGodMode},
        {gbScreen},
        {cbFullScreen},
        {cbWindowed},
        {cbxChangeResolution},
        {lblAt},
        {cbxLevels},
        {rbLevel},
        {rbCutScene},
        {rbFMV},
        {cbxControls},
        {cbxRecordDemo},
        {lblRecord},
        {rbPAD},
        {rbXPD},
        {lblRecordFileName},
        {cbxPlayDemo},
        {rbPlayPAD},
        {rbPlayXPD},
    };
    const std::vector<std::string> captions = language.Captions();
    for (size_t i = 0; i < targets.size() && i < captions.size(); ++i)
        SetCaption(targets[i], QText(captions[i]));
}

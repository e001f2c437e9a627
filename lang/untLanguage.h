#pragma once

#include <QDialog>

#include <string>
#include <vector>

class ProgramStarter;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

// The language dialog: lists the language files beside the utility, shows who translated the one
// picked, and holds the name of the current language for the whole program.
class TfrmLanguage : public QDialog {
    Q_OBJECT

public:
    // languageFolders: where the language files lie, without trailing separators; on equal names
    // the later folder's file wins (UtilityPlaces::LanguageFolders). starter opens the
    // translator's mail and web links; it may be null, and then the links open nothing.
    TfrmLanguage(std::vector<std::string> languageFolders, ProgramStarter* starter,
                 QWidget* parent = nullptr);
    // The language files of one utility folder.
    TfrmLanguage(const std::string& utilityFolder, ProgramStarter* starter,
                 QWidget* parent = nullptr)
        : TfrmLanguage(std::vector<std::string>{utilityFolder}, starter, parent) {}

    // A language file's name without ".lng", or "English (Default)" for the built-in texts.
    std::string Language;

    QGroupBox* gbLanguage;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QLabel* lblAutorTitle;
    QLabel* lblEmailTitle;
    QLabel* lblWebSiteTitle;
    QLabel* lblLanguage;
    QComboBox* cbxLanguage;
    QFrame* bvlSplitter;
    QLabel* lblAuthor;
    QLabel* lblEmail;
    QLabel* lblWebSite;

    void SetLanguage(const std::string& name) { Language = name; }
    void FormCreate();
    void FormShow();
    void cbxLanguageChange();
    void btnOKClick();
    void btnCancelClick();
    void lblEmailClick();
    void lblWebSiteClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillLanguageList();
    void ShowLanguageInfo(const std::string& name);

    std::vector<std::string> languageFolders_;
    ProgramStarter* starter_;
};

extern TfrmLanguage* frmLanguage;

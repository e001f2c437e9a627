#pragma once

#include <QDialog>

#include <string>

class QPushButton;

// The language dialog; it holds the name of the current language for the whole program.
class TfrmLanguage : public QDialog {
    Q_OBJECT

public:
    explicit TfrmLanguage(QWidget* parent = nullptr);

    // A language file's name without ".lng", or "English (Default)" for the built-in texts.
    std::string Language;

    QPushButton* btnOK;
    QPushButton* btnCancel;

    void SetLanguage(const std::string& name) { Language = name; }
    void FormCreate();
    void btnOKClick();
    void btnCancelClick();
};

extern TfrmLanguage* frmLanguage;

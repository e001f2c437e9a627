#pragma once

#include <QDialog>

#include <string>

class QPushButton;
class QStatusBar;

// The folder browse dialog: the user picks the game folder.
class TfrmBrowse : public QDialog {
    Q_OBJECT

public:
    explicit TfrmBrowse(QWidget* parent = nullptr);

    // In: the folder the caller passes in. Out: the folder chosen with "Okay", ending in a
    // separator.
    std::string FolderPath;

    QPushButton* btnOK;
    QPushButton* btnCancel;
    QStatusBar* stbarStatus;

    void btnOKClick();
    void btnCancelClick();
};

extern TfrmBrowse* frmBrowse;

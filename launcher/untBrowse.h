#pragma once

#include <QDialog>

#include <string>

class QPushButton;
class QStatusBar;
class ShellFolderTree;

// The folder browse dialog: the user picks the game folder, a folder that holds "launcher.exe".
// One instance lives for the whole run, so the tree keeps its expansion and selection.
class TfrmBrowse : public QDialog {
    Q_OBJECT

public:
    // desktopFolder, homeFolder, winePrefix: the native folders under the tree's Desktop node (the
    // prefix gives its drives); empty texts take the user's own.
    explicit TfrmBrowse(QWidget* parent = nullptr, const QString& desktopFolder = QString(),
                        const QString& homeFolder = QString(),
                        const QString& winePrefix = QString());

    // In: the folder the caller passes in. Out: the folder chosen with "Okay", ending in a
    // separator.
    std::string FolderPath;

    ShellFolderTree* stvFolders;
    QPushButton* btnCancel;
    QPushButton* btnOK;
    QStatusBar* stbarStatus;

    void stvFoldersChange();
    void btnOKClick();
    void btnCancelClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

extern TfrmBrowse* frmBrowse;

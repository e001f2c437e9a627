#pragma once

#include "launcher/ShellFolderTree.h"

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QStatusBar;

// The folder browse dialog: the user picks the game folder, a folder that holds "launcher.exe".
// One instance lives for the whole run, so the tree keeps its expansion and selection.
class TfrmBrowse : public QDialog {
    Q_OBJECT

public:
    // desktopFolder, homeFolder: the native folders under the tree's Desktop node; empty texts
    // take the user's own. prefixes: the Wine prefixes whose drives are listed.
    explicit TfrmBrowse(QWidget* parent = nullptr, const QString& desktopFolder = QString(),
                        const QString& homeFolder = QString(),
                        const std::vector<PrefixNode>& prefixes = {});

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

class GamePrefixes;
// The tree's nodes for the prefixes found (those whose folder exists, else the one in use),
// labelled as the hint.
std::vector<PrefixNode> BrowsePrefixNodes(const GamePrefixes& prefixes);

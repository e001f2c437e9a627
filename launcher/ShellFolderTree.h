#pragma once

#include <QTreeWidget>

#include <string>
#include <vector>

// A Wine prefix as the tree shows it: labelled as the destination field's hint names it.
struct PrefixNode {
    QString label;  // "Steam (Proton): ~/...", "Wine: ~/.wine"
    QString folder; // the prefix folder (holds dosdevices/), as QText shows its bytes
};

// The folder tree of the browse dialog: a "Desktop" node holding the user's desktop folder, the
// home folder, the file-system root and one node per Wine prefix found, which holds one node per
// drive of that prefix; each folder with its subfolders (hidden ones after the others), read when
// a node is first expanded. The Desktop and prefix nodes are virtual and have no path; every
// other node's path is a native Linux folder, kept as the bytes the file system gave, so a name
// that is not UTF-8 is shown (through QText) and given back unchanged. Folder texts passed in
// are read as QText shows bytes (Text gives the bytes back).
class ShellFolderTree : public QTreeWidget {
    Q_OBJECT

public:
    // desktopFolder, homeFolder: native folders; an empty or missing one is left out, as is the
    // desktop when it is the home folder itself. prefixes: the prefixes whose drives are listed.
    ShellFolderTree(const QString& desktopFolder, const QString& homeFolder,
                    const std::vector<PrefixNode>& prefixes, QWidget* parent = nullptr);

    // The native path of the selected folder; empty for a virtual node or no selection.
    std::string SelectedPath() const;

    // Expands the file-system branch down to an existing native folder and selects it; false
    // when the folder cannot be reached.
    bool SelectFolder(const QString& nativeFolder);

signals:
    void folderSelectionChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTreeWidgetItem* AddFolder(QTreeWidgetItem* parent, const QString& label,
                               const std::string& path);
    void AddWineDrives(QTreeWidgetItem* prefixNode, const std::string& winePrefix);
    void Populate(QTreeWidgetItem* item);
    // Gives the item and everything below it their icons.
    void ApplyIcons(QTreeWidgetItem* item);

    QTreeWidgetItem* desktop_;
    QTreeWidgetItem* fileSystem_ = nullptr;
    std::vector<QTreeWidgetItem*> prefixes_; // the Wine prefixes' nodes
    std::vector<QTreeWidgetItem*> drives_;   // their drive nodes
    // The icon theme is read when the tree is first shown, not when the program starts (it cost
    // a seventh of the start-up and the memory of the theme's pixmaps).
    bool iconsLoaded_ = false;
};

#pragma once

#include <QTreeWidget>

#include <string>

// The folder tree of the browse dialog: a "Desktop" node holding the user's desktop folder, the
// home folder and the file-system root, each with its subfolders (hidden ones left out), read
// when a node is first expanded. The Desktop node is virtual and has no path.
class ShellFolderTree : public QTreeWidget {
    Q_OBJECT

public:
    // desktopFolder, homeFolder: native folders; an empty or missing one is left out, as is the
    // desktop when it is the home folder itself.
    ShellFolderTree(const QString& desktopFolder, const QString& homeFolder,
                    QWidget* parent = nullptr);

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
    QTreeWidgetItem* AddFolder(QTreeWidgetItem* parent, const QString& label, const QString& path);
    void Populate(QTreeWidgetItem* item);
    // Gives the item and everything below it their icons.
    void ApplyIcons(QTreeWidgetItem* item);

    QTreeWidgetItem* desktop_;
    QTreeWidgetItem* fileSystem_ = nullptr;
    // The icon theme is read when the tree is first shown, not when the program starts (it cost
    // a seventh of the start-up and the memory of the theme's pixmaps).
    bool iconsLoaded_ = false;
};

#include "launcher/ShellFolderTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFileIconProvider>
#include <QHeaderView>

#include <algorithm>

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kPopulatedRole = Qt::UserRole + 1;

// Hidden folders are listed too: a Wine prefix is usually kept in one (~/.wine).
constexpr QDir::Filters kFolders = QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden;

// Whether a folder holds a subfolder; stops at the first one found.
bool HasSubfolder(const QString& path) {
    QDirIterator it(path, kFolders);
    return it.hasNext();
}

// The subfolders of a folder by name without regard to case, hidden ones after the others.
QFileInfoList Subfolders(const QString& path) {
    QFileInfoList folders = QDir(path).entryInfoList(kFolders, QDir::Name | QDir::IgnoreCase);
    std::stable_partition(folders.begin(), folders.end(),
                          [](const QFileInfo& folder) { return !folder.isHidden(); });
    return folders;
}

QIcon FolderIcon() {
    static const QFileIconProvider provider;
    return provider.icon(QFileIconProvider::Folder);
}
} // namespace

ShellFolderTree::ShellFolderTree(const QString& desktopFolder, const QString& homeFolder,
                                 const std::vector<PrefixNode>& prefixes, QWidget* parent)
    : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::white);
    setPalette(palette);

    desktop_ = new QTreeWidgetItem(this, QStringList(QStringLiteral("Desktop")));
    desktop_->setData(0, kPopulatedRole, true);
    const QString home = QDir(homeFolder).absolutePath();
    if (!desktopFolder.isEmpty() && QDir(desktopFolder).exists() &&
        QDir(desktopFolder).absolutePath() != home)
        AddFolder(desktop_, QDir(desktopFolder).dirName(), QDir(desktopFolder).absolutePath());
    if (!homeFolder.isEmpty() && QDir(homeFolder).exists())
        AddFolder(desktop_, QDir(homeFolder).dirName(), home);
    fileSystem_ = AddFolder(desktop_, QStringLiteral("File System"), QStringLiteral("/"));
    for (const PrefixNode& prefix : prefixes) {
        auto* node = new QTreeWidgetItem(desktop_, QStringList(prefix.label));
        node->setData(0, kPopulatedRole, true);
        node->setToolTip(0, prefix.label);
        prefixes_.push_back(node);
        AddWineDrives(node, prefix.folder);
        node->setExpanded(prefixes.size() == 1);
    }

    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { Populate(item); });
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this] { emit folderSelectionChanged(); });
    // A right click selects, as a left click does.
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* item = itemAt(at))
            setCurrentItem(item);
    });

    desktop_->setExpanded(true);
    setCurrentItem(desktop_);
}

QTreeWidgetItem* ShellFolderTree::AddFolder(QTreeWidgetItem* parent, const QString& label,
                                            const QString& path) {
    auto* item = new QTreeWidgetItem(parent, QStringList(label));
    if (iconsLoaded_)
        item->setIcon(0, FolderIcon());
    item->setData(0, kPathRole, path);
    item->setData(0, kPopulatedRole, false);
    item->setChildIndicatorPolicy(HasSubfolder(path) ? QTreeWidgetItem::ShowIndicator
                                                     : QTreeWidgetItem::DontShowIndicator);
    return item;
}

void ShellFolderTree::AddWineDrives(QTreeWidgetItem* prefixNode, const QString& winePrefix) {
    if (winePrefix.isEmpty())
        return;
    // Each drive is an entry "<letter>:" of dosdevices, usually a link; only one that leads to a
    // folder is listed, opening the folder it leads to, so a chosen folder is a plain Linux path.
    const QFileInfoList entries =
        QDir(winePrefix + QStringLiteral("/dosdevices"))
            .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName().toUpper();
        const bool driveName = name.size() == 2 && name.at(0) >= QLatin1Char('A') &&
                               name.at(0) <= QLatin1Char('Z') && name.at(1) == QLatin1Char(':');
        if (!driveName)
            continue;
        const QString folder = entry.canonicalFilePath();
        if (folder.isEmpty())
            continue;
        drives_.push_back(AddFolder(prefixNode, name, folder));
    }
}

void ShellFolderTree::showEvent(QShowEvent* event) {
    if (!iconsLoaded_) {
        iconsLoaded_ = true;
        ApplyIcons(desktop_);
    }
    QTreeWidget::showEvent(event);
}

void ShellFolderTree::ApplyIcons(QTreeWidgetItem* item) {
    static const QFileIconProvider provider;
    if (item == desktop_)
        item->setIcon(0, provider.icon(QFileIconProvider::Desktop));
    else if (std::find(prefixes_.begin(), prefixes_.end(), item) != prefixes_.end())
        item->setIcon(0, provider.icon(QFileIconProvider::Computer));
    else if (item == fileSystem_ ||
             std::find(drives_.begin(), drives_.end(), item) != drives_.end())
        item->setIcon(0, provider.icon(QFileIconProvider::Drive));
    else
        item->setIcon(0, FolderIcon());
    for (int i = 0; i < item->childCount(); ++i)
        ApplyIcons(item->child(i));
}

void ShellFolderTree::Populate(QTreeWidgetItem* item) {
    if (item->data(0, kPopulatedRole).toBool())
        return;
    item->setData(0, kPopulatedRole, true);
    const QString path = item->data(0, kPathRole).toString();
    for (const QFileInfo& folder : Subfolders(path))
        AddFolder(item, folder.fileName(), folder.absoluteFilePath());
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

std::string ShellFolderTree::SelectedPath() const {
    const QTreeWidgetItem* item = currentItem();
    return item ? item->data(0, kPathRole).toString().toStdString() : std::string();
}

bool ShellFolderTree::SelectFolder(const QString& nativeFolder) {
    const QString target = QDir::cleanPath(QDir(nativeFolder).absolutePath());
    QTreeWidgetItem* item = fileSystem_;
    const QStringList parts = target.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        item->setExpanded(true);
        Populate(item);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == part)
                next = item->child(i);
        if (!next)
            return false;
        item = next;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

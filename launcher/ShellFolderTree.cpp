#include "launcher/ShellFolderTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFileIconProvider>
#include <QHeaderView>

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kPopulatedRole = Qt::UserRole + 1;

// Whether a folder holds a visible subfolder; stops at the first one found.
bool HasSubfolder(const QString& path) {
    QDirIterator it(path, QDir::Dirs | QDir::NoDotAndDotDot);
    return it.hasNext();
}

QIcon FolderIcon() {
    static const QFileIconProvider provider;
    return provider.icon(QFileIconProvider::Folder);
}
} // namespace

ShellFolderTree::ShellFolderTree(const QString& desktopFolder, const QString& homeFolder,
                                 QWidget* parent)
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
    else if (item == fileSystem_)
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
    const QFileInfoList folders =
        QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& folder : folders)
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

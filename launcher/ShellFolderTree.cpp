#include "launcher/ShellFolderTree.h"

#include "platform/FolderListing.h"
#include "platform/QtText.h"

#include <QFileIconProvider>
#include <QHeaderView>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace {
constexpr int kPathRole = Qt::UserRole; // the folder's bytes (QByteArray)
constexpr int kPopulatedRole = Qt::UserRole + 1;

// A folder text given to the tree as bytes: absolute, without "." or ".." parts or a separator
// at its end.
std::string NativeFolder(const QString& folder) {
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(Text(folder), failed);
    if (folder.isEmpty() || failed)
        return {};
    std::string path = absolute.lexically_normal().string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string Child(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string LastName(const std::string& folder) {
    return folder.substr(folder.rfind('/') + 1);
}

bool IsFolderAt(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The subfolders of a folder by name without regard to case, hidden ones after the others.
// Hidden folders are listed too: a Wine prefix is usually kept in one (~/.wine).
std::vector<std::string> Subfolders(const std::string& path) {
    std::vector<std::string> names = ListSubfolders(path);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return QText(a).compare(QText(b), Qt::CaseInsensitive) < 0;
    });
    std::stable_partition(names.begin(), names.end(),
                          [](const std::string& name) { return name.front() != '.'; });
    return names;
}

std::string PathOf(const QTreeWidgetItem* item) {
    return item->data(0, kPathRole).toByteArray().toStdString();
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
    const std::string desktop = NativeFolder(desktopFolder);
    const std::string home = NativeFolder(homeFolder);
    if (IsFolderAt(desktop) && desktop != home)
        AddFolder(desktop_, QText(LastName(desktop)), desktop);
    if (IsFolderAt(home))
        AddFolder(desktop_, QText(LastName(home)), home);
    fileSystem_ = AddFolder(desktop_, QStringLiteral("File System"), "/");
    for (const PrefixNode& prefix : prefixes) {
        auto* node = new QTreeWidgetItem(desktop_, QStringList(prefix.label));
        node->setData(0, kPopulatedRole, true);
        node->setToolTip(0, prefix.label);
        prefixes_.push_back(node);
        AddWineDrives(node, NativeFolder(prefix.folder));
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
                                            const std::string& path) {
    auto* item = new QTreeWidgetItem(parent, QStringList(label));
    if (iconsLoaded_)
        item->setIcon(0, FolderIcon());
    item->setData(0, kPathRole, QByteArray::fromStdString(path));
    item->setData(0, kPopulatedRole, false);
    item->setChildIndicatorPolicy(HasSubfolder(path) ? QTreeWidgetItem::ShowIndicator
                                                     : QTreeWidgetItem::DontShowIndicator);
    return item;
}

void ShellFolderTree::AddWineDrives(QTreeWidgetItem* prefixNode, const std::string& winePrefix) {
    if (winePrefix.empty())
        return;
    // Each drive is an entry "<letter>:" of dosdevices, usually a link; only one that leads to a
    // folder is listed, opening the folder it leads to, so a chosen folder is a plain Linux path.
    const std::string dosdevices = winePrefix + "/dosdevices";
    for (const std::string& entry : Subfolders(dosdevices)) {
        const char letter = static_cast<char>(entry.front() | 0x20);
        const bool driveName =
            entry.size() == 2 && letter >= 'a' && letter <= 'z' && entry[1] == ':';
        char resolved[PATH_MAX];
        if (!driveName || !realpath(Child(dosdevices, entry).c_str(), resolved))
            continue;
        drives_.push_back(AddFolder(prefixNode, QText(entry).toUpper(), resolved));
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
    const std::string path = PathOf(item);
    for (const std::string& name : Subfolders(path))
        AddFolder(item, QText(name), Child(path, name));
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

std::string ShellFolderTree::SelectedPath() const {
    const QTreeWidgetItem* item = currentItem();
    return item ? PathOf(item) : std::string();
}

bool ShellFolderTree::SelectFolder(const QString& nativeFolder) {
    const std::string target = NativeFolder(nativeFolder);
    if (target.empty())
        return false;
    QTreeWidgetItem* item = fileSystem_;
    std::string path = "/";
    for (const auto& part : std::filesystem::path(target).relative_path()) {
        item->setExpanded(true);
        Populate(item);
        path = Child(path, part.string());
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (PathOf(item->child(i)) == path)
                next = item->child(i);
        if (!next)
            return false;
        item = next;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

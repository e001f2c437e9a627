#include "launcher/untBrowse.h"

#include "launcher/BrowseRules.h"
#include "launcher/ShellFolderTree.h"
#include "platform/Paths.h"
#include "platform/QtText.h"
#include "resources/DesignWidgets.h"
#include "resources/Glyphs.h"
#include "wine/FoundPrefix.h"
#include "wine/GamePrefixes.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>

TfrmBrowse* frmBrowse = nullptr;

namespace {
// Design client area and the buttons' distance to its bottom-right corner.
constexpr int kClientWidth = 272;
constexpr int kClientHeight = 273;
constexpr int kTreeHeight = 211;
constexpr int kOkRightGap = kClientWidth - 104;
constexpr int kCancelRightGap = kClientWidth - 192;
constexpr int kButtonBottomGap = kClientHeight - 218;
constexpr int kStatusHeight = 21;
} // namespace

TfrmBrowse::TfrmBrowse(QWidget* parent, const QString& desktopFolder, const QString& homeFolder,
                       const std::vector<PrefixNode>& prefixes)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmBrowse"));
    setWindowTitle(QStringLiteral("Browse for ZELTA folder"));
    setFont(DesignFont());
    resize(kClientWidth, kClientHeight);
    setMinimumSize(kClientWidth, kClientHeight);

    const QString desktop = desktopFolder.isEmpty()
                                ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                                : desktopFolder;
    const QString home = homeFolder.isEmpty() ? QDir::homePath() : homeFolder;
    stvFolders = new ShellFolderTree(desktop, home, prefixes, this);
    stvFolders->setObjectName(QStringLiteral("stvFolders"));
    stvFolders->setGeometry(0, 0, kClientWidth, kTreeHeight);

    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(192, 218, 73, 25);
    btnCancel->setToolTip(QStringLiteral("Discard changes"));
    DecorateButton(btnCancel, Glyph::Cancel);
    btnOK = new QPushButton(QStringLiteral("&Okay"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(104, 218, 73, 25);
    btnOK->setToolTip(QStringLiteral("Accept changes"));
    DecorateButton(btnOK, Glyph::Okay);
    btnOK->setAutoDefault(false);
    btnCancel->setAutoDefault(false);
    stbarStatus = new QStatusBar(this);
    stbarStatus->setObjectName(QStringLiteral("stbarStatus"));
    stbarStatus->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
    stbarStatus->setSizeGripEnabled(true);

    connect(stvFolders, &ShellFolderTree::folderSelectionChanged, this,
            [this] { stvFoldersChange(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    // The tree starts on the virtual Desktop node, which cannot be confirmed.
    stvFoldersChange();
}

void TfrmBrowse::stvFoldersChange() {
    btnOK->setEnabled(IsGameFolder(stvFolders->SelectedPath()));
}

void TfrmBrowse::btnOKClick() {
    const std::string path = stvFolders->SelectedPath();
    if (!IsGameFolder(path))
        return; // only a folder with the game's launcher can be confirmed
    FolderPath = WithTrailingSeparator(path);
    accept();
}

void TfrmBrowse::btnCancelClick() {
    reject();
}

void TfrmBrowse::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The tree spans the width at its design height; the buttons keep their distance to the
    // bottom-right corner; the status bar runs along the bottom.
    stvFolders->setGeometry(0, 0, width(), kTreeHeight);
    btnOK->move(width() - kOkRightGap, height() - kButtonBottomGap);
    btnCancel->move(width() - kCancelRightGap, height() - kButtonBottomGap);
    stbarStatus->setGeometry(0, height() - kStatusHeight, width(), kStatusHeight);
}

void TfrmBrowse::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget())
        move(owner->frameGeometry().center() - QRect(QPoint(), frameGeometry().size()).center());
}

std::vector<PrefixNode> BrowsePrefixNodes(const GamePrefixes& prefixes) {
    auto node = [&](const FoundPrefix& prefix) {
        return PrefixNode{QFile::decodeName(prefixes.Label(prefix).c_str()),
                          QText(prefix.folder)};
    };
    std::vector<PrefixNode> nodes;
    for (const FoundPrefix& prefix : prefixes.All())
        if (IsFolder(prefix.folder))
            nodes.push_back(node(prefix));
    // The prefix in use is listed even before Wine has made its folder.
    if (nodes.empty())
        nodes.push_back(node(prefixes.Current()));
    return nodes;
}

#include "lang/untAbout.h"

#include "resources/DesignWidgets.h"
#include "resources/Glyphs.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

TfrmAbout* frmAbout = nullptr;

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFont(DesignFont());
    setFixedSize(290, 145);

    gbAbout = new QGroupBox(QStringLiteral(" About program "), this);
    gbAbout->setObjectName(QStringLiteral("gbAbout"));
    gbAbout->setGeometry(0, 0, 290, 105);

    pnlAbout = new QFrame(gbAbout);
    pnlAbout->setObjectName(QStringLiteral("pnlAbout"));
    pnlAbout->setGeometry(10, 20, 77, 77);
    pnlAbout->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    imgIcon = new QLabel(pnlAbout);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(AboutPicture());
    imgIcon->setGeometry(1, 1, 74, 74);

    lblTitle = MakeDesignLabel(gbAbout, "lblTitle",
                               QStringLiteral("ZELTA Startup Configuration Utility "), {100, 24});
    lblVersion =
        MakeDesignLabel(gbAbout, "lblVersion", QStringLiteral("version: 0.82 BETA"), {131, 43});
    QFont bold = lblVersion->font();
    bold.setBold(true);
    lblVersion->setFont(bold);
    lblVersion->adjustSize();
    bvlSplitter = new QFrame(gbAbout);
    bvlSplitter->setObjectName(QStringLiteral("bvlSplitter"));
    bvlSplitter->setGeometry(96, 64, 185, 4);
    bvlSplitter->setFrameShape(QFrame::HLine);
    bvlSplitter->setFrameShadow(QFrame::Sunken);
    Label1 = MakeDesignLabel(gbAbout, "Label1", QStringLiteral("Made for the players of ZELTA"),
                             {109, 79});

    btnOK = new QPushButton(QStringLiteral("&Okay"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(201, 111, 73, 25);
    btnOK->setToolTip(QStringLiteral("Close window"));
    DecorateButton(btnOK, Glyph::Okay);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
}

void TfrmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        CentreOnScreen(this); // the screen's centre, not the main window's
}

void TfrmAbout::btnOKClick() {
    accept();
}

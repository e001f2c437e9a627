#include "launcher/untBrowse.h"

#include "resources/Glyphs.h"

#include <QPushButton>
#include <QStatusBar>

TfrmBrowse* frmBrowse = nullptr;

TfrmBrowse::TfrmBrowse(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmBrowse"));
    setWindowTitle(QStringLiteral("Browse for ZELTA folder"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    resize(272, 273);
    setMinimumSize(272, 273);

    btnOK = new QPushButton(QStringLiteral("&Okay"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(104, 218, 73, 25);
    btnOK->setToolTip(QStringLiteral("Accept changes"));
    DecorateButton(btnOK, Glyph::Okay);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(192, 218, 73, 25);
    btnCancel->setToolTip(QStringLiteral("Discard changes"));
    DecorateButton(btnCancel, Glyph::Cancel);
    stbarStatus = new QStatusBar(this);
    stbarStatus->setObjectName(QStringLiteral("stbarStatus"));
    stbarStatus->setGeometry(0, 252, 272, 21);
    stbarStatus->setSizeGripEnabled(true);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
}

void TfrmBrowse::btnOKClick() {
    accept();
}

void TfrmBrowse::btnCancelClick() {
    reject();
}

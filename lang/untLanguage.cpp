#include "lang/untLanguage.h"

#include "launcher/Options.h"
#include "resources/Glyphs.h"

#include <QPushButton>

TfrmLanguage* frmLanguage = nullptr;

TfrmLanguage::TfrmLanguage(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmLanguage"));
    setWindowTitle(QStringLiteral("Language"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    setFixedSize(278, 181);

    btnOK = new QPushButton(QStringLiteral("&Okay"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(106, 146, 73, 25);
    btnOK->setToolTip(QStringLiteral("Accept changes"));
    DecorateButton(btnOK, Glyph::Okay);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(194, 146, 73, 25);
    btnCancel->setToolTip(QStringLiteral("Discard changes"));
    DecorateButton(btnCancel, Glyph::Cancel);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    FormCreate();
}

void TfrmLanguage::FormCreate() {
    SetLanguage(kDefaultLanguage);
}

void TfrmLanguage::btnOKClick() {
    accept();
}

void TfrmLanguage::btnCancelClick() {
    reject();
}

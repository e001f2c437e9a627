#include "lang/untLanguage.h"

#include "lang/DefaultLanguage.h"
#include "lang/LanguageFile.h"
#include "lang/LanguageFolders.h"
#include "platform/ProgramStarter.h"
#include "platform/QtText.h"
#include "platform/TextRules.h"
#include "platform/WindowsText.h"
#include "resources/DesignWidgets.h"
#include "resources/Glyphs.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

TfrmLanguage* frmLanguage = nullptr;

namespace {
// Fits a value line to its text; an empty line keeps the width of a blank, so it can still be
// clicked.
void FitLabel(QLabel* label) {
    label->adjustSize();
    if (label->text().isEmpty())
        label->resize(label->fontMetrics().horizontalAdvance(QLatin1Char(' ')), label->height());
}

// A bold value line; the two link lines are also underlined, in the link colour, with the hand.
QLabel* MakeValueLabel(QWidget* parent, const char* name, const QString& text, QPoint at,
                       bool link) {
    QLabel* label = MakeDesignLabel(parent, name, text, at);
    label->setTextFormat(Qt::PlainText); // the language file's text, never markup
    QFont font = label->font();
    font.setBold(true);
    font.setUnderline(link);
    label->setFont(font);
    if (link) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
        label->setPalette(palette);
        label->setCursor(Qt::PointingHandCursor);
    }
    FitLabel(label);
    return label;
}

} // namespace

TfrmLanguage::TfrmLanguage(std::vector<std::string> languageFolders, ProgramStarter* starter,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      languageFolders_(std::move(languageFolders)), starter_(starter) {
    setObjectName(QStringLiteral("frmLanguage"));
    setWindowTitle(QStringLiteral("Language"));
    setFont(DesignFont());
    setFixedSize(278, 181);

    gbLanguage = new QGroupBox(QStringLiteral(" Change program language "), this);
    gbLanguage->setObjectName(QStringLiteral("gbLanguage"));
    gbLanguage->setGeometry(0, 0, 278, 137);

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

    lblAutorTitle =
        MakeDesignLabel(gbLanguage, "lblAutorTitle", QStringLiteral("Author: "), {16, 64});
    lblEmailTitle =
        MakeDesignLabel(gbLanguage, "lblEmailTitle", QStringLiteral("E-Mail:"), {16, 88});
    lblWebSiteTitle =
        MakeDesignLabel(gbLanguage, "lblWebSiteTitle", QStringLiteral("Web Site:"), {16, 112});
    lblLanguage =
        MakeDesignLabel(gbLanguage, "lblLanguage", QStringLiteral("Select Language:"), {16, 24});

    cbxLanguage = new QComboBox(gbLanguage);
    cbxLanguage->setObjectName(QStringLiteral("cbxLanguage"));
    cbxLanguage->setGeometry(112, 21, 153, 21);
    cbxLanguage->addItem(QString::fromLatin1(kDefaultLanguage));
    cbxLanguage->setCurrentIndex(0);

    bvlSplitter = new QFrame(gbLanguage);
    bvlSplitter->setObjectName(QStringLiteral("bvlSplitter"));
    bvlSplitter->setGeometry(16, 54, 249, 5);
    bvlSplitter->setFrameShape(QFrame::HLine);
    bvlSplitter->setFrameShadow(QFrame::Sunken);

    lblAuthor =
        MakeValueLabel(gbLanguage, "lblAuthor", QStringLiteral("ZELTA SCU team"), {80, 64}, false);
    lblEmail =
        MakeValueLabel(gbLanguage, "lblEmail", QStringLiteral("scu@example.org"), {80, 88}, true);
    lblWebSite = MakeValueLabel(gbLanguage, "lblWebSite",
                                QStringLiteral("www.example.org/zelta-scu"), {80, 112}, true);
    lblEmail->installEventFilter(this);
    lblWebSite->installEventFilter(this);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    // Only a user's pick shows the translator; selecting by program runs nothing.
    connect(cbxLanguage, &QComboBox::activated, this, [this] { cbxLanguageChange(); });
    FormCreate();
}

void TfrmLanguage::FormCreate() {
    SetLanguage(kDefaultLanguage);
}

void TfrmLanguage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnScreen(this);
        FormShow();
    }
}

void TfrmLanguage::FormShow() {
    FillLanguageList();
}

void TfrmLanguage::FillLanguageList() {
    cbxLanguage->clear();
    for (const std::string& name : ListLanguages(languageFolders_))
        cbxLanguage->addItem(QText(name));
    cbxLanguage->setCurrentIndex(-1);
    // Listed names are bytes on disk, the stored one may be decoded text: compared as text.
    const std::string wanted = DecodeWindowsText(Language);
    for (int i = 0; i < cbxLanguage->count(); ++i)
        if (SameText(DecodeWindowsText(Text(cbxLanguage->itemText(i))), wanted)) {
            cbxLanguage->setCurrentIndex(i);
            break;
        }
}

void TfrmLanguage::cbxLanguageChange() {
    if (cbxLanguage->currentIndex() >= 0)
        ShowLanguageInfo(Text(cbxLanguage->currentText()));
}

void TfrmLanguage::ShowLanguageInfo(const std::string& name) {
    const LanguageLayout layout = LanguageFile(FindLanguageFile(languageFolders_, name)).Layout();
    // The value lines grow with their text, so the whole line answers a click.
    lblAuthor->setText(QText(layout.author));
    FitLabel(lblAuthor);
    lblEmail->setText(QText(layout.email));
    FitLabel(lblEmail);
    lblWebSite->setText(QText(layout.site));
    FitLabel(lblWebSite);
}

void TfrmLanguage::btnOKClick() {
    SetLanguage(cbxLanguage->currentIndex() >= 0 ? Text(cbxLanguage->currentText())
                                                 : std::string());
    accept();
}

void TfrmLanguage::btnCancelClick() {
    reject();
}

void TfrmLanguage::lblEmailClick() {
    if (starter_)
        starter_->Open("mailto:" + Text(lblEmail->text()));
}

void TfrmLanguage::lblWebSiteClick() {
    if (starter_)
        starter_->Open("http://" + Text(lblWebSite->text()));
}

bool TfrmLanguage::eventFilter(QObject* watched, QEvent* event) {
    // A label has no click of its own: a left-button release over it counts as one.
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == lblEmail || watched == lblWebSite)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            if (watched == lblEmail)
                lblEmailClick();
            else
                lblWebSiteClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

#include "platform/QtMessageBoxes.h"

#include "platform/ScuError.h"

#include <QApplication>
#include <QMessageBox>

QString MessageTextForDisplay(const std::string& text) {
    QString shown = QString::fromLocal8Bit(text.c_str());
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

static QMessageBox::StandardButton ShowBox(QMessageBox::Icon icon, const char* title,
                                           const std::string& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QString::fromLatin1(title), MessageTextForDisplay(text), buttons,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText); // messages quote paths, which are never markup
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void QtMessageBoxes::Information(const std::string& text) {
    ShowBox(QMessageBox::Information, "Information", text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtMessageBoxes::Error(const std::string& text) {
    ShowBox(QMessageBox::Critical, "Error", text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBoxes::Confirm(const std::string& text) {
    return ShowBox(QMessageBox::Question, "Confirm", text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

void QtMessageBoxes::ApplicationError(const std::string& message) {
    ShowBox(QMessageBox::Critical, "ZELTA SCU", ApplicationErrorText(message), QMessageBox::Ok,
            QMessageBox::Ok);
}

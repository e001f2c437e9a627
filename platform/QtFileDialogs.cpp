#include "platform/QtFileDialogs.h"

#include <QFileDialog>
#include <QString>

QString QtNameFilter(const std::string& filter) {
    // "Extended PAD files (*.xpd)|*.xpd": the description already names the pattern.
    const QString text = QString::fromLocal8Bit(filter.c_str());
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return text;
    const QString description = text.left(bar);
    const QString pattern = text.mid(bar + 1).replace(QLatin1Char(';'), QLatin1Char(' '));
    return description.contains(QLatin1Char('('))
               ? description
               : description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

std::optional<std::string> QtFileDialogs::Run(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(owner_, QString::fromLocal8Bit(request.title.c_str()),
                       QString::fromLocal8Bit(request.initialFolder.c_str()));
    dialog.setNameFilter(QtNameFilter(request.filter));
    dialog.setDefaultSuffix(QString::fromLocal8Bit(request.defaultExtension.c_str()));
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    dialog.setSizeGripEnabled(true);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toLocal8Bit().toStdString();
}

std::optional<std::string> QtFileDialogs::Save(const FileDialogRequest& request) {
    return Run(request, true);
}
std::optional<std::string> QtFileDialogs::Open(const FileDialogRequest& request) {
    return Run(request, false);
}

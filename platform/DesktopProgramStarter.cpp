#include "platform/DesktopProgramStarter.h"

#include "platform/Paths.h"

#include <QDesktopServices>
#include <QUrl>

std::string DesktopProgramStarter::Start(const std::string& program, const std::string&,
                                         const std::string&) {
    // Starting the game lands with the launch sequence; until then say so plainly.
    return "starting " + program + " is not supported by this build";
}

void DesktopProgramStarter::Open(const std::string& documentOrUrl) {
    const QString text = QString::fromLocal8Bit(documentOrUrl.c_str());
    QUrl url;
    if (text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        url = QUrl(text);
    else
        url = QUrl::fromLocalFile(QString::fromLocal8Bit(NativePath(documentOrUrl).c_str()));
    QDesktopServices::openUrl(url);
}

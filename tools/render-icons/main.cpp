// Renders the application's icon and the XPD type's icon into a hicolor icon theme folder, at
// the sizes that the install puts on the desktop: render-icons THEME_FOLDER SIZE...
#include "resources/Glyphs.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: render-icons THEME_FOLDER SIZE...\n");
        return 2;
    }
    // Drawing needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString theme = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0)
            return 2;
        const QString folder = theme + QStringLiteral("/%1x%1/").arg(size);
        const struct {
            const char* context;
            const char* name;
            QImage image;
        } icons[] = {
            {"apps", "zeltasc", ApplicationIconImage(size)},
            {"mimetypes", "application-x-zelta-xpd", XpdFileIconImage(size)},
        };
        for (const auto& icon : icons) {
            const QString path = folder + QLatin1String(icon.context) + QLatin1Char('/') +
                                 QLatin1String(icon.name) + QStringLiteral(".png");
            if (!QDir().mkpath(folder + QLatin1String(icon.context)) || !icon.image.save(path)) {
                std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}

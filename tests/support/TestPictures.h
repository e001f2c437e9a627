#pragma once

#include <QString>
#include <QWidget>

#include <cstdlib>

// Pictures of windows for a person to look at: saved as <name>.png into the folder named by the
// environment variable SCU_TEST_PICTURES, and only when it is set.
inline void SavePictureIfAsked(QWidget* widget, const QString& name) {
    const char* folder = std::getenv("SCU_TEST_PICTURES");
    if (!folder || !*folder)
        return;
    widget->grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name +
                        QStringLiteral(".png"));
}

#include "platform/QtPauses.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void QtPauses::Pause(int milliseconds) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    loop.exec();
}

void QtPauses::ProcessEvents() {
    QCoreApplication::processEvents();
}

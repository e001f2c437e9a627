#include "player/EventLoopPauses.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void EventLoopPauses::Pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void EventLoopPauses::ProcessEvents() {
    QCoreApplication::processEvents();
}

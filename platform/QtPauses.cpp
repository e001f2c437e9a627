#include "platform/QtPauses.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

void QtPauses::Pause(int milliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    // Once the program has been asked to end (its window closed during a wait), event loops no
    // longer run; the pause still lasts its time, so the wait for the game keeps its pace.
    if (loop.exec() < 0 && elapsed.elapsed() < milliseconds)
        QThread::msleep(static_cast<unsigned long>(milliseconds - elapsed.elapsed()));
}

void QtPauses::ProcessEvents() {
    QCoreApplication::processEvents();
}

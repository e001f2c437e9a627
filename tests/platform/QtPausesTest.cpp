#include "platform/QtPauses.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(QtPauses, HandlesEventsWhileItWaits) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    bool fired = false;
    QTimer::singleShot(50, [&] { fired = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    QtPauses().Pause(200);
    EXPECT_TRUE(fired);
    EXPECT_GE(elapsed.elapsed(), 190);

    // After the program was asked to end, a pause still lasts its time.
    qint64 paused = -1;
    QTimer::singleShot(0, [&] {
        QCoreApplication::quit();
        QElapsedTimer t;
        t.start();
        QtPauses().Pause(200);
        paused = t.elapsed();
    });
    QCoreApplication::exec();
    EXPECT_GE(paused, 190);
}

} // namespace

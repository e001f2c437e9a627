#include "player/untVexaObjects.h"
#include "support/TempFolder.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // The components' trace goes to a folder of the test's own.
    TempFolder traceFolder;
    setenv("TMPDIR", traceFolder.Path().c_str(), 1);
    QApplication app(argc, argv);
    // Errors that would reach the application error box fail the test instead of blocking it.
    SetComponentErrorHandler(
        [](const std::string& message) { ADD_FAILURE() << "component error: " << message; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

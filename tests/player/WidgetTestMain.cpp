#include "player/untVexaObjects.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    // The components' trace goes to a folder of the test's own.
    const std::string traceFolder =
        (std::filesystem::temp_directory_path() / "scu-player-trace").string();
    std::filesystem::create_directories(traceFolder);
    setenv("TMPDIR", traceFolder.c_str(), 1);
    QApplication app(argc, argv);
    // Errors that would reach the application error box fail the test instead of blocking it.
    SetComponentErrorHandler(
        [](const std::string& message) { ADD_FAILURE() << "component error: " << message; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

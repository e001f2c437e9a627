// Manual check of the movie window: play-movie FILE [--controls]
// Plays FILE as "Show FMV via internal player" does, then prints the pointer position and the CPU
// time the process spent from opening the window to its close (all threads; the program's own
// start-up is left out, as it is for a movie started from the main window).
#include "platform/ScuError.h"
#include "player/untFMV.h"
#include "resources/Fonts.h"

#include <QApplication>
#include <QCursor>

#include <sys/resource.h>

#include <cstring>
#include <iomanip>
#include <iostream>

namespace {
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: play-movie FILE [--controls]\n";
        return 2;
    }
    FixFontResolution();
    QApplication app(argc, argv);
    RegisterDesignFonts();
    const bool controls = argc > 2 && std::strcmp(argv[2], "--controls") == 0;
    const double cpuBefore = CpuSeconds();
    try {
        MovieWindowOpen(argv[1], controls);
    } catch (const ScuError& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    const QPoint pointer = QCursor::pos();
    std::cout << "closed; pointer at " << pointer.x() << "," << pointer.y() << "\n"
              << "movie CPU seconds: " << std::fixed << std::setprecision(3)
              << CpuSeconds() - cpuBefore << "\n";
    return 0;
}

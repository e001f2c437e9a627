// Manual check of the movie window: play-movie FILE [--controls]
// Plays FILE as "Show FMV via internal player" does, then prints the pointer position.
#include "platform/ScuError.h"
#include "player/untFMV.h"
#include "resources/Fonts.h"

#include <QApplication>
#include <QCursor>

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: play-movie FILE [--controls]\n";
        return 2;
    }
    FixFontResolution();
    QApplication app(argc, argv);
    RegisterDesignFonts();
    const bool controls = argc > 2 && std::strcmp(argv[2], "--controls") == 0;
    try {
        MovieWindowOpen(argv[1], controls);
    } catch (const ScuError& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    const QPoint pointer = QCursor::pos();
    std::cout << "closed; pointer at " << pointer.x() << "," << pointer.y() << "\n";
    return 0;
}

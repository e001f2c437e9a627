#pragma once

#include "platform/ProgramStarter.h"

#include <string>

// The Wine program that runs a Windows program: the program named by $WINE (the convention of
// winetricks and game managers; a path, or a name looked up on PATH) when it exists, else "wine"
// on PATH; empty when neither exists.
std::string FindWineProgram();

// Starts the game and opens documents and links with the desktop's programs.
class DesktopProgramStarter : public ProgramStarter {
public:
    std::string Start(const std::string& program, const std::string& arguments,
                      const std::string& folder) override;
    void Open(const std::string& documentOrUrl) override;
};

#pragma once

#include "platform/ProgramStarter.h"

// Starts the game and opens documents and links with the desktop's programs.
class DesktopProgramStarter : public ProgramStarter {
public:
    std::string Start(const std::string& program, const std::string& arguments,
                      const std::string& folder) override;
    void Open(const std::string& documentOrUrl) override;
};

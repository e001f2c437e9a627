#pragma once

#include "platform/ProgramStarter.h"

#include <string>
#include <sys/types.h>

class GamePrefixes;

// Starts the game and opens documents and links with the desktop's programs. A Windows program
// runs through the Wine of the prefix in use (see wine/WineCommand.h).
class DesktopProgramStarter : public ProgramStarter {
public:
    // startFolder: the folder the utility was started in (a relative $WINE is taken against it);
    // prefixes: the prefix in use; without one, $WINEPREFIX or ~/.wine with the system's Wine.
    explicit DesktopProgramStarter(std::string startFolder = {},
                                   const GamePrefixes* prefixes = nullptr);
    std::string Start(const std::string& program, const std::string& arguments,
                      const std::string& folder) override;
    bool StartedProgramRuns() override;
    void Open(const std::string& documentOrUrl) override;

private:
    std::string startFolder_;
    const GamePrefixes* prefixes_;
    pid_t started_ = 0; // our child, reaped once it has ended
};

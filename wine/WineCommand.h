#pragma once

#include "wine/FoundPrefix.h"

#include <string>
#include <utility>
#include <vector>

// The Wine program that $WINE names (the convention of winetricks and game managers: a path, or
// a name looked up on PATH), when it exists; a relative path is taken against startFolder, the
// folder the utility was started in, since the launch changes the current folder. Empty when
// WINE is unset or names nothing that runs.
std::string NamedWineProgram(const std::string& startFolder);

// The Wine program for a prefix without a manager's own: NamedWineProgram, else "wine" on PATH;
// empty when neither exists.
std::string FindWineProgram(const std::string& startFolder);

// An executable regular file named on PATH (an empty entry is the current folder), or empty.
std::string FindOnPath(const std::string& name);

// How a Windows program is run in a prefix: what comes before the program's native path on the
// command line, and the environment variables set for it. failure: why it cannot be run.
struct WineCommand {
    std::vector<std::string> before;
    std::vector<std::pair<std::string, std::string>> environment;
    std::string failure;
};

// $WINE wins; otherwise a Proton prefix runs "<proton> run" with STEAM_COMPAT_DATA_PATH and
// STEAM_COMPAT_CLIENT_INSTALL_PATH, a manager's prefix its runner's wine; a missing runner falls
// back to wine on PATH, and only when that is missing too is there a failure (naming the runner).
// WINEPREFIX is always the prefix.
WineCommand BuildWineCommand(const FoundPrefix& prefix, const std::string& startFolder);

inline constexpr const char* kWineMissing =
    "Wine is needed to run this Windows program but was not found.";

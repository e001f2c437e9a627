#pragma once

#include <string>

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

// An executable regular file.
bool IsExecutableFile(const std::string& path);

inline constexpr const char* kWineMissing =
    "Wine is needed to run this Windows program but was not found.";

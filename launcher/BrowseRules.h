#pragma once

#include <string>

// The folder text handed back by the browse dialog: the path with a separator at its end. A
// path that already ends in "/" or "\" is returned unchanged; otherwise "/" is appended to a
// Linux path and "\" to a Windows one (one without "/"), so the game folder stays in the form the
// rest of the utility appends "bin\" and "\data\..." to.
std::string WithTrailingSeparator(std::string path);

// Whether a folder may be confirmed as the game folder: a real folder (virtual tree nodes have
// no path) that holds "launcher.exe", found without regard to case.
bool IsGameFolder(const std::string& folderPath);

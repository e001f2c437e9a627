#pragma once

#include "launcher/Options.h"

#include <string>

// An XPD recording as it was started: the package to write, the level's file base name given to
// the game (the game records into bin\K.tmp) and the options of the window at the start.
struct XpdRecording {
    std::string package;
    std::string levelKey;
    StoredOptions options;
};

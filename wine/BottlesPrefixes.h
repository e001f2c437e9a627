#pragma once

#include "wine/FoundPrefix.h"

#include <vector>

// Bottles' bottles: each <data>/bottles/bottles/<name>/bottle.yml (and the same below the
// Flatpak's ~/.var/app/com.usebottles.bottles/data). The bottle's folder is the prefix, or the
// folder that "Path" names for a "Custom_Path" bottle; "Runner" names
// <bottles>/runners/<Runner>/bin/wine, and a "sys-*" runner is the system's wine.
std::vector<FoundPrefix> FindBottlesPrefixes(const HomeFolders& folders);

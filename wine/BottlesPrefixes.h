#pragma once

#include "wine/FoundPrefix.h"

#include <vector>

// Bottles' bottles, native and Flatpak (~/.var/app/com.usebottles.bottles/data/bottles): each
// <bottles>/<name>/bottle.yml, where <bottles> is data.yml's custom_bottles_path when that folder
// exists, else <data>/bottles/bottles; a bottle in a folder of the player's choice leaves
// <bottles>/<name>/placeholder.yml, whose "Path" names the folder of its bottle.yml. The prefix
// is the bottle's folder: the one "Path" names for a "Custom_Path" bottle, else <bottles>/<Path>.
std::vector<FoundPrefix> FindBottlesPrefixes(const HomeFolders& folders);

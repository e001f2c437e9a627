#pragma once

#include "wine/FoundPrefix.h"

#include <vector>

// Lutris's Wine games: the installed games of runner "wine" in its database
// (<data>/lutris/pga.db, table games), each with its game file
// <config>/lutris/games/<configpath>.yml (<data>/lutris/games/ where <config>/lutris does not
// exist): "game: prefix:" is the prefix (else the game's directory), "wine: version:" the runner,
// <data>/lutris/runners/wine/<version>/bin/wine.
std::vector<FoundPrefix> FindLutrisPrefixes(const HomeFolders& folders);

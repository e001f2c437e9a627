#pragma once

#include "wine/FoundPrefix.h"

#include <vector>

// Lutris's Wine games, native and Flatpak (~/.var/app/net.lutris.Lutris/{data,config}/lutris):
// the installed games of runner "wine" in its database (<data>/lutris/pga.db, table games), each
// with its game file <config>/lutris/games/<configpath>.yml (<data>/lutris/games/ where
// <config>/lutris does not exist): "game: prefix:" is the prefix, else the game's directory.
std::vector<FoundPrefix> FindLutrisPrefixes(const HomeFolders& folders);

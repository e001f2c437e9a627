#pragma once

#include "wine/FoundPrefix.h"

#include <string>
#include <vector>

// Heroic's Windows games: each <config>/heroic/GamesConfig/<app>.json (and the same below the
// Flatpak's ~/.var/app/com.heroicgameslauncher.hgl/config): the game's settings object holds
// "winePrefix" and "wineVersion" {"bin", "type"}. A "wine" build runs the prefix itself; a
// "proton" build keeps the prefix in <winePrefix>/pfx and is started through that Proton.
std::vector<FoundPrefix> FindHeroicPrefixes(const HomeFolders& folders);

// The prefixes of one game file's text (read with Qt's JSON reader); exposed for the tests.
std::vector<FoundPrefix> ReadHeroicGameConfig(const std::string& json, const HomeFolders& folders);

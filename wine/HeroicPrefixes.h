#pragma once

#include "wine/FoundPrefix.h"

#include <vector>

// Heroic's Windows games, native and Flatpak: each <config>/heroic/GamesConfig/<app>.json (and
// the same below ~/.var/app/com.heroicgameslauncher.hgl/config). The game's settings give its
// "winePrefix"; a "proton" build keeps the prefix in <winePrefix>/pfx.
std::vector<FoundPrefix> FindHeroicPrefixes(const HomeFolders& folders);

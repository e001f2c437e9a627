#pragma once

#include "wine/FoundPrefix.h"

#include <string>
#include <vector>

// Steam's Proton prefixes: in every Steam root (native ~/.steam/steam and ~/.local/share/Steam,
// the Flatpak's and the Snap's) every library that steamapps/libraryfolders.vdf names, and in
// each library every steamapps/compatdata/<appid>/pfx with a pfx.lock beside it. Roots and
// libraries reached twice count once. How each is started is wine/SteamLaunch's.
std::vector<FoundPrefix> FindSteamPrefixes(const HomeFolders& folders);

// The libraries of a Steam root: the root itself, then each path of libraryfolders.vdf, as the
// file system resolves them, each once.
std::vector<std::string> SteamLibraries(const std::string& root);

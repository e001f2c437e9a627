#pragma once

#include "wine/FoundPrefix.h"

#include <vector>

// Steam's Proton prefixes: in every Steam root (native, Flatpak, Snap) every library that
// steamapps/libraryfolders.vdf names, and in each library every steamapps/compatdata/<appid>/pfx
// with a pfx.lock beside it. Each is started through the Proton that config/config.vdf maps to
// the app id, else the newest installed one. Roots and libraries reached twice count once.
std::vector<FoundPrefix> FindSteamPrefixes(const HomeFolders& folders);

// The Proton folder name of a compatibility tool name of config.vdf: "proton_9" -> "Proton 9.0",
// "proton_513" -> "Proton 5.13", "proton_experimental" -> "Proton - Experimental",
// "proton_hotfix" -> "Proton Hotfix"; other names stay as they are.
std::string ProtonFolderName(const std::string& toolName);

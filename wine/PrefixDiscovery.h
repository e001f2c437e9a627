#pragma once

#include "wine/FoundPrefix.h"

#include <optional>
#include <vector>

// Every prefix the player has, in this order: $WINEPREFIX alone when it is set; otherwise
// ~/.wine, then Steam's, Lutris's, Bottles' and Heroic's prefixes. A prefix reached twice (a
// manager pointing at ~/.wine, a Steam root linked to another) counts once, where it is first met.
std::vector<FoundPrefix> FindWinePrefixes(const HomeFolders& folders);

// The prefix whose installation record the game folder comes from: among the prefixes whose
// system.reg holds the record, the one written last (the first of them in the list order when
// times are equal). No value when none holds it.
std::optional<size_t> ChooseGamePrefix(const std::vector<FoundPrefix>& prefixes);

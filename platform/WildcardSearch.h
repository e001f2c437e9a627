#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FoundEntry {
    std::string name;
    bool isDirectory = false;
};

// Whether a file name matches a DOS wildcard mask ("*", "?", "*.*", "*."), without regard to case.
bool MatchesWildcard(std::string_view mask, std::string_view name);

// Lists the entries of a folder that match the mask of a path text such as
// "C:\Games\ZELTA\bin\*.exe" (folder and mask split at the last separator). Entries come sorted
// by their upper-cased name, the order in which the game's platform lists a folder; "." and ".."
// are never returned. A missing folder gives an empty list.
std::vector<FoundEntry> FindFiles(std::string_view pattern);

#pragma once

#include "wine/FoundPrefix.h"

#include <optional>
#include <string>
#include <vector>

// The prefixes found at start and the one in use: the one the installation record came from,
// else $WINEPREFIX or ~/.wine as before. The prefix in use is put into WINEPREFIX of the
// utility's own environment, so that drive letters of game paths map through it and the game
// inherits it; choosing a folder inside another prefix in the browse dialog moves to that prefix
// for the rest of the run.
class GamePrefixes {
public:
    // What the search found: the prefixes and the one holding the newest record.
    struct Search {
        std::vector<FoundPrefix> prefixes;
        std::optional<size_t> chosen;
    };
    // Finds and chooses (see PrefixDiscovery). Reads files only and changes no state, so it may
    // run on a thread of its own while the windows are built.
    static Search Find(const HomeFolders& folders);

    explicit GamePrefixes(const HomeFolders& folders);
    GamePrefixes(const HomeFolders& folders, Search search);
    // Given prefixes (tests); the first is the default when none holds the record.
    GamePrefixes(const HomeFolders& folders, std::vector<FoundPrefix> prefixes);

    const std::vector<FoundPrefix>& All() const { return prefixes_; }
    const FoundPrefix& Current() const { return prefixes_[current_]; }
    std::string Label(const FoundPrefix& prefix) const;
    std::string CurrentLabel() const { return Label(Current()); }

    // Makes the prefix that holds nativeFolder (a path inside its folder) the one in use; false
    // when the folder lies in none (the prefix in use stays).
    bool UseFolder(const std::string& nativeFolder);

private:
    void Apply() const;
    HomeFolders folders_;
    std::vector<FoundPrefix> prefixes_;
    size_t current_ = 0;
};

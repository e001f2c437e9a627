#include "wine/PrefixDiscovery.h"

#include "wine/BottlesPrefixes.h"
#include "wine/HeroicPrefixes.h"
#include "wine/LutrisPrefixes.h"
#include "wine/SteamPrefixes.h"
#include "wine/WinePrefixGameRegistry.h"

#include <climits>
#include <cstdlib>
#include <set>
#include <sys/stat.h>

std::vector<FoundPrefix> FindWinePrefixes(const HomeFolders& folders) {
    FoundPrefix wine;
    if (!folders.winePrefix.empty()) {
        wine.folder = folders.winePrefix;
        return {wine}; // the player said which
    }
    wine.folder = folders.home + "/.wine";
    std::vector<FoundPrefix> found{wine};
    std::set<std::string> seen;
    char buffer[PATH_MAX];
    if (realpath(wine.folder.c_str(), buffer))
        seen.insert(buffer);
    for (auto* reader :
         {&FindSteamPrefixes, &FindLutrisPrefixes, &FindBottlesPrefixes, &FindHeroicPrefixes})
        for (FoundPrefix& prefix : reader(folders)) {
            // Only prefixes that exist are offered; each once.
            if (!realpath(prefix.folder.c_str(), buffer) || !IsFolder(buffer) ||
                !seen.insert(buffer).second)
                continue;
            found.push_back(std::move(prefix));
        }
    return found;
}

std::optional<size_t> ChooseGamePrefix(const std::vector<FoundPrefix>& prefixes) {
    std::optional<size_t> chosen;
    struct timespec newest {};
    for (size_t i = 0; i < prefixes.size(); ++i) {
        struct stat st;
        const std::string systemReg = prefixes[i].folder + "/system.reg";
        if (stat(systemReg.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // The cheap test first: a prefix older than the one chosen need not be read.
        const bool newer =
            !chosen || st.st_mtim.tv_sec > newest.tv_sec ||
            (st.st_mtim.tv_sec == newest.tv_sec && st.st_mtim.tv_nsec > newest.tv_nsec);
        if (!newer || !PrefixHoldsGameRecord(prefixes[i].folder))
            continue;
        chosen = i;
        newest = st.st_mtim;
    }
    return chosen;
}

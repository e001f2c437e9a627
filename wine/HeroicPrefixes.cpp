#include "wine/HeroicPrefixes.h"

#include "wine/HeroicSettings.h"

namespace {

void AddGames(const HomeFolders& folders, ManagerInstall install, const std::string& heroic,
              std::vector<FoundPrefix>& found) {
    const std::string games = heroic + "/GamesConfig";
    std::string config;
    ReadSmallFile(heroic + "/config.json", config);
    for (const std::string& name : FolderNames(games)) {
        std::string text;
        if (name.size() <= 5 || name.compare(name.size() - 5, 5, ".json") != 0 ||
            !ReadSmallFile(games + "/" + name, text))
            continue;
        for (const HeroicGame& game : ReadHeroicGames(text, config, folders.home)) {
            FoundPrefix prefix;
            prefix.manager = PrefixManager::Heroic;
            prefix.install = install;
            // A Proton build keeps the prefix in pfx/ of the compatibility data folder.
            prefix.folder = game.winePrefix + (game.wineType == "proton" ? "/pfx" : "");
            prefix.managerFolder = heroic;
            prefix.settingsFile = games + "/" + name;
            prefix.id = game.appName;
            found.push_back(std::move(prefix));
        }
    }
}

} // namespace

std::vector<FoundPrefix> FindHeroicPrefixes(const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    AddGames(folders, ManagerInstall::Native, folders.configHome + "/heroic", found);
    AddGames(folders, ManagerInstall::Flatpak,
             folders.home + "/.var/app/com.heroicgameslauncher.hgl/config/heroic", found);
    return found;
}

#include "wine/LutrisPrefixes.h"

#include "platform/RegularFile.h"
#include "wine/YamlScalars.h"

#include <sqlite3.h>

namespace {

struct LutrisGame {
    std::string name, directory, configPath;
};

// Read-only and without waiting on a lock: a running Lutris must not hold up the start.
std::vector<LutrisGame> InstalledWineGames(const std::string& database) {
    std::vector<LutrisGame> games;
    if (!IsRegularFile(database))
        return games;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return games;
    }
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT name, directory, configpath FROM games "
                           "WHERE runner = 'wine' AND installed = 1 ORDER BY id",
                           -1, &query, nullptr) == SQLITE_OK) {
        while (sqlite3_step(query) == SQLITE_ROW) {
            auto column = [query](int i) {
                const unsigned char* text = sqlite3_column_text(query, i);
                return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
            };
            games.push_back({column(0), column(1), column(2)});
        }
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    return games;
}

} // namespace

namespace {

void AddLutrisPrefixes(const HomeFolders& folders, ManagerInstall install,
                       const std::string& dataFolder, const std::string& configFolder,
                       std::vector<FoundPrefix>& found) {
    // Lutris keeps its YAML files in its configuration folder only while that folder exists.
    const std::string yamlFolder = IsFolder(configFolder) ? configFolder : dataFolder;
    for (const LutrisGame& game : InstalledWineGames(dataFolder + "/pga.db")) {
        std::string text;
        // A configpath is a file name; one that climbs out of the folder is not followed.
        const bool plainName = IsPlainName(game.configPath);
        const std::string gameFile = yamlFolder + "/games/" + game.configPath + ".yml";
        if (plainName)
            ReadSmallFile(gameFile, text);
        FoundPrefix prefix;
        prefix.manager = PrefixManager::Lutris;
        prefix.install = install;
        prefix.folder = ExpandHome(
            ReadYamlScalar(text, {"game", "prefix"}).value_or(game.directory), folders.home);
        if (prefix.folder.empty() || prefix.folder.front() != '/')
            continue;
        prefix.managerFolder = dataFolder;
        prefix.managerConfig = yamlFolder;
        prefix.settingsFile = plainName ? gameFile : std::string();
        prefix.id = game.name;
        prefix.library = game.directory;
        found.push_back(std::move(prefix));
    }
}

} // namespace

std::vector<FoundPrefix> FindLutrisPrefixes(const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    AddLutrisPrefixes(folders, ManagerInstall::Native, folders.dataHome + "/lutris",
                      folders.configHome + "/lutris", found);
    const std::string flatpak = folders.home + "/.var/app/net.lutris.Lutris";
    AddLutrisPrefixes(folders, ManagerInstall::Flatpak, flatpak + "/data/lutris",
                      flatpak + "/config/lutris", found);
    return found;
}

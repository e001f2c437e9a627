#include "wine/LutrisPrefixes.h"

#include "platform/RegularFile.h"
#include "wine/YamlScalars.h"

#include <sqlite3.h>

namespace {

struct LutrisGame {
    std::string directory, configPath;
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
                           "SELECT directory, configpath FROM games "
                           "WHERE runner = 'wine' AND installed = 1 ORDER BY id",
                           -1, &query, nullptr) == SQLITE_OK) {
        while (sqlite3_step(query) == SQLITE_ROW) {
            auto column = [query](int i) {
                const unsigned char* text = sqlite3_column_text(query, i);
                return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
            };
            games.push_back({column(0), column(1)});
        }
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    return games;
}

} // namespace

std::vector<FoundPrefix> FindLutrisPrefixes(const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    const std::string lutrisData = folders.dataHome + "/lutris";
    const std::string gameFiles = IsFolder(folders.configHome + "/lutris")
                                      ? folders.configHome + "/lutris/games/"
                                      : lutrisData + "/games/";
    for (const LutrisGame& game : InstalledWineGames(lutrisData + "/pga.db")) {
        std::string text;
        // A configpath is a file name; one that climbs out of the folder is not followed.
        const bool plainName = !game.configPath.empty() &&
                               game.configPath.find('/') == std::string::npos &&
                               game.configPath != "." && game.configPath != "..";
        if (plainName)
            ReadSmallFile(gameFiles + game.configPath + ".yml", text);
        FoundPrefix prefix;
        prefix.manager = PrefixManager::Lutris;
        prefix.folder = ExpandHome(
            ReadYamlScalar(text, {"game", "prefix"}).value_or(game.directory), folders.home);
        if (prefix.folder.empty() || prefix.folder.front() != '/')
            continue;
        if (const auto version = ReadYamlScalar(text, {"wine", "version"});
            version && version->find('/') == std::string::npos && *version != "." &&
            *version != "..")
            prefix.wine = lutrisData + "/runners/wine/" + *version + "/bin/wine";
        found.push_back(std::move(prefix));
    }
    return found;
}

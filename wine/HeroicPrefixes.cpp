#include "wine/HeroicPrefixes.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::string Utf8(const QJsonValue& value) {
    return value.isString() ? value.toString().toStdString() : std::string();
}

void AddGame(const QJsonObject& game, const HomeFolders& folders, std::vector<FoundPrefix>& found) {
    const std::string winePrefix =
        ExpandHome(Utf8(game.value(QStringLiteral("winePrefix"))), folders.home);
    if (winePrefix.empty() || winePrefix.front() != '/')
        return;
    const QJsonObject version = game.value(QStringLiteral("wineVersion")).toObject();
    const std::string bin = ExpandHome(Utf8(version.value(QStringLiteral("bin"))), folders.home);
    const std::string type = Utf8(version.value(QStringLiteral("type")));
    FoundPrefix prefix;
    prefix.manager = PrefixManager::Heroic;
    if (type == "proton") {
        prefix.compatData = winePrefix;
        prefix.folder = winePrefix + "/pfx";
        prefix.proton = bin;
        prefix.steamRoot = folders.home + "/.steam/steam";
    } else {
        prefix.folder = winePrefix;
        prefix.wine = bin;
    }
    found.push_back(std::move(prefix));
}

} // namespace

std::vector<FoundPrefix> ReadHeroicGameConfig(const std::string& json, const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())));
    const QJsonObject top = document.object();
    if (top.contains(QStringLiteral("winePrefix"))) {
        AddGame(top, folders, found);
        return found;
    }
    // The usual form: {"<app name>": {settings}, "version": "v0", "explicit": true}.
    for (auto it = top.begin(); it != top.end(); ++it)
        if (it.value().isObject())
            AddGame(it.value().toObject(), folders, found);
    return found;
}

std::vector<FoundPrefix> FindHeroicPrefixes(const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    for (const std::string& games :
         {folders.configHome + "/heroic/GamesConfig",
          folders.home + "/.var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig"}) {
        for (const std::string& name : FolderNames(games)) {
            std::string text;
            if (name.size() <= 5 || name.compare(name.size() - 5, 5, ".json") != 0 ||
                !ReadSmallFile(games + "/" + name, text))
                continue;
            for (FoundPrefix& prefix : ReadHeroicGameConfig(text, folders))
                found.push_back(std::move(prefix));
        }
    }
    return found;
}

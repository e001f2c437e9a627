#include "wine/HeroicSettings.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject ParseObject(const std::string& json) {
    return QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())))
        .object();
}

std::string Utf8(const QJsonValue& value) {
    return value.isString() ? value.toString().toStdString() : std::string();
}

std::string ExpandTilde(const std::string& path, const std::string& home) {
    if (path == "~" || path.rfind("~/", 0) == 0)
        return home + path.substr(1);
    return path;
}

HeroicGame ReadGame(const QString& appName, const QJsonObject& own, const QJsonObject& defaults,
                    const std::string& home) {
    // The game's keys win, key by key, over the global defaults.
    auto value = [&](const char* key) {
        const QString name = QString::fromLatin1(key);
        return own.contains(name) ? own.value(name) : defaults.value(name);
    };
    HeroicGame game;
    game.appName = appName.toStdString();
    game.winePrefix = ExpandTilde(Utf8(value("winePrefix")), home);
    if (game.winePrefix.empty())
        game.winePrefix = home + "/Games/Heroic/Prefixes/shared";
    const QJsonObject version = value("wineVersion").toObject();
    game.wineBin = ExpandTilde(Utf8(version.value(QStringLiteral("bin"))), home);
    game.wineType = Utf8(version.value(QStringLiteral("type")));
    game.wineLib = ExpandTilde(Utf8(version.value(QStringLiteral("lib"))), home);
    game.wineLib32 = ExpandTilde(Utf8(version.value(QStringLiteral("lib32"))), home);
    for (const QJsonValue& entry : value("enviromentOptions").toArray()) {
        const std::string key = Utf8(entry.toObject().value(QStringLiteral("key")));
        std::string text = Utf8(entry.toObject().value(QStringLiteral("value")));
        // Heroic takes a value wrapped in double quotes without them.
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
            text = text.substr(1, text.size() - 2);
        if (!key.empty())
            game.environment.emplace_back(key, text);
    }
    game.esync = value("enableEsync").toBool(true);
    game.fsync = value("enableFsync").toBool(true);
    game.disableUmu = value("disableUMU").toBool(false);
    game.showFps = value("showFps").toBool(false);
    game.fsr = value("enableFSR").toBool(false);
    game.nvapi = value("autoInstallDxvkNvapi").toBool(true);
    game.preferSystemLibs = value("preferSystemLibs").toBool(false);
    game.eacRuntime = value("eacRuntime").toBool(true);
    game.battlEyeRuntime = value("battlEyeRuntime").toBool(true);
    return game;
}

} // namespace

std::vector<HeroicGame> ReadHeroicGames(const std::string& gameJson, const std::string& configJson,
                                        const std::string& home) {
    std::vector<HeroicGame> games;
    const QJsonObject defaults =
        ParseObject(configJson).value(QStringLiteral("defaultSettings")).toObject();
    const QJsonObject top = ParseObject(gameJson);
    if (top.contains(QStringLiteral("winePrefix")) || top.contains(QStringLiteral("wineVersion"))) {
        games.push_back(ReadGame(QString(), top, defaults, home));
        return games;
    }
    for (auto it = top.begin(); it != top.end(); ++it)
        if (it.value().isObject())
            games.push_back(ReadGame(it.key(), it.value().toObject(), defaults, home));
    return games;
}

#pragma once

#include <string>
#include <utility>
#include <vector>

// One game's settings in Heroic: its GamesConfig/<app>.json object laid over the global
// "defaultSettings" of config.json, which are laid over Heroic's own defaults.
struct HeroicGame {
    std::string appName;
    std::string winePrefix;         // "~" expanded
    std::string wineBin;            // wineVersion.bin: the wine program or the proton script
    std::string wineType;           // wineVersion.type: "wine", "proton", ...
    std::string wineLib, wineLib32; // wineVersion.lib and .lib32: a Wine build's libraries
    // enviromentOptions ({"key", "value"}; Heroic's spelling), in order.
    std::vector<std::pair<std::string, std::string>> environment;
    bool esync = true, fsync = true;
    bool disableUmu = false;
    bool showFps = false, fsr = false, nvapi = true, preferSystemLibs = false;
    bool eacRuntime = true, battlEyeRuntime = true;
};

// The games of one GamesConfig file's text ({"<app>": {settings}, "version": ..}, or a bare
// settings object), with configJson (config.json's text, may be empty) for what they leave out.
// Read with Qt's JSON reader; a game without a prefix anywhere gets Heroic's shared one.
std::vector<HeroicGame> ReadHeroicGames(const std::string& gameJson, const std::string& configJson,
                                        const std::string& home);

#pragma once

#include "support/TempFolder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

// A game installation with the stand-in game as bin/ZELTA.EXE, and a private home, desktop
// folders and Wine prefix, so nothing of the real user is touched. The stand-in's windows stay
// briefly and it logs to game.log.
class StandInInstallation {
public:
    StandInInstallation() {
        namespace fs = std::filesystem;
        game = root.Path() + "/game/";
        fs::create_directories(game + "bin");
        fs::create_directories(game + "data/maps/cutscene");
        root.Write("game/launcher.exe", "launcher");
        for (const char* level : {"K1", "K2"})
            root.Write(std::string("game/data/maps/") + level + ".clz", "level");
        fs::copy_file(SCU_BINARY_DIR "/standin-game", game + "bin/ZELTA.EXE");
        fs::permissions(game + "bin/ZELTA.EXE", fs::perms::owner_all);
        fs::create_directories(root / "utility");
        fs::create_directories(root / "home");
        setenv("HOME", (root / "home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root / "home/.config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "home/.local/share").c_str(), 1);
        setenv("XDG_STATE_HOME", (root / "home/.local/state").c_str(), 1);
        setenv("WINEPREFIX", (root / "prefix").c_str(), 1);
        setenv("ZELTA_STANDIN_LOG", (root / "game.log").c_str(), 1);
        WindowTimes(800, 800, 800);
    }
    void WindowTimes(int settingsMs, int loadLevelMs, int mainMs) {
        setenv("ZELTA_STANDIN_SETTINGS_MS", std::to_string(settingsMs).c_str(), 1);
        setenv("ZELTA_STANDIN_LOADLEVEL_MS", std::to_string(loadLevelMs).c_str(), 1);
        setenv("ZELTA_STANDIN_MAIN_MS", std::to_string(mainMs).c_str(), 1);
    }

    // The game's installation record in the private prefix (as a 32-bit installer writes it;
    // drive z: is "/"), and a copy of the utility with this settings.ini beside it.
    void InstallUtility(const std::string& settings) {
        namespace fs = std::filesystem;
        std::string windowsGame = "Z:" + game;
        for (char& c : windowsGame)
            if (c == '/')
                c = '\\';
        std::string escaped;
        for (char c : windowsGame)
            escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        root.Write("prefix/system.reg",
                   "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                   "#arch=win32\n\n[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1700000000\n"
                   "\"InstalledPath\"=\"" +
                       escaped + "\"\n");
        fs::create_directories(root / "prefix/dosdevices");
        fs::create_directory_symlink("/", root / "prefix/dosdevices/z:");
        fs::copy_file(SCU_BINARY_DIR "/zeltasc", root / "utility/zeltasc");
        fs::permissions(root / "utility/zeltasc", fs::perms::owner_all);
        root.Write("utility/settings.ini", settings);
    }

    // The stand-in's log, one run per vector element, each a list of key=value lines. A run
    // still being written (the game's window has gone, its last lines not yet) is waited for.
    std::vector<std::multimap<std::string, std::string>> Runs() const {
        std::vector<std::multimap<std::string, std::string>> runs;
        std::multimap<std::string, std::string> run;
        std::string text = root.Read("game.log");
        auto complete = [](const std::string& log) {
            const size_t last = log.rfind('\n', log.size() > 1 ? log.size() - 2 : 0);
            return log.empty() || log.compare(last == std::string::npos ? 0 : last + 1, 4,
                                              "end=") == 0;
        };
        for (int i = 0; i < 500 && !complete(text); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            text = root.Read("game.log");
        }
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(start, end - start);
            const size_t eq = line.find('=');
            if (eq != std::string::npos)
                run.emplace(line.substr(0, eq), line.substr(eq + 1));
            if (line.rfind("end=", 0) == 0) {
                runs.push_back(run);
                run.clear();
            }
            start = end + 1;
        }
        return runs;
    }
    static std::string Value(const std::multimap<std::string, std::string>& run,
                             const std::string& key) {
        auto it = run.find(key);
        return it == run.end() ? std::string("<none>") : it->second;
    }
    static std::vector<std::string> Values(const std::multimap<std::string, std::string>& run,
                                           const std::string& key) {
        std::vector<std::string> values;
        auto range = run.equal_range(key);
        for (auto it = range.first; it != range.second; ++it)
            values.push_back(it->second);
        return values;
    }

    // Every file below the game folder (relative paths), with its content.
    std::map<std::string, std::string> GameFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(game))
            if (entry.is_regular_file())
                files[std::filesystem::relative(entry.path(), game).string()] =
                    root.Read(std::filesystem::relative(entry.path(), root.Path()).string());
        return files;
    }

    TempFolder root;
    std::string game; // ends with "/"
};

#pragma once

#include "support/TempFolder.h"
#include "wine/FoundPrefix.h"

#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// A home folder laid out as the game managers lay theirs out, in a temporary folder.
struct FakeHome {
    TempFolder folder;
    std::string home = folder.Path() + "/home";

    std::string operator/(const std::string& name) const { return home + "/" + name; }
    void Write(const std::string& name, const std::string& text) const {
        folder.Write("home/" + name, text);
    }
    // A prefix: its system.reg (with the record when gameFolder is not empty) and drive C:.
    void Prefix(const std::string& name, const std::string& gameFolder = {},
                std::filesystem::file_time_type written = {}) const {
        std::string reg = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
        reg += "[Software\\\\Microsoft\\\\Windows] 1\n\"Other\"=\"x\"\n";
        if (!gameFolder.empty())
            reg += "[Software\\\\Wow6432Node\\\\Halvern\\\\Quellgard\\\\1.0] 1\n"
                   "\"InstalledPath\"=\"" +
                   gameFolder + "\"\n";
        Write(name + "/system.reg", reg);
        std::filesystem::create_directories(*this / (name + "/drive_c"));
        std::filesystem::create_directories(*this / (name + "/dosdevices"));
        std::filesystem::create_symlink("../drive_c", *this / (name + "/dosdevices/c:"));
        if (written != std::filesystem::file_time_type{})
            std::filesystem::last_write_time(*this / (name + "/system.reg"), written);
    }
    // A stand-in program that appends how it was called (program, arguments, environment) to
    // calls.txt of the fake home.
    void StandIn(const std::string& name) const {
        Write(name,
              "#!/bin/sh\n{ printf '%s' \"$0\"; for a in \"$@\"; do printf ' [%s]' \"$a\"; done\n"
              "  printf ' WINEPREFIX=%s COMPAT=%s CLIENT=%s\\n' \"$WINEPREFIX\" "
              "\"$STEAM_COMPAT_DATA_PATH\" \"$STEAM_COMPAT_CLIENT_INSTALL_PATH\"; } >> '" +
                  *this / "calls.txt" + "'\n");
        std::filesystem::permissions(*this / name, std::filesystem::perms::owner_all);
    }
    // Lutris's database with the games table's columns the utility reads.
    void LutrisDatabase(const std::vector<std::vector<std::string>>& games) const {
        Write(".local/share/lutris/.keep", "");
        sqlite3* db = nullptr;
        sqlite3_open((*this / ".local/share/lutris/pga.db").c_str(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE games (id INTEGER PRIMARY KEY, name TEXT, slug TEXT, "
                     "runner TEXT, directory TEXT, installed INTEGER, configpath TEXT)",
                     nullptr, nullptr, nullptr);
        for (const auto& g : games) {
            sqlite3_stmt* insert = nullptr;
            sqlite3_prepare_v2(db,
                               "INSERT INTO games (name, slug, runner, directory, installed, "
                               "configpath) VALUES (?, ?, ?, ?, ?, ?)",
                               -1, &insert, nullptr);
            for (int i = 0; i < 6; ++i)
                sqlite3_bind_text(insert, i + 1, g[i].c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_finalize(insert);
        }
        sqlite3_close(db);
    }
    HomeFolders Folders() const { return {home, home + "/.local/share", home + "/.config", ""}; }
};

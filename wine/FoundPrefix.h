#pragma once

#include <string>
#include <vector>

// Who keeps a Wine prefix, which decides how the game is started in it.
enum class PrefixManager { Wine, Steam, Lutris, Bottles, Heroic };

// How the manager is installed: its own files and how its Wine is started differ.
enum class ManagerInstall { Native, Flatpak, Snap };

// A Wine prefix found in the player's home, with what the launch needs to start a program in it
// as its manager would (wine/PrefixLaunch.h reads the manager's settings at the start).
struct FoundPrefix {
    PrefixManager manager = PrefixManager::Wine;
    ManagerInstall install = ManagerInstall::Native;
    std::string folder; // the prefix: holds system.reg and dosdevices/
    // The manager's own folder: Steam's root, Lutris's and Bottles' data folder (runners/, the
    // runtime), Heroic's configuration folder (tools/, config.json).
    std::string managerFolder;
    // Lutris: the folder of system.yml, runners/ and games/ (its data folder in newer versions).
    std::string managerConfig;
    // The game's or bottle's own settings: Lutris's game file, bottle.yml, Heroic's game JSON.
    std::string settingsFile;
    // Steam: the app id; Lutris: the game's name; Bottles: the bottle's name; Heroic: the game's
    // app name.
    std::string id;
    // Steam: the library whose compatdata holds the prefix; Lutris: the game's directory.
    std::string library;
};

// The folders the managers keep their files in, taken from the environment once.
struct HomeFolders {
    std::string home;
    std::string dataHome;   // $XDG_DATA_HOME, else ~/.local/share
    std::string configHome; // $XDG_CONFIG_HOME, else ~/.config
    std::string winePrefix; // $WINEPREFIX, empty when not set

    static HomeFolders FromEnvironment();
};

// What the player sees: "Steam (Proton): ~/...", "Lutris: ...", "Bottles: ...", "Heroic: ...",
// "Wine: ~/.wine"; the home folder is written "~".
std::string PrefixLabel(const FoundPrefix& prefix, const std::string& home);

// Small file helpers the readers share.
bool IsFolder(const std::string& path);
// The whole of a small regular file (at most maxBytes; a longer one gives no text), or none.
bool ReadSmallFile(const std::string& path, std::string& text, size_t maxBytes = 4u << 20);
// The names in a folder (no "." and ".."), sorted; empty when it cannot be read.
std::vector<std::string> FolderNames(const std::string& folder);
// A name of one folder entry, as the managers' files give them (a runner, a game file): not
// empty, no "/", not "." or "..", so it cannot lead out of the folder it is looked up in.
bool IsPlainName(const std::string& name);
// The path as the file system resolves it, or empty when it does not exist.
std::string RealPath(const std::string& path);
// "~" and "~/..." made absolute against home; other paths unchanged.
std::string ExpandHome(const std::string& path, const std::string& home);

#pragma once

#include <string>
#include <vector>

// Who keeps a Wine prefix, which decides how the game is started in it.
enum class PrefixManager { Wine, Steam, Lutris, Bottles, Heroic };

// A Wine prefix found in the player's home, with the Wine its manager runs it with.
struct FoundPrefix {
    PrefixManager manager = PrefixManager::Wine;
    std::string folder; // the prefix: holds system.reg and dosdevices/
    // The manager's own Wine program (Lutris, Bottles, Heroic); empty: the system's wine.
    std::string wine;
    // Started through Proton: the proton script, STEAM_COMPAT_DATA_PATH and
    // STEAM_COMPAT_CLIENT_INSTALL_PATH. An empty proton with a compatData means that no Proton
    // was found.
    std::string proton;
    std::string compatData;
    std::string steamRoot;

    bool ThroughProton() const { return !compatData.empty(); }
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
// "~" and "~/..." made absolute against home; other paths unchanged.
std::string ExpandHome(const std::string& path, const std::string& home);

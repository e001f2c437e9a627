#pragma once

#include <optional>
#include <string>
#include <vector>

// Where the utility keeps its files.
//
// A self-contained folder (a build, the unpacked tarball) keeps everything beside the program:
// settings.ini, readme.txt and the language files.
//
// An installed copy is marked by the file kInstallationMarker that the installation writes beside
// the program. Its utility folder (readme.txt, the shipped language files) is the one the marker
// names, read-only for users; each user's settings.ini lives in $XDG_CONFIG_HOME/zeltasc/ (else
// ~/.config/zeltasc/), and the user's own language files in $XDG_DATA_HOME/zeltasc/ (else
// ~/.local/share/zeltasc/) win over shipped ones of the same name.
struct UtilityPlaces {
    std::string utilityFolder;      // readme.txt and the shipped language files
    std::string settingsFolder;     // the folder of settings.ini
    std::string userLanguageFolder; // the user's own language files; empty when self-contained
    std::string dialogFolder;       // where the package file dialogs open

    // Everything in one folder, without a trailing separator.
    static UtilityPlaces SelfContained(const std::string& folder);

    bool Installed() const { return !userLanguageFolder.empty(); }
    std::string SettingsFile() const { return settingsFolder + "\\settings.ini"; }
    // The folders holding language files, the one that wins on equal names last.
    std::vector<std::string> LanguageFolders() const;
};

// The marker's file name. Its section "Installation" may name the utility folder with the key
// "UtilityFolder", relative to the marker's own folder (or absolute); without it the program's
// folder is the utility folder.
inline constexpr const char* kInstallationMarker = "installation.ini";

// The utility folder named by the marker in programFolder, or no value when there is no marker
// (a self-contained folder).
std::optional<std::string> InstalledUtilityFolder(const std::string& programFolder);

// The places for a program in programFolder (native, no trailing separator): installed when the
// marker lies there, else self-contained. The XDG folders come from the environment.
UtilityPlaces LocateUtilityPlaces(const std::string& programFolder);

// Makes an installed copy's folder of settings.ini when it is missing, with its missing parents,
// private to the user (0700) as the XDG rules ask; true when it exists afterwards. A
// self-contained folder is never made: a missing one fails the save as it always did.
bool MakeSettingsFolder(const UtilityPlaces& places);

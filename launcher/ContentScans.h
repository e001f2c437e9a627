#pragma once

#include <string>
#include <string_view>
#include <vector>

class IniDocument;

// One of the four content scans of the game folder.
struct ContentScan {
    const char* pattern;   // appended to the game folder
    const char* nameTable; // section of settings.ini with the shown names; nullptr: names as found
    const char* suffix;    // of the rescan message
};

inline constexpr ContentScan kLevelScan{"\\data\\maps\\*.clz", "levels", " level files found"};
inline constexpr ContentScan kCutsceneScan{"\\data\\maps\\cutscene\\*.clz", "cutscenes",
                                           " cutscene files found"};
inline constexpr ContentScan kMovieScan{"\\data\\fmv\\*.mpg", "fmvs", " FMV files found"};
// No separator before "bin": the game folder ends with one.
inline constexpr ContentScan kDemoScan{"bin\\*.pad", nullptr, " recorded demos found"};

// A found file name without its last four characters (the dot and a three-letter extension).
std::string FileBaseName(std::string_view fileName);

// The entries of a content list in listing order: for a scan with a name table, the shown name
// of each found base name (the table's value, keys matched without regard to case, else the base
// name itself); for the demo scan, the names as found. Folders matching the pattern count too.
std::vector<std::string> ScanContent(const std::string& gameFolder, const ContentScan& scan,
                                     const IniDocument& settings);

// The file base name to give the game for a key of a name table. Keys are read as decoded text,
// names on disk are bytes: a key that no found file has as its name (with or without regard to
// letter case) stands for the file whose name reads as that key once decoded, which is then
// given as found; any other key stays as it is.
std::string FileKeyOnDisk(const std::string& gameFolder, const ContentScan& scan,
                          const std::string& key);

// "Scanning Complete!", two carriage returns, the count and the scan's suffix.
std::string ScanCompleteMessage(std::size_t count, const ContentScan& scan);

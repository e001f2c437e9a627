#pragma once

#include "lang/DefaultLanguage.h"

#include <string>

class IniFile;

inline constexpr const char* kDefaultExecutable = "ZELTA.EXE";

// The options kept in section "config" of the settings file and of an XPD package's xpd.ini.
struct StoredOptions {
    std::string version = kDefaultExecutable; // executable file name
    bool settings = false;
    bool level = false;
    bool godmode = false;
    bool debugkeys = false;
    bool nofmv = false;
    bool windowed = false;
    bool fullscreen = false;
    std::string lang = kDefaultLanguage;
};

// Writes the keys one at a time in their fixed order ("version" only when withVersion); a failed
// write raises ScuError and leaves the keys written before it in place.
void WriteStoredOptions(IniFile& file, const StoredOptions& options, bool withVersion);

// Reads the keys; missing or unreadable values give the defaults. A flag is on when it reads as
// a whole integer other than 0 (decimal, "0x"/"0X" or "$" hexadecimal).
StoredOptions ReadStoredOptions(const IniFile& file, bool withVersion);

// Erases section "config", leaving every other line of the file as it was.
void EraseStoredOptions(IniFile& file);

#pragma once

#include "platform/GameRegistry.h"

#include <string>

// The game's installation record in a Wine prefix: HKEY_LOCAL_MACHINE is the prefix's system.reg,
// the record the key Software\Halvern\Quellgard\1.0, looked up first in the 32-bit view
// (Software\Wow6432Node\...) where a 64-bit prefix puts a 32-bit installer's keys, then in the
// plain one. The file is read afresh at every call; only the record's key is parsed.
class WinePrefixGameRegistry : public GameRegistry {
public:
    // prefix: the prefix folder (the chosen one of GamePrefixes in production).
    explicit WinePrefixGameRegistry(std::string prefix);
    std::string ReadString(const std::string& valueName) override;

private:
    std::string prefix_;
};

inline constexpr const char* kGameRegistryKey = "Software\\Halvern\\Quellgard\\1.0";
inline constexpr const char* kGameRegistryKey32 = "Software\\Wow6432Node\\Halvern\\Quellgard\\1.0";
inline constexpr const char* kGameFolderValue = "InstalledPath";

// Whether the prefix's system.reg holds the installation record: the key with a non-empty
// "InstalledPath" in either view. Reads no more than the record's key needs to be found.
bool PrefixHoldsGameRecord(const std::string& prefix);

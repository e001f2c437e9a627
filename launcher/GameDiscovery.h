#pragma once

#include <string>
#include <vector>

class GameRegistry;

// The failure text of the installation record, shown in place of the game folder.
inline constexpr const char* kRegistryFailureText = "error getting registry value";

// A value of the game's installation record, or the failure text when the record, key or value
// is missing or the value is empty. A value of a non-text type raises ScuError. A null registry
// reads as missing.
std::string ReadGameRegistryValue(GameRegistry* registry, const std::string& valueName);

// The build of a game program for the version field: "<unknown>" when the file has no version
// resource (missing file, folder, no PE image), "unknown" when the resource has no readable
// FileVersion string in block 080904b0, else "build" followed by that text from its ninth
// character on ("1, 0, 0, 52" gives "build 52"; eight characters or fewer give "build").
std::string GetBuildText(const std::string& path);

// The executables of the game's bin folder for the executable list: every entry matching
// game folder + "\bin\*.exe" (folders included), upper-cased, in listing order.
std::vector<std::string> ListExecutables(const std::string& gameFolder);

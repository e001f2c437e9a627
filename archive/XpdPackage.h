#pragma once

#include <cstdint>
#include <string>

// XPD packages: a ZIP archive holding one recorded demo (K.tmp) and its options (xpd.ini).

inline constexpr const char* kXpdOptionsFile = "xpd.ini";
inline constexpr std::uint64_t kXpdUnpackLimit = 1ull << 30; // 1 GiB
inline constexpr const char* kXpdTooLargeMessage = "XPD file is too large to unpack";

// Whether an unpacked file of this name (no folders) may be written into the game's bin folder:
// only demos ("*.tmp") and the options file, so a package can never replace a program.
bool IsXpdPackageFileName(const std::string& fileName);

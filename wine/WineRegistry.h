#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A registry hive as Wine keeps it on disk (system.reg, user.reg): key headers such as
// "[Software\\Halvern\\Quellgard\\1.0] 1700000000" followed by value lines "name"=data.
// Key and value names match without regard to case; lines that cannot be read are skipped.
class WineRegistryHive {
public:
    // Registry value types as the platform numbers them.
    static constexpr std::uint32_t kString = 1;       // "text"
    static constexpr std::uint32_t kExpandString = 2; // str(2):"text"
    static constexpr std::uint32_t kBinary = 3;       // hex:01,02
    static constexpr std::uint32_t kDword = 4;        // dword:0000002a
    static constexpr std::uint32_t kMultiString = 7;  // str(7):"a\0b\0"

    struct Value {
        std::uint32_t type = kString;
        // Text types: the text in UTF-8 without its terminating NUL. Other types: the raw bytes
        // (a dword little-endian).
        std::string data;
    };

    static WineRegistryHive Parse(std::string_view text);
    // An unreadable or missing file gives no hive.
    static std::optional<WineRegistryHive> Load(const std::string& nativePath);
    // Only the named keys of a file (a prefix's system.reg is several megabytes): header lines
    // are compared first and only the sections of matching keys are parsed. A file that is not a
    // readable regular file gives no hive.
    static std::optional<WineRegistryHive> LoadKeys(const std::string& nativePath,
                                                    const std::vector<std::string>& keyPaths);
    // The sections of the named keys in text, header lines included, in file order.
    static std::string KeySections(std::string_view text, const std::vector<std::string>& keyPaths);
    // The same for a file that Wine wrote ("WINE REGISTRY Version 2"): Wine writes the keys in
    // order (each name compared in upper case, a parent before its subkeys), so each key is found
    // by bisection, reading a few lines of the file. Other text is searched as KeySections does.
    static std::string SortedKeySections(std::string_view text,
                                         const std::vector<std::string>& keyPaths);

    // Key path relative to the hive, "\"-separated; leading, trailing and doubled separators are
    // ignored.
    bool HasKey(std::string_view keyPath) const;
    // The default value is named by empty text ("@" in the file).
    const Value* Find(std::string_view keyPath, std::string_view valueName) const;

private:
    static std::string NormalKey(std::string_view keyPath);
    // Upper-cased key path -> (upper-cased value name -> value); the first definition wins.
    std::map<std::string, std::map<std::string, Value>> keys_;
};

// Undoes the escapes of a quoted registry text that starts at text[pos] (just after the opening
// quote): \\ \" \a \b \e \f \n \r \t \v, \x with 1-4 hex digits, octal with 1-3 digits; an unknown
// escape stands for the character itself. Reads up to the unescaped closing character and sets
// pos after it. No value when the closing character is missing.
std::optional<std::string> UnescapeRegistryText(std::string_view text, size_t& pos, char closing);

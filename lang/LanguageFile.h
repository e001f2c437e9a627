#pragma once

#include "platform/IniDocument.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One replaceable text of the windows: where a language file keeps it, its English default, and
// what the window adds around it (a space before group titles, a colon after the "General"
// labels).
struct CatalogueText {
    const char* section;
    const char* key;
    const char* defaultText;
    const char* before;
    const char* after;
};

inline constexpr size_t kCatalogueSize = 39;

// The 39 texts, in the order in which they are put on the windows.
const std::array<CatalogueText, kCatalogueSize>& TextCatalogue();

// Font and translator lines of section "Layout".
struct LanguageLayout {
    std::string font = "Tahoma";
    std::int32_t size = 8;
    std::string author = "Unknown";
    std::string email;
    std::string site;
};

// utility folder + "\" + name + ".lng"
std::string LanguageFilePath(std::string_view utilityFolder, std::string_view languageName);

// The file of a language: LanguageFilePath when that file exists, else the first language file
// listed whose name reads as the same text once decoded (a name stored in settings.ini is read
// as decoded text, while names on disk are bytes, often Windows-1252), else LanguageFilePath.
std::string FindLanguageFile(std::string_view utilityFolder, std::string_view languageName);

// A language file, read once: a missing or unreadable file reads as an empty one, so every
// lookup falls back to the catalogue default. Texts are decoded as text from the Windows world
// (UTF-8 when valid, else Windows-1252) and given as UTF-8.
class LanguageFile {
public:
    explicit LanguageFile(const std::string& path);
    static LanguageFile FromText(std::string_view bytes);

    // The value of the key, or def when the key (or its section) is missing; a present key with
    // an empty value gives an empty text.
    std::string Text(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal with an optional sign, or hexadecimal after "$", "x" or "0x"; else def.
    std::int32_t Integer(std::string_view section, std::string_view key, std::int32_t def) const;

    LanguageLayout Layout() const;
    // The catalogue's texts from this file, in catalogue order, with the window's additions.
    std::vector<std::string> Captions() const;

private:
    LanguageFile() = default;
    IniDocument doc_;
};

// Language names of the files in the utility folder ("*.lng", any kind of entry), in the order
// of the folder listing: each entry's name without its last four characters.
std::vector<std::string> ListLanguages(std::string_view utilityFolder);

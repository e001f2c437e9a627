#include "launcher/ContentScans.h"

#include <algorithm>

#include "platform/IniSectionIndex.h"
#include "platform/TextRules.h"
#include "platform/WildcardSearch.h"
#include "platform/WindowsText.h"

std::string FileBaseName(std::string_view fileName) {
    return std::string(fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0));
}

std::vector<std::string> ScanContent(const std::string& gameFolder, const ContentScan& scan,
                                     const IniDocument& settings) {
    const std::vector<FoundEntry> found = FindFiles(gameFolder + scan.pattern);
    std::vector<std::string> entries;
    entries.reserve(found.size());
    if (!scan.nameTable) {
        for (const FoundEntry& file : found)
            entries.push_back(file.name);
        return entries;
    }
    // One pass over the name table, then one lookup per file: linear in the installation's size.
    const IniSectionIndex names(settings, scan.nameTable);
    for (const FoundEntry& file : found) {
        std::string base = FileBaseName(file.name);
        // Keys are decoded text: the name on disk is compared as text too, and shown as found.
        std::optional<std::string> shown = names.Read(DecodeWindowsText(base));
        entries.push_back(shown ? std::move(*shown) : std::move(base));
    }
    return entries;
}

std::string FileKeyOnDisk(const std::string& gameFolder, const ContentScan& scan,
                          const std::string& key) {
    // Only a name beyond ASCII can read differently once decoded; others need no listing.
    if (std::all_of(key.begin(), key.end(), [](char c) { return (c & 0x80) == 0; }))
        return key;
    const std::vector<FoundEntry> found = FindFiles(gameFolder + scan.pattern);
    for (const FoundEntry& file : found)
        if (SameText(FileBaseName(file.name), key))
            return key;
    const std::string wanted = DecodeWindowsText(key);
    for (const FoundEntry& file : found) {
        std::string base = FileBaseName(file.name);
        if (SameText(DecodeWindowsText(base), wanted))
            return base;
    }
    return key;
}

std::string ScanCompleteMessage(std::size_t count, const ContentScan& scan) {
    return "Scanning Complete!\r\r" + std::to_string(count) + scan.suffix;
}

#include "launcher/ContentScans.h"

#include "platform/IniSectionIndex.h"
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
        std::optional<std::string> shown = names.Read(base);
        entries.push_back(shown ? DecodeWindowsText(*shown) : std::move(base));
    }
    return entries;
}

std::string ScanCompleteMessage(std::size_t count, const ContentScan& scan) {
    return "Scanning Complete!\r\r" + std::to_string(count) + scan.suffix;
}

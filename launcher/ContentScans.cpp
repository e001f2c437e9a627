#include "launcher/ContentScans.h"

#include "platform/IniDocument.h"
#include "platform/WildcardSearch.h"
#include "platform/WindowsText.h"

std::string FileBaseName(std::string_view fileName) {
    return std::string(fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0));
}

std::vector<std::string> ScanContent(const std::string& gameFolder, const ContentScan& scan,
                                     const IniDocument& settings) {
    std::vector<std::string> entries;
    for (const FoundEntry& found : FindFiles(gameFolder + scan.pattern)) {
        if (!scan.nameTable) {
            entries.push_back(found.name);
            continue;
        }
        const std::string base = FileBaseName(found.name);
        const auto shown = settings.Read(scan.nameTable, base);
        entries.push_back(shown ? DecodeWindowsText(*shown) : base);
    }
    return entries;
}

std::string ScanCompleteMessage(std::size_t count, const ContentScan& scan) {
    return "Scanning Complete!\r\r" + std::to_string(count) + scan.suffix;
}

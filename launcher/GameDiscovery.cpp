#include "launcher/GameDiscovery.h"

#include "platform/GameRegistry.h"
#include "platform/Paths.h"
#include "platform/TextRules.h"
#include "platform/VersionResource.h"
#include "platform/WildcardSearch.h"

std::string ReadGameRegistryValue(GameRegistry* registry, const std::string& valueName) {
    const std::string text = registry ? registry->ReadString(valueName) : std::string();
    return text.empty() ? kRegistryFailureText : text;
}

std::string GetBuildText(const std::string& path) {
    // Only the headers, the section table and the resource's own bytes are read.
    const auto resource = ReadFileVersionResource(NativePath(path));
    if (!resource)
        return "<unknown>";
    const auto version = QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\FileVersion");
    if (!version)
        return "unknown";
    // The first eight characters go (for "1, 0, 0, 52" the first three numbers with their
    // separators); a character here is one of UTF-8, so count whole characters.
    size_t at = 0;
    for (int dropped = 0; dropped < 8 && at < version->size(); ++dropped) {
        ++at;
        while (at < version->size() && (static_cast<unsigned char>((*version)[at]) & 0xC0) == 0x80)
            ++at;
    }
    return "build" + version->substr(at);
}

std::vector<std::string> ListExecutables(const std::string& gameFolder) {
    std::vector<std::string> names;
    for (const FoundEntry& entry : FindFiles(gameFolder + "\\bin\\*.exe"))
        names.push_back(UpperCase(entry.name));
    return names;
}

#include "wine/ProtonPrefixGuard.h"

#include "wine/FoundPrefix.h"

std::optional<ProtonPrefixVersion> ProtonFolderPrefixVersion(const std::string& protonFolder) {
    std::string script;
    ReadSmallFile(protonFolder + "/proton", script);
    return ProtonScriptPrefixVersion(script);
}

std::string OlderProtonRefusal(const std::string& protonFolder, const std::string& compatData) {
    std::string text;
    ReadSmallFile(compatData + "/version", text, 4096);
    const auto prefix = ParseProtonPrefixVersion(text);
    const auto proton = ProtonFolderPrefixVersion(protonFolder);
    if (!prefix || !proton || !proton->OlderThan(*prefix))
        return {};
    return "This game's prefix was last run by a newer Proton (prefix version " + prefix->text +
           ") than the one it would be started with now, " +
           protonFolder.substr(protonFolder.rfind('/') + 1) + " (prefix version " + proton->text +
           "). Proton would remove its files from a newer prefix, so the game was not started. "
           "Choose a Proton of version " +
           std::to_string(prefix->major) + "." + std::to_string(prefix->minor) +
           " or newer for the game.\r\rPrefix: " + compatData;
}

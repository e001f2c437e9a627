// Feeds arbitrary text to the Wine registry reader: parsing, looking up and finding a key's
// section (by bisection in a file with Wine's signature, else by search) must never crash.
#include "wine/WineRegistry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const WineRegistryHive hive = WineRegistryHive::Parse(text);
    (void)hive.Find("Software\\Halvern\\Quellgard\\1.0", "InstalledPath");
    (void)hive.HasKey("Software\\Wow6432Node");
    const std::vector<std::string> keys{"Software\\Halvern\\Quellgard\\1.0", "A\\b"};
    std::string signedText = "WINE REGISTRY Version 2\n";
    signedText.append(text);
    (void)WineRegistryHive::Parse(WineRegistryHive::SortedKeySections(signedText, keys));
    (void)WineRegistryHive::Parse(WineRegistryHive::KeySections(text, keys));
    size_t pos = 0;
    (void)UnescapeRegistryText(text, pos, '"');
    return 0;
}

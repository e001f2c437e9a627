// Feeds arbitrary text to the Wine registry reader: parsing and looking up must never crash.
#include "wine/WineRegistry.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const WineRegistryHive hive = WineRegistryHive::Parse(text);
    (void)hive.Find("Software\\Halvern\\Quellgard\\1.0", "InstalledPath");
    (void)hive.HasKey("Software\\Wow6432Node");
    size_t pos = 0;
    (void)UnescapeRegistryText(text, pos, '"');
    return 0;
}

// Feeds arbitrary text to the Wine registry reader: parsing, looking up and finding a key's
// section (by bisection in a file with Wine's signature, else by search) must never crash.
// The signed text is held in a buffer of exactly its size, as the reader's mapping of a file
// is, so a read one byte past its end (a file cut after a key header) is caught.
#include "wine/WineRegistry.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const WineRegistryHive hive = WineRegistryHive::Parse(text);
    (void)hive.Find("Software\\Halvern\\Quellgard\\1.0", "InstalledPath");
    (void)hive.HasKey("Software\\Wow6432Node");
    const std::vector<std::string> keys{"Software\\Halvern\\Quellgard\\1.0", "A\\b"};
    const std::string_view signature = "WINE REGISTRY Version 2\n";
    const size_t signedSize = signature.size() + size;
    const std::unique_ptr<char[]> signedText(new char[signedSize]);
    std::memcpy(signedText.get(), signature.data(), signature.size());
    if (size > 0)
        std::memcpy(signedText.get() + signature.size(), data, size);
    (void)WineRegistryHive::Parse(
        WineRegistryHive::SortedKeySections(std::string_view(signedText.get(), signedSize), keys));
    (void)WineRegistryHive::Parse(WineRegistryHive::KeySections(text, keys));
    size_t pos = 0;
    (void)UnescapeRegistryText(text, pos, '"');
    return 0;
}

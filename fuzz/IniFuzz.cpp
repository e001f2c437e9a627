// Feeds arbitrary bytes to the profile-file reader and editor: reading, editing and writing back
// must never crash, and an edit must keep every line it did not touch.
#include "platform/IniDocument.h"
#include "platform/WildcardSearch.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::Parse(bytes);
    if (doc.Serialize() != bytes)
        __builtin_trap(); // parsing alone must keep every byte
    (void)doc.Read("config", "version");
    (void)doc.Entries("levels");
    doc.Write("config", "lang", "Deutsch");
    if (doc.Read("config", "lang") != std::string("Deutsch"))
        __builtin_trap();
    doc.EraseSection("config");
    if (doc.HasSection("config"))
        __builtin_trap();
    (void)MatchesWildcard(bytes.substr(0, size / 2), bytes.substr(size / 2));
    return 0;
}

// Feeds arbitrary text to the readers of the game managers' small settings: the YAML scalars and
// mappings of Lutris's and Bottles' files and the version lines of Proton's files. Besides never
// crashing, the mapping reader must agree with the scalar reader, and a version read must read
// back the same from the text it kept.
#include "wine/ProtonVersion.h"
#include "wine/YamlScalars.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)ReadYamlScalar(text, {"game", "prefix"});
    (void)ReadYamlScalar(text, {"Runner"});
    // Each name's first entry in a mapping is what the scalar reader finds under it.
    const auto overrides = ReadYamlMapping(text, {"wine", "overrides"});
    for (size_t i = 0; i < overrides.size(); ++i) {
        bool first = true;
        for (size_t j = 0; j < i; ++j)
            first = first && overrides[j].first != overrides[i].first;
        if (first && ReadYamlScalar(text, {"wine", "overrides", overrides[i].first}).value_or("") !=
                         overrides[i].second)
            std::abort();
    }
    (void)ReadYamlMapping(text, {});
    if (const auto version = ParseProtonPrefixVersion(text)) {
        const auto again = ParseProtonPrefixVersion(version->text);
        if (!again || again->major != version->major || again->minor != version->minor)
            std::abort();
    }
    (void)ProtonScriptPrefixVersion(text);
    return 0;
}

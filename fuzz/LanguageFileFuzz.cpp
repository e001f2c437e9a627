// Feeds arbitrary bytes to the language-file reader and looks up every text of the catalogue
// and the layout: nothing may crash, every caption is its text with the window's additions, and
// a leading byte-order mark changes nothing.
#include "lang/LanguageFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LanguageFile file = LanguageFile::FromText(bytes);
    const std::vector<std::string> captions = file.Captions();
    if (captions.size() != kCatalogueSize)
        __builtin_trap();
    for (size_t i = 0; i < kCatalogueSize; ++i) {
        const CatalogueText& entry = TextCatalogue()[i];
        if (captions[i] !=
            entry.before + file.Text(entry.section, entry.key, entry.defaultText) + entry.after)
            __builtin_trap();
        (void)file.Integer(entry.section, entry.key, -1);
    }
    (void)file.Layout();
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kUtf8Mark.size()) != kUtf8Mark &&
        LanguageFile::FromText(std::string(kUtf8Mark) + std::string(bytes)).Captions() != captions)
        __builtin_trap();
    return 0;
}

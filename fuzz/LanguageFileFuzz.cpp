// Feeds arbitrary bytes to the language-file reader and looks up every text of the catalogue
// and the layout: nothing may crash, every text that reaches a window is valid UTF-8 whatever
// the bytes (Windows-1252 is decoded), no text is longer than the 2047-character limit allows,
// and a leading UTF-8 byte-order mark changes nothing.
#include "lang/LanguageFile.h"
#include "platform/WindowsText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {
size_t Characters(std::string_view text) {
    size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

void CheckText(std::string_view text, size_t added) {
    if (!IsValidUtf8(text) || Characters(text) > 2047 + added)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LanguageFile file = LanguageFile::FromText(bytes);
    const std::vector<std::string> captions = file.Captions();
    if (captions.size() != kCatalogueSize)
        __builtin_trap();
    for (size_t i = 0; i < kCatalogueSize; ++i) {
        const CatalogueText& entry = TextCatalogue()[i];
        CheckText(captions[i], Characters(entry.before) + Characters(entry.after));
        (void)file.Integer(entry.section, entry.key, -1);
    }
    const LanguageLayout layout = file.Layout();
    for (const std::string* text : {&layout.font, &layout.author, &layout.email, &layout.site})
        CheckText(*text, 0);
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kUtf8Mark.size()) != kUtf8Mark &&
        LanguageFile::FromText(std::string(kUtf8Mark) + std::string(bytes)).Captions() != captions)
        __builtin_trap();
    return 0;
}

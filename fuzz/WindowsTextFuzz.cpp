// Feeds arbitrary bytes to the decoding of text from Windows files and to the windows' text
// conversion. Decoding always gives valid UTF-8: valid UTF-8 comes back as the same bytes, other
// bytes each become one character; decoding twice changes nothing. A byte string shown in a
// control and read back (a file name) is the same bytes, whatever they are.
#include "platform/QtText.h"
#include "platform/WindowsText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string decoded = DecodeWindowsText(bytes);
    if (!IsValidUtf8(decoded) || DecodeWindowsText(decoded) != decoded)
        __builtin_trap();
    if (IsValidUtf8(bytes)) {
        if (decoded != bytes)
            __builtin_trap();
    } else {
        size_t characters = 0;
        for (char c : decoded)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (characters != bytes.size())
            __builtin_trap(); // Windows-1252: one character per byte
    }
    if (Text(QText(bytes)) != bytes)
        __builtin_trap();
    return 0;
}

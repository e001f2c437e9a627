#include "platform/WindowsText.h"

#include <gtest/gtest.h>

namespace {

// UTF-8 passes unchanged; anything else is read byte by byte as Windows-1252.
TEST(WindowsText, Utf8StaysAndEverythingElseIsWindows1252) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", ""},
        {"Plain ASCII [Levels]\r\n", "Plain ASCII [Levels]\r\n"},
        {"\xC3\x9C"
         "ber",
         "\xC3\x9C"
         "ber"}, // UTF-8 "Über"
        {"\xDC"
         "ber",
         "\xC3\x9C"
         "ber"}, // Windows-1252 "Über"
        {"Fran\xE7"
         "ais",
         "Fran\xC3\xA7"
         "ais"},                                                                    // "Français"
        {"\x80 \x85 \x99 \x9F", "\xE2\x82\xAC \xE2\x80\xA6 \xE2\x84\xA2 \xC5\xB8"}, // € … ™ Ÿ
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"}, // unassigned: C1
        {"\xFF", "\xC3\xBF"},                                                 // ÿ
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},                                     // UTF-8 "€"
        {"\xF0\x9F\x8E\xAE", "\xF0\x9F\x8E\xAE"},         // UTF-8 beyond the BMP
        {"\xC3", "\xC3\x83"},                             // cut short: not UTF-8
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                 // overlong form: not UTF-8
        {"\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"}, // overlong form: not UTF-8
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}, // a surrogate: not UTF-8
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"}, // past U+10FFFF
        {"\xC3\x9C"
         "ber \xDC"
         "ber",
         "\xC3\x83\xC5\x93"
         "ber \xC3\x9C"
         "ber"}, // mixed: 1252
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeWindowsText(c.bytes), c.text) << c.bytes;
}

} // namespace

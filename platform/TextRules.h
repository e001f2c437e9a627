#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Small text rules shared by the settings, language and launcher code. Letter case rules are
// those of the 8-bit ANSI world: only A-Z and a-z change case.

std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);

// Blanks dropped around profile-file names and values (tab, VT, FF, CR, LF, space).
std::string_view TrimBlanks(std::string_view text);

// Value of a hexadecimal digit, or -1 for any other character.
int HexDigit(char c);

// Appends one Unicode code point to out, encoded as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t code);

// Integer conversion as the settings layer reads numbers: an optional sign, then decimal digits,
// or hexadecimal after "$", "0x"/"0X" or (when bareX is set) "x"/"X". The whole text must
// convert and fit in 32 bits; anything else gives no value.
std::optional<std::int32_t> ParseInteger(std::string_view text, bool bareX);

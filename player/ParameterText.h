#pragma once

#include "player/VexaTypes.h"

#include <optional>
#include <string>

// The Parameters text of a media object: items "Key=Value|", each closed by "|".

// The upper-cased value of a key: the key is found as a plain substring of the upper-cased text
// (no check of what surrounds it), the key and exactly one character after it are skipped, and
// the value runs up to the next "|" (empty when no "|" follows). No value when the key is absent.
std::optional<std::string> FindParameterValue(const std::string& text, const std::string& key);

// Text variant: an empty or missing value gives the upper-cased default.
std::string FindParameter(const std::string& text, const std::string& key,
                          const std::string& defaultValue);
// Number variant: the value as a decimal integer (an optional "-", then digits, within 32 bits);
// an empty, missing or unconvertible value gives the default.
int FindParameter(const std::string& text, const std::string& key, int defaultValue);

// Yes/no variant. A missing key keeps the default; "TRUE", "YES", "1", "ENABLED" and "FALSE",
// "NO", "0", "DISABLED" convert; anything else (the empty value too) gives the default and, when
// warnings is set, raises "Could not convert "VALUE" to Boolean\rResetting to default value: ...".
bool FindParameter(const std::string& text, const std::string& key, bool defaultValue,
                   bool warnings);

// One item of the text.
std::string ParameterItem(const std::string& key, const std::string& value);
std::string ParameterItem(const std::string& key, int value);
std::string ParameterItem(const std::string& key, bool value); // "Yes" / "No"

// Written names of the units and sizes, and the mapping of read (upper-cased) values.
const char* ObjectFormatText(TObjectFormat format);
const char* ObjectSizeText(TObjectSize size);
TObjectFormat ObjectFormatFromText(const std::string& upperValue);
TObjectSize ObjectSizeFromText(const std::string& upperValue);

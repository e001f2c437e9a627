#pragma once

// The language name that stands for the built-in English texts: in force until another language
// is chosen, and it needs no language file.
inline constexpr const char* kDefaultLanguage = "English (Default)";

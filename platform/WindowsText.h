#pragma once

#include <string>
#include <string_view>

// Text from the Windows world (language files, the name tables of settings.ini, the xpd.ini of
// packages) is 8-bit text in the Windows code page, or UTF-8 when a newer editor saved it. The
// text as UTF-8: the bytes unchanged when they are valid UTF-8, else each byte read as
// Windows-1252. Every reader of such files decodes through here; what the utility writes is
// UTF-8.
std::string DecodeWindowsText(std::string_view bytes);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

#pragma once

#include <QString>

#include <string>
#include <string_view>

// Text between the windows and the rules. The rules keep text as UTF-8 and names from the file
// system as the bytes they are, which need not be UTF-8 (a name made on Windows and unpacked
// here). QText shows each valid UTF-8 sequence as its character and each other byte b as the
// lone surrogate U+DC00 + b (drawn as a replacement mark); Text gives such a mark back as its
// byte. So a name shown in a control comes back exactly as it was read, which Qt's own
// conversions (file names included) do not do: they turn such bytes into U+FFFD for good. The
// contents of Windows-made files are decoded where they are read, never here.
QString QText(std::string_view bytes);

// What a control holds, as UTF-8, with each byte that QText marked given back as that byte.
std::string Text(const QString& text);

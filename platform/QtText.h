#pragma once

#include "platform/WindowsText.h"

#include <QString>

#include <string>
#include <string_view>

// Text between the windows and the rules, which keep it as UTF-8 std::string. What a window
// shows goes through the Windows text decoding, so bytes that are not UTF-8 (a file name made on
// Windows) show as Windows-1252 rather than as replacement characters.
inline QString QText(std::string_view text) {
    return QString::fromStdString(DecodeWindowsText(text));
}

// What a control holds, as UTF-8, the form in which the utility also writes it.
inline std::string Text(const QString& text) {
    return text.toStdString();
}

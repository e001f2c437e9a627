#include "platform/QtText.h"

#include "platform/TextRules.h"
#include "platform/WindowsText.h"

namespace {
constexpr char16_t kEscapeBase = 0xDC00; // U+DC80..U+DCFF: bytes 0x80..0xFF that are not UTF-8

// Length of the UTF-8 sequence a lead byte announces (1 for ASCII, 0 for no lead byte).
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}
} // namespace

QString QText(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const size_t length = SequenceLength(lead);
        if (length > 0 && bytes.size() - i >= length && IsValidUtf8(bytes.substr(i, length))) {
            text += QString::fromUtf8(bytes.data() + i, static_cast<qsizetype>(length));
            i += length;
        } else {
            text += QChar(static_cast<char16_t>(kEscapeBase + lead));
            ++i;
        }
    }
    return text;
}

std::string Text(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < n &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            AppendUtf8(bytes, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            bytes += static_cast<char>(unit - kEscapeBase);
        } else if (QChar::isSurrogate(unit)) {
            AppendUtf8(bytes, 0xFFFD); // a lone surrogate of other origin has no UTF-8 form
        } else {
            AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}

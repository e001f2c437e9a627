#include "platform/IniDocument.h"

#include "platform/TextRules.h"
#include "platform/WindowsText.h"

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        Line line{std::string(bytes.substr(start, end - start)), {}};
        if (end < bytes.size()) {
            size_t eolLength =
                (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
            line.eol = std::string(bytes.substr(end, eolLength));
            end += eolLength;
        }
        doc.lines_.push_back(std::move(line));
        start = end;
    }
    return doc;
}

IniDocument::Kind IniDocument::Classify(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    if (t.empty())
        return Kind::Blank;
    if (t.front() == ';')
        return Kind::Comment;
    if (t.front() == '[')
        return Kind::Section;
    if (t.find('=') != std::string_view::npos)
        return Kind::Key;
    return Kind::Other;
}

std::string IniDocument::SectionName(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    t.remove_prefix(1);
    size_t close = t.find(']');
    if (close != std::string_view::npos)
        t = t.substr(0, close);
    return DecodeWindowsText(TrimBlanks(t));
}

std::string_view IniDocument::KeySpelling(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    return TrimBlanks(t.substr(0, t.find('=')));
}

std::string IniDocument::KeyName(std::string_view text) {
    return DecodeWindowsText(KeySpelling(text));
}

std::string IniDocument::ValueOf(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    std::string_view v = TrimBlanks(t.substr(t.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    // The limit counts characters of the decoded text, so a character is never cut in two.
    std::string value = DecodeWindowsText(v);
    size_t characters = 0;
    for (size_t i = 0; i < value.size(); ++i)
        if ((static_cast<unsigned char>(value[i]) & 0xC0) != 0x80 &&
            ++characters > kMaxValueLength) {
            value.resize(i);
            break;
        }
    return value;
}

size_t IniDocument::FindSection(std::string_view section) const {
    std::string_view wanted = TrimBlanks(section);
    for (size_t i = 0; i < lines_.size(); ++i)
        if (Classify(lines_[i].text) == Kind::Section &&
            SameText(SectionName(lines_[i].text), wanted))
            return i;
    return std::string::npos;
}

size_t IniDocument::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && Classify(lines_[i].text) != Kind::Section)
        ++i;
    return i;
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section) != std::string::npos;
}

std::optional<std::string> IniDocument::Read(std::string_view section, std::string_view key) const {
    size_t header = FindSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    std::string_view wanted = TrimBlanks(key);
    size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i)
        if (Classify(lines_[i].text) == Kind::Key && SameText(KeyName(lines_[i].text), wanted))
            return ValueOf(lines_[i].text);
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>>
IniDocument::Entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    size_t header = FindSection(section);
    if (header == std::string::npos)
        return entries;
    size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i)
        if (Classify(lines_[i].text) == Kind::Key)
            entries.emplace_back(KeyName(lines_[i].text), ValueOf(lines_[i].text));
    return entries;
}

std::string IniDocument::LineEnding() const {
    for (const Line& line : lines_)
        if (!line.eol.empty())
            return line.eol;
    return "\r\n";
}

void IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string eol = LineEnding();
    std::string keyName(TrimBlanks(key));
    size_t header = FindSection(section);
    if (header == std::string::npos) {
        if (!lines_.empty() && lines_.back().eol.empty())
            lines_.back().eol = eol;
        lines_.push_back({"[" + std::string(TrimBlanks(section)) + "]", eol});
        lines_.push_back({keyName + "=" + std::string(value), eol});
        return;
    }
    size_t end = SectionEnd(header);
    size_t lastKey = header;
    for (size_t i = header + 1; i < end; ++i) {
        Kind kind = Classify(lines_[i].text);
        if (kind == Kind::Key && SameText(KeyName(lines_[i].text), keyName)) {
            lines_[i].text = std::string(KeySpelling(lines_[i].text)) + "=" + std::string(value);
            return;
        }
        if (kind == Kind::Key || kind == Kind::Other)
            lastKey = i;
    }
    if (lines_[lastKey].eol.empty())
        lines_[lastKey].eol = eol;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastKey + 1),
                  Line{keyName + "=" + std::string(value), eol});
}

bool IniDocument::EraseSection(std::string_view section) {
    bool erased = false;
    for (size_t header = FindSection(section); header != std::string::npos;
         header = FindSection(section)) {
        size_t end = SectionEnd(header);
        std::vector<Line> kept;
        for (size_t i = header + 1; i < end; ++i) {
            Kind kind = Classify(lines_[i].text);
            if (kind == Kind::Comment || kind == Kind::Blank)
                kept.push_back(lines_[i]);
        }
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(end));
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(header), kept.begin(),
                      kept.end());
        erased = true;
    }
    return erased;
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

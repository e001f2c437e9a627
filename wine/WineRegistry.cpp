#include "wine/WineRegistry.h"

#include "platform/TextRules.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// UTF-16 code units (from escapes or hex data) to UTF-8; a pair of surrogates makes one character.
class Utf16Writer {
public:
    explicit Utf16Writer(std::string& out) : out_(out) {}
    ~Utf16Writer() { Flush(); }
    void Unit(std::uint32_t unit) {
        if (high_ && unit >= 0xDC00 && unit <= 0xDFFF) {
            AppendUtf8(out_, 0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
            high_ = 0;
            return;
        }
        Flush();
        if (unit >= 0xD800 && unit <= 0xDBFF)
            high_ = unit;
        else
            AppendUtf8(out_, unit);
    }
    void Byte(char c) {
        Flush();
        out_ += c;
    }
    void Flush() {
        if (high_)
            AppendUtf8(out_, 0xFFFD);
        high_ = 0;
    }

private:
    std::string& out_;
    std::uint32_t high_ = 0;
};

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// "hex:" data: comma-separated byte pairs. No value when anything else is found.
std::optional<std::string> ParseHexBytes(std::string_view list) {
    std::string bytes;
    list = TrimRight(TrimLeft(list));
    if (list.empty())
        return bytes;
    size_t pos = 0;
    while (pos < list.size()) {
        while (pos < list.size() && (list[pos] == ' ' || list[pos] == '\t'))
            ++pos;
        int hi = pos < list.size() ? HexDigit(list[pos]) : -1;
        int lo = pos + 1 < list.size() ? HexDigit(list[pos + 1]) : -1;
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes += static_cast<char>(hi * 16 + lo);
        pos += 2;
        while (pos < list.size() && (list[pos] == ' ' || list[pos] == '\t'))
            ++pos;
        if (pos == list.size())
            break;
        if (list[pos] != ',')
            return std::nullopt;
        ++pos;
    }
    return bytes;
}

// Text stored as UTF-16LE bytes (hex(1):, hex(2):), up to its first NUL.
std::string Utf16BytesToUtf8(const std::string& bytes) {
    std::string out;
    {
        Utf16Writer writer(out);
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            std::uint32_t unit = static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8;
            if (unit == 0)
                break;
            writer.Unit(unit);
        }
    }
    return out;
}

bool IsTextType(std::uint32_t type) {
    return type == WineRegistryHive::kString || type == WineRegistryHive::kExpandString;
}

// The data after "=": no value when it cannot be read.
std::optional<WineRegistryHive::Value> ParseData(std::string_view data) {
    using Hive = WineRegistryHive;
    data = TrimRight(TrimLeft(data));
    Hive::Value value;
    auto quoted = [&](std::string_view rest, std::uint32_t type) -> std::optional<Hive::Value> {
        if (rest.empty() || rest.front() != '"')
            return std::nullopt;
        size_t pos = 1;
        auto text = UnescapeRegistryText(rest, pos, '"');
        if (!text || !TrimLeft(rest.substr(pos)).empty())
            return std::nullopt;
        if (type == Hive::kMultiString) {
            // Keep the embedded NULs; the text types drop the terminating one only.
        } else if (size_t nul = text->find('\0'); nul != std::string::npos) {
            text->resize(nul);
        }
        return Hive::Value{type, *text};
    };
    if (!data.empty() && data.front() == '"')
        return quoted(data, Hive::kString);
    if (data.rfind("str:", 0) == 0)
        return quoted(data.substr(4), Hive::kString);
    if (data.rfind("str(", 0) == 0) {
        size_t close = data.find("):");
        if (close == std::string_view::npos)
            return std::nullopt;
        std::uint32_t type = 0;
        for (char c : data.substr(4, close - 4)) {
            int d = HexDigit(c);
            if (d < 0 || type > 0x0FFFFFFF)
                return std::nullopt;
            type = type * 16 + static_cast<std::uint32_t>(d);
        }
        if (close == 4)
            return std::nullopt;
        return quoted(data.substr(close + 2), type);
    }
    if (data.rfind("dword:", 0) == 0) {
        std::string_view digits = data.substr(6);
        if (digits.empty() || digits.size() > 8)
            return std::nullopt;
        std::uint32_t number = 0;
        for (char c : digits) {
            int d = HexDigit(c);
            if (d < 0)
                return std::nullopt;
            number = number * 16 + static_cast<std::uint32_t>(d);
        }
        value.type = Hive::kDword;
        for (int i = 0; i < 4; ++i)
            value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        return value;
    }
    if (data.rfind("hex", 0) == 0) {
        std::string_view rest = data.substr(3);
        std::uint32_t type = Hive::kBinary;
        if (!rest.empty() && rest.front() == '(') {
            size_t close = rest.find(')');
            if (close == std::string_view::npos || close == 1)
                return std::nullopt;
            type = 0;
            for (char c : rest.substr(1, close - 1)) {
                int d = HexDigit(c);
                if (d < 0 || type > 0x0FFFFFFF)
                    return std::nullopt;
                type = type * 16 + static_cast<std::uint32_t>(d);
            }
            rest = rest.substr(close + 1);
        }
        if (rest.empty() || rest.front() != ':')
            return std::nullopt;
        auto bytes = ParseHexBytes(rest.substr(1));
        if (!bytes)
            return std::nullopt;
        value.type = type;
        value.data = IsTextType(type) ? Utf16BytesToUtf8(*bytes) : *bytes;
        return value;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> UnescapeRegistryText(std::string_view text, size_t& pos, char closing) {
    std::string out;
    {
        Utf16Writer writer(out);
        while (pos < text.size()) {
            char c = text[pos++];
            if (c == closing)
                return writer.Flush(), out;
            if (c != '\\') {
                writer.Byte(c);
                continue;
            }
            if (pos >= text.size())
                break;
            char e = text[pos++];
            switch (e) {
            case 'a':
                writer.Unit('\a');
                break;
            case 'b':
                writer.Unit('\b');
                break;
            case 'e':
                writer.Unit(0x1B);
                break;
            case 'f':
                writer.Unit('\f');
                break;
            case 'n':
                writer.Unit('\n');
                break;
            case 'r':
                writer.Unit('\r');
                break;
            case 't':
                writer.Unit('\t');
                break;
            case 'v':
                writer.Unit('\v');
                break;
            case 'x': {
                std::uint32_t unit = 0;
                int digits = 0;
                while (digits < 4 && pos < text.size() && HexDigit(text[pos]) >= 0) {
                    unit = unit * 16 + static_cast<std::uint32_t>(HexDigit(text[pos++]));
                    ++digits;
                }
                if (digits == 0)
                    writer.Byte('x');
                else
                    writer.Unit(unit);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    std::uint32_t unit = static_cast<std::uint32_t>(e - '0');
                    for (int digits = 1;
                         digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7';
                         ++digits)
                        unit = unit * 8 + static_cast<std::uint32_t>(text[pos++] - '0');
                    writer.Unit(unit);
                } else {
                    writer.Byte(e); // \\, \", \[, \] and unknown escapes
                }
            }
        }
    }
    return std::nullopt;
}

std::string WineRegistryHive::NormalKey(std::string_view keyPath) {
    std::string out;
    std::string part;
    auto flush = [&] {
        if (part.empty())
            return;
        if (!out.empty())
            out += '\\';
        out += UpperCase(part);
        part.clear();
    };
    for (char c : keyPath) {
        if (c == '\\')
            flush();
        else
            part += c;
    }
    flush();
    return out;
}

WineRegistryHive WineRegistryHive::Parse(std::string_view text) {
    WineRegistryHive hive;
    std::map<std::string, Value>* current = nullptr;
    std::string line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string_view raw = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        line.assign(TrimRight(raw));
        // A hex list goes on after a trailing backslash.
        while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos &&
               start < text.size()) {
            line.pop_back();
            size_t next = text.find('\n', start);
            std::string_view more = text.substr(
                start, next == std::string_view::npos ? std::string_view::npos : next - start);
            start = next == std::string_view::npos ? text.size() : next + 1;
            line += TrimLeft(TrimRight(more));
        }
        std::string_view l = TrimLeft(line);
        if (l.empty() || l.front() == ';' || l.front() == '#')
            continue;
        if (l.front() == '[') {
            size_t pos = 1;
            auto key = UnescapeRegistryText(l, pos, ']');
            current = key ? &hive.keys_[NormalKey(*key)] : nullptr;
            continue;
        }
        if (!current)
            continue;
        std::string name;
        size_t pos = 0;
        if (l.front() == '@') {
            pos = 1;
        } else if (l.front() == '"') {
            pos = 1;
            auto unescaped = UnescapeRegistryText(l, pos, '"');
            if (!unescaped)
                continue;
            name = *unescaped;
        } else {
            continue; // not a value line
        }
        std::string_view rest = TrimLeft(l.substr(pos));
        if (rest.empty() || rest.front() != '=')
            continue;
        if (auto value = ParseData(rest.substr(1)))
            current->try_emplace(UpperCase(name), std::move(*value));
    }
    return hive;
}

std::optional<WineRegistryHive> WineRegistryHive::Load(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::stringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return Parse(content.str());
}

namespace {

// The end of the line that starts at start (the text's size for a start at or past it).
size_t LineEnd(std::string_view text, size_t start) {
    if (start >= text.size())
        return text.size();
    const void* newline = memchr(text.data() + start, '\n', text.size() - start);
    return newline ? static_cast<size_t>(static_cast<const char*>(newline) - text.data())
                   : text.size();
}

// The text a header line of the key ends with as Wine writes it ("\\1.0]" for a key ending in
// "\1.0"): the key's last characters that have no letter case, separators doubled. Such text
// reads the same in any letter case, so a plain search finds every candidate header. Empty when
// the key ends in a letter (or in anything Wine would escape).
std::string CaseFreeTail(std::string_view key) {
    while (!key.empty() && key.back() == '\\')
        key.remove_suffix(1);
    size_t start = key.size();
    while (start > 0) {
        const unsigned char c = static_cast<unsigned char>(key[start - 1]);
        if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')
            break;
        if (c < 0x20 || c >= 0x7F || c == '"' || c == ']' || c == '[')
            return {};
        --start;
    }
    if (start == key.size())
        return {};
    std::string tail;
    for (char c : key.substr(start))
        tail += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return tail + "]";
}

} // namespace

std::string WineRegistryHive::KeySections(std::string_view text,
                                          const std::vector<std::string>& keyPaths) {
    std::vector<std::string> wanted, tails;
    for (const std::string& key : keyPaths) {
        wanted.push_back(NormalKey(key));
        tails.push_back(CaseFreeTail(key));
    }
    auto isWantedHeader = [&](std::string_view line) {
        line = TrimLeft(line);
        if (line.empty() || line.front() != '[')
            return false;
        size_t pos = 1;
        const auto key = UnescapeRegistryText(line, pos, ']');
        if (!key)
            return false;
        const std::string normal = NormalKey(*key);
        for (const std::string& w : wanted)
            if (normal == w)
                return true;
        return false;
    };
    auto isHeader = [](std::string_view line) {
        line = TrimLeft(line);
        return !line.empty() && line.front() == '[';
    };

    // The lines to look at: every line, or, when each key has a case-free tail, only the lines
    // where one of the tails occurs (a prefix that does not hold the key costs one search).
    std::vector<size_t> candidates;
    bool everyLine = false;
    for (const std::string& tail : tails)
        everyLine = everyLine || tail.empty();
    if (!everyLine) {
        // Every tail ends in the "]" of a header: the search runs from one "]" to the next.
        size_t from = 0;
        while (from < text.size()) {
            const void* hit = memchr(text.data() + from, ']', text.size() - from);
            if (!hit)
                break;
            const size_t close = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
            from = close + 1;
            for (const std::string& tail : tails) {
                if (close + 1 < tail.size() ||
                    text.compare(close + 1 - tail.size(), tail.size(), tail) != 0)
                    continue;
                const size_t lineStart = text.rfind('\n', close);
                candidates.push_back(lineStart == std::string_view::npos ? 0 : lineStart + 1);
                break;
            }
        }
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    }

    std::string sections;
    // Appends the section of the header at start: its line and the lines up to the next header.
    auto appendSection = [&](size_t start) {
        bool first = true;
        while (start < text.size()) {
            const size_t end = LineEnd(text, start);
            const std::string_view raw = text.substr(start, end - start);
            if (!first && isHeader(raw))
                return start;
            first = false;
            sections.append(raw);
            sections += '\n';
            start = end + 1;
        }
        return text.size();
    };
    if (everyLine) {
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = LineEnd(text, start);
            start =
                isWantedHeader(text.substr(start, end - start)) ? appendSection(start) : end + 1;
        }
    } else {
        size_t done = 0; // candidates inside a section already taken are skipped
        for (const size_t start : candidates) {
            if (start < done)
                continue;
            const size_t end = LineEnd(text, start);
            if (isWantedHeader(text.substr(start, end - start)))
                done = appendSection(start);
        }
    }
    return sections;
}

namespace {

// A key path as the file orders it: its names in upper case.
std::vector<std::string> KeyNames(const std::string& normalKey) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= normalKey.size()) {
        size_t end = normalKey.find('\\', start);
        if (end == std::string::npos)
            end = normalKey.size();
        names.push_back(normalKey.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// Wine's order of keys: name by name, a parent before its subkeys.
bool KeyBefore(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

std::string WineRegistryHive::SortedKeySections(std::string_view text,
                                                const std::vector<std::string>& keyPaths) {
    if (text.substr(0, 23) != "WINE REGISTRY Version 2")
        return KeySections(text, keyPaths);
    struct Header {
        size_t start, end;
        std::vector<std::string> names;
    };
    // The first header line that starts at or after offset; none past the end.
    auto headerFrom = [&](size_t offset) -> std::optional<Header> {
        size_t start = offset;
        if (start >= text.size())
            return std::nullopt;
        if (start > 0 && text[start - 1] != '\n') {
            const size_t newline = text.find('\n', start);
            if (newline == std::string_view::npos)
                return std::nullopt;
            start = newline + 1;
        }
        while (start < text.size()) {
            const size_t end = LineEnd(text, start);
            const std::string_view line = TrimLeft(text.substr(start, end - start));
            if (!line.empty() && line.front() == '[') {
                size_t pos = 1;
                const auto key = UnescapeRegistryText(line, pos, ']');
                return Header{start, end, KeyNames(NormalKey(key.value_or("")))};
            }
            start = end + 1;
        }
        return std::nullopt;
    };

    // Every header read on the way, and the file's first and last: a file edited by hand (a key
    // added at its start or end) shows itself out of order there and is searched instead.
    std::vector<Header> seen;
    auto probe = [&](size_t offset) {
        std::optional<Header> header = headerFrom(offset);
        if (header)
            seen.push_back(*header);
        return header;
    };
    probe(0);
    for (size_t start = text.rfind('\n'); start != std::string_view::npos && start > 0;) {
        const size_t lineStart = text.rfind('\n', start - 1);
        const size_t from = lineStart == std::string_view::npos ? 0 : lineStart + 1;
        const std::string_view line = TrimLeft(text.substr(from, start - from));
        if (!line.empty() && line.front() == '[') {
            probe(from);
            break;
        }
        start = lineStart;
    }
    std::vector<size_t> found;
    for (const std::string& keyPath : keyPaths) {
        const std::vector<std::string> target = KeyNames(NormalKey(keyPath));
        size_t lo = 0, hi = text.size();
        // Every header starting before lo is before the target; none from mid to the first
        // header after it is.
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            const std::optional<Header> header = probe(mid);
            if (!header || header->start >= hi)
                hi = mid;
            else if (KeyBefore(header->names, target))
                lo = std::min(header->end + 1, text.size()); // the last line may lack its newline
            else
                hi = mid;
        }
        const std::optional<Header> header = probe(lo);
        if (header && header->names == target)
            found.push_back(header->start);
    }
    std::sort(seen.begin(), seen.end(),
              [](const Header& a, const Header& b) { return a.start < b.start; });
    for (size_t i = 1; i < seen.size(); ++i)
        if (KeyBefore(seen[i].names, seen[i - 1].names))
            return KeySections(text, keyPaths);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());

    std::string sections;
    for (size_t start : found) {
        bool first = true;
        while (start < text.size()) {
            const size_t end = LineEnd(text, start);
            const std::string_view raw = text.substr(start, end - start);
            const std::string_view line = TrimLeft(raw);
            if (!first && !line.empty() && line.front() == '[')
                break;
            first = false;
            sections.append(raw);
            sections += '\n';
            start = end + 1;
        }
    }
    return sections;
}

std::optional<WineRegistryHive>
WineRegistryHive::LoadKeys(const std::string& nativePath,
                           const std::vector<std::string>& keyPaths) {
    // Non-blocking: a FIFO in place of the file must not hold up the start.
    const int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    if (st.st_size == 0) {
        close(fd);
        return WineRegistryHive();
    }
    // Wine replaces the file by renaming a new one over it, so the mapped content stays whole.
    // Only the pages the search touches are read.
    void* mapped = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (mapped == MAP_FAILED)
        return std::nullopt;
    const std::string sections = SortedKeySections(
        std::string_view(static_cast<const char*>(mapped), static_cast<size_t>(st.st_size)),
        keyPaths);
    munmap(mapped, static_cast<size_t>(st.st_size));
    return Parse(sections);
}

bool WineRegistryHive::HasKey(std::string_view keyPath) const {
    return keys_.count(NormalKey(keyPath)) != 0;
}

const WineRegistryHive::Value* WineRegistryHive::Find(std::string_view keyPath,
                                                      std::string_view valueName) const {
    auto key = keys_.find(NormalKey(keyPath));
    if (key == keys_.end())
        return nullptr;
    auto value = key->second.find(UpperCase(valueName));
    return value == key->second.end() ? nullptr : &value->second;
}

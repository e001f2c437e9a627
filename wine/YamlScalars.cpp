#include "wine/YamlScalars.h"

#include <utility>
#include <vector>

namespace {

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::optional<std::string> Scalar(std::string_view raw) {
    raw = TrimSpaces(raw);
    if (raw.empty())
        return std::nullopt;
    if (raw.front() == '\'') {
        std::string out;
        for (size_t i = 1; i < raw.size(); ++i) {
            if (raw[i] == '\'') {
                if (i + 1 < raw.size() && raw[i + 1] == '\'') {
                    out += '\'';
                    ++i;
                    continue;
                }
                return out;
            }
            out += raw[i];
        }
        return std::nullopt; // unterminated
    }
    if (raw.front() == '"') {
        std::string out;
        for (size_t i = 1; i < raw.size(); ++i) {
            char c = raw[i];
            if (c == '"')
                return out;
            if (c == '\\' && i + 1 < raw.size()) {
                c = raw[++i];
                c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
            out += c;
        }
        return std::nullopt;
    }
    // A comment starts at " #" in a plain scalar.
    for (size_t i = 1; i < raw.size(); ++i)
        if (raw[i] == '#' && (raw[i - 1] == ' ' || raw[i - 1] == '\t')) {
            raw = TrimSpaces(raw.substr(0, i));
            break;
        }
    if (raw == "~" || raw == "null" || raw == "Null" || raw == "NULL")
        return std::nullopt;
    return std::string(raw);
}

// The key of a "key: value" line (quoted keys unquoted), and the rest after the colon.
bool SplitKey(std::string_view line, std::string& key, std::string_view& rest) {
    size_t colon = std::string_view::npos;
    if (!line.empty() && (line.front() == '"' || line.front() == '\'')) {
        const size_t close = line.find(line.front(), 1);
        if (close == std::string_view::npos)
            return false;
        key = std::string(line.substr(1, close - 1));
        colon = line.find(':', close);
        if (colon != close + 1 && TrimSpaces(line.substr(close + 1, colon - close - 1)) != "")
            return false;
    } else {
        // "key:" ends the key only when followed by a blank or the end of the line.
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == ':' &&
                (i + 1 == line.size() || line[i + 1] == ' ' || line[i + 1] == '\t')) {
                colon = i;
                break;
            }
        if (colon == std::string_view::npos)
            return false;
        key = std::string(TrimSpaces(line.substr(0, colon)));
    }
    if (colon == std::string_view::npos)
        return false;
    rest = line.substr(colon + 1);
    return true;
}

} // namespace

namespace {

// Walks the lines of the first document along a path of block-mapping keys. With a full path it
// gives the value after the last key (scalar); with collect, the "key: value" lines directly
// inside the mapping the path names (entries).
struct YamlWalk {
    std::optional<std::string> scalar;
    std::vector<std::pair<std::string, std::string>> entries;
};

YamlWalk Walk(std::string_view text, const std::vector<std::string_view>& keys, bool collect) {
    YamlWalk result;
    // indents[i]: the indentation of the matched key at depth i; childIndent: that of the keys
    // directly below the last matched key (or of the top level), set by the first such key.
    std::vector<size_t> indents;
    size_t childIndent = std::string_view::npos;
    bool content = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (content && (line.substr(0, 3) == "---" || line.substr(0, 3) == "..."))
            break; // only the first document is read
        size_t indent = 0;
        while (indent < line.size() && line[indent] == ' ')
            ++indent;
        const std::string_view body = TrimSpaces(line.substr(indent));
        if (body.empty() || body.front() == '#' || body == "---")
            continue;
        content = true;
        // A line at or left of a matched key's indentation closes that key's mapping.
        bool closed = false;
        while (!indents.empty() && indent <= indents.back()) {
            indents.pop_back();
            closed = true;
        }
        if (collect && indents.size() < keys.size() && !result.entries.empty())
            break; // the mapping collected has ended
        if (closed)
            childIndent = indent;
        if (childIndent == std::string_view::npos)
            childIndent = indent;
        if (indent != childIndent)
            continue; // deeper inside a mapping that is not on the path
        std::string key;
        std::string_view rest;
        if (!SplitKey(body, key, rest))
            continue;
        const size_t depth = indents.size();
        if (collect && depth == keys.size()) {
            // A value cut short reads as no value, as it does for ReadYamlScalar.
            result.entries.emplace_back(std::move(key), Scalar(rest).value_or(""));
            continue;
        }
        if (depth >= keys.size() || key != keys[depth])
            continue;
        if (!collect && depth + 1 == keys.size()) {
            result.scalar = Scalar(rest);
            return result;
        }
        const std::string_view after = TrimSpaces(rest);
        if (!after.empty() && after.front() != '#')
            continue; // a value, not a mapping
        indents.push_back(indent);
        childIndent = std::string_view::npos;
    }
    return result;
}

} // namespace

std::optional<std::string> ReadYamlScalar(std::string_view text,
                                          std::initializer_list<std::string_view> path) {
    const std::vector<std::string_view> keys(path);
    if (keys.empty())
        return std::nullopt;
    return Walk(text, keys, false).scalar;
}

std::vector<std::pair<std::string, std::string>>
ReadYamlMapping(std::string_view text, std::initializer_list<std::string_view> path) {
    return Walk(text, std::vector<std::string_view>(path), true).entries;
}

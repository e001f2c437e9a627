#include "wine/ProtonVersion.h"

#include <charconv>
#include <utility>

std::optional<ProtonPrefixVersion> ParseProtonPrefixVersion(std::string_view text) {
    text = text.substr(0, text.find('\n'));
    while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    // "<major>.<minor>-<build>", digits only.
    ProtonPrefixVersion version;
    int build = 0;
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (auto [number, separator] :
         {std::pair<int*, char>{&version.major, '.'}, {&version.minor, '-'}, {&build, '\0'}}) {
        const auto [next, error] = std::from_chars(p, end, *number);
        if (error != std::errc() || next == p || *number < 0)
            return std::nullopt;
        p = next;
        if (separator != '\0') {
            if (p == end || *p != separator)
                return std::nullopt;
            ++p;
        }
    }
    if (p != end)
        return std::nullopt;
    version.text = std::string(text);
    return version;
}

std::optional<ProtonPrefixVersion> ProtonScriptPrefixVersion(std::string_view script) {
    constexpr std::string_view key = "CURRENT_PREFIX_VERSION=\"";
    for (size_t at = script.find(key); at != std::string_view::npos;
         at = script.find(key, at + 1)) {
        if (at != 0 && script[at - 1] != '\n')
            continue;
        const size_t start = at + key.size();
        const size_t end = script.find('"', start);
        if (end != std::string_view::npos)
            return ParseProtonPrefixVersion(script.substr(start, end - start));
    }
    return std::nullopt;
}

#include "platform/IniSectionIndex.h"

#include "platform/IniDocument.h"
#include "platform/TextRules.h"

#include <algorithm>

namespace {
bool KeyLess(const std::pair<std::string, std::string>& a,
             const std::pair<std::string, std::string>& b) {
    return a.first < b.first;
}
} // namespace

IniSectionIndex::IniSectionIndex(const IniDocument& document, std::string_view section)
    : values_(document.Entries(section)) {
    for (auto& entry : values_)
        entry.first = UpperCase(entry.first);
    // Entries come in file order, already trimmed; a stable sort keeps that order among equal
    // keys and unique keeps the first of each run, so the first line of a repeated key wins.
    std::stable_sort(values_.begin(), values_.end(), KeyLess);
    values_.erase(std::unique(values_.begin(), values_.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  values_.end());
}

std::optional<std::string> IniSectionIndex::Read(std::string_view key) const {
    const std::pair<std::string, std::string> wanted{UpperCase(TrimBlanks(key)), {}};
    const auto found = std::lower_bound(values_.begin(), values_.end(), wanted, KeyLess);
    if (found == values_.end() || found->first != wanted.first)
        return std::nullopt;
    return found->second;
}

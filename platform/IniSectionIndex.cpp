#include "platform/IniSectionIndex.h"

#include "platform/IniDocument.h"
#include "platform/TextRules.h"

IniSectionIndex::IniSectionIndex(const IniDocument& document, std::string_view section) {
    // Entries come in file order, already trimmed; emplace keeps the first line of a repeated key.
    for (auto& [key, value] : document.Entries(section))
        values_.emplace(UpperCase(key), std::move(value));
}

std::optional<std::string> IniSectionIndex::Read(std::string_view key) const {
    const auto found = values_.find(UpperCase(TrimBlanks(key)));
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

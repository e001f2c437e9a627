#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class IniDocument;

// The keys of one section of a profile file, for callers that look up many keys of it: built in
// one pass over the document, each lookup then costs the same whatever the section's size. The
// answers are those of IniDocument::Read for that section (first matching section, first matching
// key, keys without regard to case and blanks, values trimmed, one pair of quotes removed, cut to
// 2047 characters).
class IniSectionIndex {
public:
    IniSectionIndex(const IniDocument& document, std::string_view section);

    std::optional<std::string> Read(std::string_view key) const;

private:
    std::unordered_map<std::string, std::string> values_; // by upper-cased key
};

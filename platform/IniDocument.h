#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The text of a profile (INI) file held line by line, with the lookup and edit rules of the
// platform's profile functions. Edits touch only the affected lines; every other byte (comments,
// blank lines, other sections, line endings) is kept as it was.
class IniDocument {
public:
    static constexpr size_t kMaxValueLength = 2047;

    IniDocument() = default;
    static IniDocument Parse(std::string_view bytes);

    // Section names, keys and values are text from the Windows world: each is decoded once here
    // (UTF-8 when valid, else Windows-1252), so every reader compares and shows UTF-8 text. A
    // write keeps the bytes of every line it does not replace.

    // Value of the first matching key in the first matching section: trimmed, one pair of
    // matching quotes removed, decoded, cut to 2047 characters. No value when the section, the
    // key or its "=" is missing; a present key with nothing after "=" gives an empty text.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

    // The key lines of the first matching section, in file order, as (key, value) with the same
    // rules as Read.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

    bool HasSection(std::string_view section) const;

    // Replaces the first matching key (keeping its spelling and position), or appends the key to
    // the first matching section, or appends a new section at the end of the text.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    // Removes every section of that name with its key lines; comments and blank lines stay.
    // Returns whether anything was removed.
    bool EraseSection(std::string_view section);

    std::string Serialize() const;

private:
    struct Line {
        std::string text; // without its line ending
        std::string eol;  // "\r\n", "\n", "\r" or empty for a last line without one
    };
    enum class Kind { Blank, Comment, Section, Key, Other };
    static Kind Classify(std::string_view text);
    static std::string SectionName(std::string_view text);
    static std::string KeyName(std::string_view text);          // decoded
    static std::string_view KeySpelling(std::string_view text); // as the file has it
    static std::string ValueOf(std::string_view text);
    // Index of the header line of the first matching section, or npos.
    size_t FindSection(std::string_view section) const;
    // One past the last line that belongs to the section whose header is at index header.
    size_t SectionEnd(size_t header) const;
    std::string LineEnding() const;

    std::vector<Line> lines_;
};

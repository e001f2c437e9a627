#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Steam's text key-value files (libraryfolders.vdf, config.vdf, compatibilitytool.vdf):
//   "key" "value"   or   "key" { ... }
// Keys and values are quoted (with \" \\ \n \t escapes) or bare words; // starts a comment;
// "[$PLATFORM]" conditions after an entry are skipped. Keys match without regard to case. A file
// cut short keeps what was read before the cut; nesting deeper than 64 levels is not read.
class KeyValuesNode {
public:
    static KeyValuesNode Parse(std::string_view text);

    // The first child named key, or nullptr.
    const KeyValuesNode* Find(std::string_view key) const;
    // Follows a path of child names, e.g. {"InstallConfigStore", "Software", "Valve"}.
    const KeyValuesNode* Find(std::initializer_list<std::string_view> path) const;

    const std::string& Value() const { return value_; }
    bool IsBlock() const { return block_; }
    const std::vector<std::pair<std::string, KeyValuesNode>>& Children() const { return children_; }

private:
    friend class KeyValuesParser;
    std::string value_;
    bool block_ = false;
    std::vector<std::pair<std::string, KeyValuesNode>> children_;
};

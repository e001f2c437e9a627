#pragma once

#include <string>
#include <utility>
#include <vector>

// The variables a manager sets for a program, in the order it sets them: a later Set replaces a
// name's value where it stands, SetIfAbsent keeps one already set (the player's own, usually).
class ManagerEnvironment {
public:
    void Set(const std::string& name, const std::string& value);
    void SetIfAbsent(const std::string& name, const std::string& value);
    bool Has(const std::string& name) const;
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// Whether the kernel offers what fsync needs (the futex_waitv call of Linux 5.16), which Wine's
// managers take as the default for fsync.
bool KernelSupportsFsync();

// Yes or no of a YAML scalar, as the managers' Python reads their files; fallback when unset.
bool YamlTruth(const std::string& value, bool fallback);

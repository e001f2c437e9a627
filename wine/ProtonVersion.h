#pragma once

#include <optional>
#include <string>
#include <string_view>

// A prefix version as Proton writes it into a prefix's version file ("9.0-203"): only major and
// minor decide which is older, as in Proton's own prefix upgrade.
struct ProtonPrefixVersion {
    int major = 0, minor = 0;
    std::string text;
    bool OlderThan(const ProtonPrefixVersion& other) const {
        return major != other.major ? major < other.major : minor < other.minor;
    }
    bool SameRelease(const ProtonPrefixVersion& other) const {
        return major == other.major && minor == other.minor;
    }
};

// The version on the first line of a version file, or none.
std::optional<ProtonPrefixVersion> ParseProtonPrefixVersion(std::string_view text);
// The prefix version a Proton writes: its proton script's line CURRENT_PREFIX_VERSION="X.Y-N".
std::optional<ProtonPrefixVersion> ProtonScriptPrefixVersion(std::string_view script);

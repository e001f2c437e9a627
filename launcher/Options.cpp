#include "launcher/Options.h"

#include "platform/IniFile.h"
#include "platform/TextRules.h"

namespace {
constexpr const char* kSection = "config";

bool ReadFlag(const IniDocument& doc, const char* key) {
    auto value = doc.Read(kSection, key);
    if (!value)
        return false;
    auto number = ParseInteger(*value, false);
    return number && *number != 0;
}
} // namespace

void WriteStoredOptions(IniFile& file, const StoredOptions& o, bool withVersion) {
    if (withVersion)
        file.WriteString(kSection, "version", o.version);
    const std::pair<const char*, bool> flags[] = {
        {"settings", o.settings},     {"level", o.level}, {"godmode", o.godmode},
        {"debugkeys", o.debugkeys},   {"nofmv", o.nofmv}, {"windowed", o.windowed},
        {"fullscreen", o.fullscreen},
    };
    for (const auto& [key, on] : flags)
        file.WriteString(kSection, key, on ? "1" : "0");
    file.WriteString(kSection, "lang", o.lang);
}

StoredOptions ReadStoredOptions(const IniFile& file, bool withVersion) {
    const IniDocument doc = file.Snapshot();
    StoredOptions o;
    if (withVersion)
        o.version = doc.Read(kSection, "version").value_or(kDefaultExecutable);
    o.settings = ReadFlag(doc, "settings");
    o.level = ReadFlag(doc, "level");
    o.godmode = ReadFlag(doc, "godmode");
    o.debugkeys = ReadFlag(doc, "debugkeys");
    o.nofmv = ReadFlag(doc, "nofmv");
    o.windowed = ReadFlag(doc, "windowed");
    o.fullscreen = ReadFlag(doc, "fullscreen");
    o.lang = doc.Read(kSection, "lang").value_or(kDefaultLanguage);
    return o;
}

void EraseStoredOptions(IniFile& file) {
    file.EraseSection(kSection);
}

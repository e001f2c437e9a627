#include "wine/WinePrefixGameRegistry.h"

#include "platform/ScuError.h"
#include "wine/WineRegistry.h"

namespace {
const WineRegistryHive::Value* FindValue(const WineRegistryHive& hive, const std::string& name) {
    const WineRegistryHive::Value* value = hive.Find(kGameRegistryKey32, name);
    return value ? value : hive.Find(kGameRegistryKey, name);
}

std::optional<WineRegistryHive> LoadRecord(const std::string& prefix) {
    return WineRegistryHive::LoadKeys(prefix + "/system.reg",
                                      {kGameRegistryKey32, kGameRegistryKey});
}
} // namespace

WinePrefixGameRegistry::WinePrefixGameRegistry(std::string prefix) : prefix_(std::move(prefix)) {}

std::string WinePrefixGameRegistry::ReadString(const std::string& valueName) {
    const auto hive = LoadRecord(prefix_);
    if (!hive)
        return {};
    const WineRegistryHive::Value* value = FindValue(*hive, valueName);
    if (!value)
        return {};
    // A value without data reads as empty text whatever its type: there is nothing to convert.
    if (value->data.empty())
        return {};
    if (value->type != WineRegistryHive::kString && value->type != WineRegistryHive::kExpandString)
        throw ScuError("Invalid data type for '" + valueName + "'");
    return value->data;
}

bool PrefixHoldsGameRecord(const std::string& prefix) {
    const auto hive = LoadRecord(prefix);
    if (!hive)
        return false;
    const WineRegistryHive::Value* value = FindValue(*hive, kGameFolderValue);
    return value && !value->data.empty();
}

#include "platform/WinePrefixGameRegistry.h"

#include "platform/ScuError.h"
#include "platform/WineRegistry.h"

WinePrefixGameRegistry::WinePrefixGameRegistry(std::string prefix) : prefix_(std::move(prefix)) {}

std::string WinePrefixGameRegistry::ReadString(const std::string& valueName) {
    const auto hive = WineRegistryHive::Load(prefix_ + "/system.reg");
    if (!hive)
        return {};
    const WineRegistryHive::Value* value = hive->Find(kGameRegistryKey32, valueName);
    if (!value)
        value = hive->Find(kGameRegistryKey, valueName);
    if (!value)
        return {};
    // A value without data reads as empty text whatever its type: there is nothing to convert.
    if (value->data.empty())
        return {};
    if (value->type != WineRegistryHive::kString && value->type != WineRegistryHive::kExpandString)
        throw ScuError("Invalid data type for '" + valueName + "'");
    return value->data;
}

#include "wine/ManagerEnvironment.h"

#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>

void ManagerEnvironment::Set(const std::string& name, const std::string& value) {
    for (auto& entry : entries_)
        if (entry.first == name) {
            entry.second = value;
            return;
        }
    entries_.emplace_back(name, value);
}

void ManagerEnvironment::SetIfAbsent(const std::string& name, const std::string& value) {
    if (!Has(name))
        entries_.emplace_back(name, value);
}

bool ManagerEnvironment::Has(const std::string& name) const {
    for (const auto& entry : entries_)
        if (entry.first == name)
            return true;
    return false;
}

bool KernelSupportsFsync() {
#ifdef __NR_futex_waitv
    // With no futexes the call fails at once: EINVAL where it exists, ENOSYS where it does not.
    return syscall(__NR_futex_waitv, nullptr, 0, 0, nullptr, 0) != 0 && errno != ENOSYS;
#else
    return syscall(449, nullptr, 0, 0, nullptr, 0) != 0 && errno != ENOSYS;
#endif
}

bool YamlTruth(const std::string& value, bool fallback) {
    if (value == "true" || value == "True" || value == "TRUE" || value == "yes" || value == "Yes" ||
        value == "on" || value == "1")
        return true;
    if (value == "false" || value == "False" || value == "FALSE" || value == "no" ||
        value == "No" || value == "off" || value == "0")
        return false;
    return fallback;
}

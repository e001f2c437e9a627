#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

// Sets environment variables for one test and gives back the old values at its end.
class Environment {
public:
    ~Environment() {
        for (const auto& [name, value] : saved_)
            value ? (void)setenv(name.c_str(), value->c_str(), 1) : (void)unsetenv(name.c_str());
    }
    void Set(const std::string& name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        value ? (void)setenv(name.c_str(), value, 1) : (void)unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

#pragma once

#include <string>

// The game's installation record. Reading raises ScuError on failure; it never creates keys.
class GameRegistry {
public:
    virtual ~GameRegistry() = default;
    virtual std::string ReadString(const std::string& valueName) = 0;
};

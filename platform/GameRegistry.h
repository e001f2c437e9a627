#pragma once

#include <string>

// The game's installation record. A missing record, key or value reads as empty text; a value
// that is not text raises ScuError("Invalid data type for '<name>'"). Reading never creates keys.
class GameRegistry {
public:
    virtual ~GameRegistry() = default;
    virtual std::string ReadString(const std::string& valueName) = 0;
};

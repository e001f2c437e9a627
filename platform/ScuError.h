#pragma once

#include <stdexcept>
#include <string>

// The one error type raised by the settings, registry and archive layers. Handlers let it pass;
// the boundary of each handler shows it in the application error box.
class ScuError : public std::runtime_error {
public:
    explicit ScuError(const std::string& message) : std::runtime_error(message) {}
};

// The text of the application error box: a full stop is appended when the code of the last
// character is above that of ".", so "Done." or "(x)" get none but "Failed" does.
std::string ApplicationErrorText(const std::string& message);

#pragma once

#include <string>

// Modal message boxes. Texts may hold "\r", shown as a line break.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Information(const std::string& text) = 0; // title "Information", OK
    virtual void Error(const std::string& text) = 0;       // title "Error", OK
    virtual bool Confirm(const std::string& text) = 0;     // title "Confirm", Yes/No; true on Yes
    // The application error box: title "ZELTA SCU", error icon, OK, with the full-stop rule of
    // ApplicationErrorText applied to the message.
    virtual void ApplicationError(const std::string& message) = 0;
};

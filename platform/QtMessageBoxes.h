#pragma once

#include "platform/MessageBoxes.h"

class QString;
class QWidget;

// Message boxes as modal Qt dialogs over the active window.
class QtMessageBoxes : public MessageBoxes {
public:
    void Information(const std::string& text) override;
    void Error(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ApplicationError(const std::string& message) override;
};

// "\r" and "\r\n" in message texts are line breaks.
QString MessageTextForDisplay(const std::string& text);

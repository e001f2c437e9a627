#pragma once

#include "platform/AppWindow.h"

class QWidget;

// The main window's presence on the desktop.
class QtAppWindow : public AppWindow {
public:
    void SetWindow(QWidget* window) { window_ = window; }
    void Minimise() override;
    void Restore() override;
    void HideFromDesktop() override;

private:
    QWidget* window_ = nullptr;
};

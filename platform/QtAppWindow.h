#pragma once

#include "platform/AppWindow.h"

#include <QObject>
#include <QString>

class QTimer;

class QWidget;

// The main window's presence on the desktop. On X11 it is minimised while the game runs and
// restored after it; where the window manager does not take the request (MinimiseCheck), the
// window is hidden instead, without blocking: a timer looks at it while the wait for the game
// runs. A Wayland client can ask to be minimised but has no request to undo it, so there the
// window is hidden (unmapped) and shown again, as game launchers do. The window keeps
// its caption as its accessible name: a window without one is named by its icon text while
// minimised (empty here), and a screen reader that read it then keeps reporting no name after the
// window is restored.
class QtAppWindow : public QObject, public AppWindow {
public:
    QtAppWindow();
    void SetWindow(QWidget* window);
    void Minimise() override;
    void Restore() override;
    void HideFromDesktop() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LookAtMinimisedWindow();
    void HideWindow();

    QWidget* window_ = nullptr;
    QTimer* check_; // looks at the window after the minimise request (X11)
    int waited_ = 0;
    bool hidden_ = false; // hidden, not minimised, while the game runs
};

// Whether the Qt platform plugin of this name draws on a Wayland compositor ("wayland",
// "wayland-egl", ...), where a window is hidden instead of minimised, cannot place itself and
// cannot move the pointer.
bool IsWaylandPlatform(const QString& platformName);

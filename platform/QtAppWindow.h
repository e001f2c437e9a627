#pragma once

#include "platform/AppWindow.h"

#include <QObject>

class QWidget;

// The main window's presence on the desktop. The window keeps its caption as its accessible
// name: a window without one is named by its icon text while minimised (empty here), and a
// screen reader that read it then keeps reporting no name after the window is restored.
class QtAppWindow : public QObject, public AppWindow {
public:
    void SetWindow(QWidget* window);
    void Minimise() override;
    void Restore() override;
    void HideFromDesktop() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_ = nullptr;
};

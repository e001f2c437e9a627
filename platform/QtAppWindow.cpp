#include "platform/QtAppWindow.h"

#include <QWidget>

void QtAppWindow::Minimise() {
    if (window_)
        window_->showMinimized();
}

void QtAppWindow::Restore() {
    if (!window_)
        return;
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void QtAppWindow::HideFromDesktop() {
    if (!window_)
        return;
    window_->move(-1000, -1000);
    // A tool window gets no task-bar entry; it stays unshown, so changing its flags maps nothing.
    const bool visible = window_->isVisible();
    window_->setWindowFlag(Qt::Tool, true);
    if (visible)
        window_->show();
}

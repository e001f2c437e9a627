#include "platform/QtAppWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace {
bool OnWayland() {
    return IsWaylandPlatform(QGuiApplication::platformName());
}
} // namespace

bool IsWaylandPlatform(const QString& platformName) {
    return platformName.startsWith(QLatin1String("wayland"));
}

void QtAppWindow::SetWindow(QWidget* window) {
    if (window_)
        window_->removeEventFilter(this);
    window_ = window;
    if (!window_)
        return;
    window_->setAccessibleName(window_->windowTitle());
    window_->installEventFilter(this);
}

bool QtAppWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::WindowTitleChange)
        window_->setAccessibleName(window_->windowTitle());
    return QObject::eventFilter(watched, event);
}

void QtAppWindow::Minimise() {
    if (!window_)
        return;
    // xdg-shell's set_minimized has no counterpart: a minimised Wayland window stays down for good,
    // while an unmapped one comes back on the next map.
    if (OnWayland())
        window_->hide();
    else
        window_->showMinimized();
}

void QtAppWindow::Restore() {
    if (!window_)
        return;
    if (OnWayland())
        window_->show();
    else
        window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void QtAppWindow::HideFromDesktop() {
    if (!window_)
        return;
    // A Wayland client can neither place its window nor leave the task bar while mapped: it stays
    // unmapped instead.
    if (OnWayland()) {
        window_->hide();
        return;
    }
    window_->move(-1000, -1000);
    // A tool window gets no task-bar entry; it stays unshown, so changing its flags maps nothing.
    const bool visible = window_->isVisible();
    window_->setWindowFlag(Qt::Tool, true);
    if (visible)
        window_->show();
}

#include "platform/QtAppWindow.h"

#include "platform/MinimiseCheck.h"
#include "platform/X11WindowState.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

namespace {
bool OnWayland() {
    return IsWaylandPlatform(QGuiApplication::platformName());
}
} // namespace

bool IsWaylandPlatform(const QString& platformName) {
    return platformName.startsWith(QLatin1String("wayland"));
}

QtAppWindow::QtAppWindow() : check_(new QTimer(this)) {
    check_->setInterval(kIconicCheckInterval);
    connect(check_, &QTimer::timeout, this, [this] { LookAtMinimisedWindow(); });
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
    if (OnWayland()) {
        HideWindow();
        return;
    }
    window_->showMinimized();
    waited_ = 0;
    check_->start();
}

void QtAppWindow::LookAtMinimisedWindow() {
    waited_ += check_->interval();
    switch (CheckMinimised(IsIconicOnX11(*window_), waited_)) {
    case MinimiseCheck::Iconic:
        check_->stop();
        break;
    case MinimiseCheck::Wait:
        break;
    case MinimiseCheck::Hide:
        check_->stop();
        // Leaving the minimised state maps the window on X11, so it is left before the hide.
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
        HideWindow();
        break;
    }
}

void QtAppWindow::HideWindow() {
    window_->hide();
    hidden_ = true;
}

void QtAppWindow::Restore() {
    if (!window_)
        return;
    check_->stop();
    if (hidden_)
        window_->show();
    else
        window_->showNormal();
    hidden_ = false;
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

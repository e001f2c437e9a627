// The main window getting out of the way while the game runs, on the X server of the test: with
// no window manager, which (as GNOME's mutter does for a window without a minimise box) leaves
// the minimise request unanswered, and under openbox, which minimises it.
#include "platform/QtAppWindow.h"
#include "platform/MinimiseCheck.h"
#include "platform/QtPauses.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/TestDisplay.h"

#include <cstdlib>
#include <functional>

namespace {

// Waits, handling events, for a condition; false when it did not come within five seconds (or
// the given number of looks 50 ms apart).
bool Eventually(const std::function<bool()>& condition, int looks = 100) {
    for (int i = 0; i < looks; ++i) {
        if (condition())
            return true;
        QtPauses().Pause(50);
    }
    return condition();
}

// The X server's view of a window, through a connection of the test's own.
class XView {
public:
    XView() : display_(OpenTestDisplay()) {}
    ~XView() {
        if (display_)
            XCloseDisplay(display_);
    }
    bool Ready() const { return display_ != nullptr; }
    bool Viewable(const QWidget& window) {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display_, window.winId(), &attributes) &&
               attributes.map_state == IsViewable;
    }
    // WM_STATE as the window manager keeps it; -1 without one.
    long WmState(const QWidget& window) {
        const Atom wmState = XInternAtom(display_, "WM_STATE", False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        long state = -1;
        if (XGetWindowProperty(display_, window.winId(), wmState, 0, 2, False, wmState, &type,
                               &format, &count, &after, &data) == Success &&
            data && format == 32 && count >= 1)
            state = reinterpret_cast<const long*>(data)[0];
        if (data)
            XFree(data);
        return state;
    }
    bool Managed() {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool found =
            XGetWindowProperty(display_, DefaultRootWindow(display_),
                               XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False), 0, 1,
                               False, XA_WINDOW, &type, &format, &count, &after,
                               &data) == Success &&
            count == 1;
        if (data)
            XFree(data);
        return found;
    }

private:
    Display* display_;
};

// A window with the main window's flags: a title and a close box, no minimise box.
class MainLikeWindow : public QWidget {
public:
    MainLikeWindow()
        : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                               Qt::MSWindowsFixedSizeDialogHint) {
        setWindowTitle(QStringLiteral("ZELTA Startup Configuration Utility"));
        setFixedSize(545, 523);
        setStyleSheet(QStringLiteral("background: #d4d0c8"));
    }
};

// What a person sees on the screen, kept when SCU_TEST_PICTURES names a folder.
void SaveScreenIfAsked(const QString& name) {
    const char* folder = std::getenv("SCU_TEST_PICTURES");
    if (!folder || !*folder)
        return;
    QtPauses().Pause(300); // a window just mapped is drawn first
    QGuiApplication::primaryScreen()->grabWindow(0).save(
        QString::fromLocal8Bit(folder) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The game's run: longer than the window manager is given to minimise the window.
void GameRuns() {
    QtPauses().Pause(kIconicWaitLimit + 500);
}

TEST(QtAppWindowOnX11, AWindowTheManagerDoesNotMinimiseIsHiddenWhileTheGameRuns) {
    XView x;
    ASSERT_TRUE(x.Ready()) << "needs an X display";
    ASSERT_FALSE(x.Managed()) << "this case runs without a window manager";
    MainLikeWindow window;
    QtAppWindow appWindow;
    appWindow.SetWindow(&window);
    window.show();
    ASSERT_TRUE(Eventually([&] { return x.Viewable(window); }));
    SaveScreenIfAsked(QStringLiteral("minimise-no-manager-before"));

    appWindow.Minimise();
    GameRuns();
    SaveScreenIfAsked(QStringLiteral("minimise-no-manager-game"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(x.Viewable(window)) << "the window stayed on the screen beside the game";

    appWindow.Restore();
    EXPECT_TRUE(Eventually([&] { return x.Viewable(window); })) << "not shown after the game";
    EXPECT_FALSE(window.isMinimized());
    SaveScreenIfAsked(QStringLiteral("minimise-no-manager-after"));
}

TEST(QtAppWindowOnX11, AWindowTheManagerMinimisesStaysIconicNotHidden) {
    XView x;
    ASSERT_TRUE(x.Ready()) << "needs an X display";
    TempFolder home;
    QProcess openbox;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(home.Path()));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home / "config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), QString::fromStdString(home / "cache"));
    openbox.setProcessEnvironment(environment);
    openbox.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    ASSERT_TRUE(openbox.waitForStarted()) << "openbox is not installed";
    ASSERT_TRUE(Eventually([&] { return x.Managed(); })) << "openbox did not start";

    MainLikeWindow window;
    QtAppWindow appWindow;
    appWindow.SetWindow(&window);
    // The manager announces itself before it takes map requests: the window is shown afresh
    // until the manager has taken it.
    bool managed = false;
    for (int attempt = 0; attempt < 20 && !managed; ++attempt) {
        window.hide();
        window.show();
        managed = Eventually([&] { return x.WmState(window) == NormalState; }, 10);
    }
    ASSERT_TRUE(managed) << "openbox did not manage the window";

    appWindow.Minimise();
    GameRuns();
    SaveScreenIfAsked(QStringLiteral("minimise-openbox-game"));
    EXPECT_EQ(x.WmState(window), IconicState);
    EXPECT_TRUE(window.isVisible()) << "hidden although the manager minimised it";

    appWindow.Restore();
    EXPECT_TRUE(Eventually([&] { return x.WmState(window) == NormalState && x.Viewable(window); }))
        << "not restored after the game";
    SaveScreenIfAsked(QStringLiteral("minimise-openbox-after"));
    window.hide();
    openbox.terminate();
    openbox.waitForFinished();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

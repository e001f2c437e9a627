// The utility as a client of a real Wayland compositor (headless weston, started by
// run-under-weston.sh) with the stand-in game drawing through XWayland, as on a GNOME or KDE
// desktop: the window makes way for the game and comes back, the wait lasts as long as the game,
// the package road keeps the demo until the game has ended, and a movie plays although a
// compositor without a keyboard never activates its window. What a person sees is taken from the
// compositor's own screenshots.
#include "e2e/LoggedLaunch.h"

#include "archive/uVexaZipComp.h"
#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "platform/DesktopProgramStarter.h"
#include "platform/QtAppWindow.h"
#include "platform/QtPauses.h"
#include "platform/X11WindowFinder.h"
#include "support/FakeServices.h"
#include "support/ProgramWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <regex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The whole screen as the compositor shows it (weston-screenshooter; weston runs with --debug);
// a null image when none was taken. Kept in SCU_TEST_PICTURES when that names a folder.
QImage Screenshot(const std::string& name) {
    TempFolder folder;
    QProcess shooter;
    shooter.setWorkingDirectory(QString::fromStdString(folder.Path()));
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    shooter.waitForFinished(10000);
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        if (entry.path().extension() != ".png")
            continue;
        const QImage image(QString::fromStdString(entry.path().string()));
        if (const char* pictures = getenv("SCU_TEST_PICTURES"))
            image.save(QString::fromStdString(std::string(pictures) + "/wayland-" + name + ".png"));
        return image.convertToFormat(QImage::Format_RGB32);
    }
    return {};
}

// Whether the picture of a window appears somewhere on the screen, pixel for pixel but for a
// tenth of its pixels (focus frames and text smoothing may differ a little). Only places that
// match the picture at its sharp edges are compared in full, so the search takes milliseconds.
bool OnScreen(const QImage& screen, const QImage& picture) {
    const QImage window = picture.convertToFormat(QImage::Format_RGB32);
    const int w = window.width(), h = window.height();
    if (screen.isNull() || w < 2 || screen.width() < w || screen.height() < h)
        return false;
    auto at = [](const QImage& image, int x, int y) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
    };
    auto near = [](QRgb a, QRgb b, int tolerance) {
        return std::abs(qRed(a) - qRed(b)) <= tolerance &&
               std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
               std::abs(qBlue(a) - qBlue(b)) <= tolerance;
    };
    std::vector<QPoint> edges; // pixels unlike their right neighbour, spread over the picture
    for (int y = 3; y < h; y += 29)
        for (int x = 0; x + 1 < w; ++x)
            if (!near(at(window, x, y), at(window, x + 1, y), 60)) {
                edges.emplace_back(x, y);
                x += 41;
            }
    if (edges.size() < 8)
        return false; // too plain a picture to be told from anything else
    const long budget = long(w) * h / 10;
    for (int top = 0; top + h <= screen.height(); ++top)
        for (int left = 0; left + w <= screen.width(); ++left) {
            bool edgesMatch = true;
            for (size_t i = 0; i < edges.size() && edgesMatch; ++i) {
                const QPoint& e = edges[i];
                edgesMatch =
                    near(at(screen, left + e.x(), top + e.y()), at(window, e.x(), e.y()), 24) &&
                    near(at(screen, left + e.x() + 1, top + e.y()), at(window, e.x() + 1, e.y()),
                         24);
            }
            if (!edgesMatch)
                continue;
            long misses = 0;
            for (int y = 0; y < h && misses <= budget; ++y)
                for (int x = 0; x < w; ++x)
                    misses += !near(at(screen, left + x, top + y), at(window, x, y), 24);
            if (misses <= budget)
                return true;
        }
    return false;
}

// Whether the window is on the screen, looked at until it is for up to 5 seconds:
// the compositor shows a change a frame or two after the client made it.
bool SeenOnScreen(QWidget* window, const std::string& name) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        QTest::qWait(attempt == 0 ? 100 : 500);
        if (OnScreen(Screenshot(name), window->grab().toImage()))
            return true;
    }
    return false;
}

// Pauses at a fifth of their length, so the game's window drawn through XWayland has a second to
// appear before the first poll even on a busy machine.
class WaylandDesktopTest : public LoggedLaunchTest {
protected:
    WaylandDesktopTest() : LoggedLaunchTest(5) {}
    void SetUp() override {
        ASSERT_TRUE(IsWaylandPlatform(QGuiApplication::platformName()))
            << "runs on Qt's Wayland plugin (tests/wayland/run-under-weston.sh)";
        CreateWindows({"K1"});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
};

TEST_F(WaylandDesktopTest, TheWindowMakesWayForTheGameAndComesBackAfterIt) {
    ASSERT_TRUE(SeenOnScreen(main.get(), "before-game")) << "the window never reached the screen";
    install.WindowTimes(800, 800, 2500);
    main->cbxLevels->setChecked(true);
    TfrmMain::SetRadioChecked(main->rbLevel, true);
    TfrmMain::SetRadioChecked(main->cbWindowed, true);
    bool hiddenDuringGame = false;
    bool windowOnScreenDuringGame = true;
    windows.onFound = [&] {
        hiddenDuringGame = !main->isVisible();
        windowOnScreenDuringGame = OnScreen(Screenshot("during-game"), main->grab().toImage());
    };
    bool lastWindowClosed = false;
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, [&] { lastWindowClosed = true; });

    main->btnPlay->click();
    const auto runs = install.Runs();
    ASSERT_EQ(runs.size(), 1u) << "the game did not run to its end";
    // The game's main window, drawn through XWayland, was found until it closed.
    EXPECT_EQ(Steps(), (std::vector<std::string>{"minimise", "pause 5000", "find ZELTA yes",
                                                 "find ZELTA no", "restore"}));
    EXPECT_TRUE(hiddenDuringGame);
    EXPECT_FALSE(windowOnScreenDuringGame) << "the window stayed on the screen during the game";
    EXPECT_FALSE(lastWindowClosed) << "hiding the window would end the program";
    EXPECT_TRUE(SeenOnScreen(main.get(), "after-game")) << "the window did not come back";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WaylandDesktopTest, AMoviePlaysAndClosesByItselfWithoutBeingActivated) {
    ChooseTheTestMovie();
    // The three-second movie has long ended when this closes a window still open.
    bool closedByTest = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String("frmFMV") && window->isVisible()) {
                closedByTest = true;
                window->close();
            }
    });
    watchdog.start(15000);
    // Half-way through, the screen shows the movie (a bright ball on black), not a black window.
    double brightShare = 0;
    QTimer::singleShot(1500, [&] {
        const QImage screen = Screenshot("movie");
        long bright = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                bright += qGray(screen.pixel(x, y)) > 100;
        brightShare = screen.isNull() ? 0 : double(bright) / (screen.width() * screen.height());
    });
    QElapsedTimer timer;
    timer.start();
    main->btnPlay->click();
    EXPECT_GT(brightShare, 0.005) << "no movie picture on the screen";
    EXPECT_FALSE(closedByTest) << "the movie window stayed open (playback never started)";
    EXPECT_GE(timer.elapsed(), 2500) << "the movie did not play to its end";
    EXPECT_TRUE(install.Runs().empty());
    EXPECT_TRUE(messages.shown.empty());
}

// "zeltasc package.xpd" on a Wayland desktop, as a separate program: it maps no window, waits
// for the game's end and only then removes the unpacked demo.
TEST(WaylandPackageRoadTest, KeepsTheDemoUntilTheGameHasEndedAndShowsNothing) {
    StandInInstallation install;
    install.InstallUtility(
        "[config]\r\nversion=ZELTA.EXE\r\nwindowed=1\r\n\r\n[levels]\r\nK1=The Harbour\r\n");
    // The main window outlasts the first poll, 5 seconds after the start.
    install.WindowTimes(500, 500, 6000);
    TempFolder work;
    const std::string package = install.root / "demo.xpd";
    work.Write("K1.tmp", "recorded input");
    TVexaZipComponent().gZapakujFajl(work / "K1.tmp", package);
    const auto before = install.GameFiles();

    const std::string protocol = install.root / "wayland-protocol.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        // The client's side of the Wayland protocol goes to a file.
        setenv("WAYLAND_DEBUG", "client", 1);
        const int fd = open(protocol.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
        const std::string program = install.root / "utility/zeltasc";
        execl(program.c_str(), program.c_str(), package.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    bool gameSeenRunning = false, demoMissingWhileGameRan = false;
    int status = -1;
    for (int i = 0; i < 1500 && status == -1; ++i) {
        const std::string gameLog = install.root.Read("game.log");
        const bool running = gameLog.find("window=ZELTA") != std::string::npos &&
                             gameLog.find("closed=ZELTA") == std::string::npos;
        if (running) {
            gameSeenRunning = true;
            demoMissingWhileGameRan |= !install.root.Exists("game/bin/K1.tmp");
        }
        int waited = 0;
        if (waitpid(pid, &waited, WNOHANG) == pid) {
            status = WIFEXITED(waited) ? WEXITSTATUS(waited) : 128 + WTERMSIG(waited);
            EXPECT_NE(install.root.Read("game.log").find("closed=ZELTA"), std::string::npos)
                << "the utility ended while the game still ran";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (status == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(gameSeenRunning);
    EXPECT_FALSE(demoMissingWhileGameRan) << "the demo was removed while the game ran";
    EXPECT_EQ(install.GameFiles(), before);
    ASSERT_EQ(install.Runs().size(), 1u);
    EXPECT_EQ(StandInInstallation::Value(install.Runs()[0], "playback-bytes"), "14");
    // It spoke Wayland, and never made a window a shell would show. libwayland writes an object
    // as wl_display@1 up to 1.22 and as wl_display#1 from 1.23 on.
    const std::string dump = install.root.Read("wayland-protocol.txt");
    EXPECT_TRUE(std::regex_search(dump, std::regex(R"(-> wl_display[@#]1\.get_registry\()")))
        << dump.substr(0, 1000);
    EXPECT_EQ(dump.find("get_toplevel"), std::string::npos) << "the utility showed a window";
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

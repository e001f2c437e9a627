// The movie window under X: full screen, plays a generated movie through GStreamer and closes at
// the end, on Escape or space, or on a click.
#include "player/untFMV.h"
#include "player/untVexaCustomWmpObj.h"
#include "player/untVexaObjectControls.h"
#include "support/FakeMediaControl.h"
#include "support/TempFolder.h"
#include "support/TestPictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const std::string kMedia = std::string(SCU_BINARY_DIR) + "/test-media/";

TfrmFMV* MovieWindow() {
    return dynamic_cast<TfrmFMV*>(QApplication::activeModalWidget());
}

// Runs `step` at the given time after the window opened (the timers live in the window's loop).
void At(int ms, std::function<void()> step) {
    QTimer::singleShot(ms, qApp, std::move(step));
}

// Runs `step` once `ready` holds, or after limitMs when it never does (a loaded machine is slow).
void When(std::function<bool()> ready, int limitMs, std::function<void()> step) {
    auto* poll = new QTimer(qApp); // deleted once the step has run, with the lambda it holds
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        if (!ready() && started->elapsed() < limitMs)
            return;
        poll->stop();
        poll->deleteLater();
        step();
    });
    poll->start(20);
}

TObjectState WindowStatus() {
    TfrmFMV* window = MovieWindow();
    return window ? window->VexaWMP->ObjectStatus() : tsNone;
}

class MovieWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.movePointer = [this](int x, int y) { pointer.emplace_back(x, y); };
        screen = QGuiApplication::primaryScreen()->geometry();
    }
    // Plays the movie; returns how long the window stayed.
    qint64 Play(const std::string& movie, bool controls) {
        QElapsedTimer clock;
        clock.start();
        MovieWindowOpen(kMedia + movie, controls, services);
        return clock.elapsed();
    }
    // Counts the movie's finishes on top of the window's own reaction.
    void CountFinishes() {
        At(300, [this] {
            TfrmFMV* window = MovieWindow();
            ASSERT_NE(window, nullptr);
            auto original = window->VexaWMP->OnFinished;
            window->VexaWMP->OnFinished = [this, original](TVexaMainObj* sender,
                                                           const std::string& code) {
                ++finishes;
                original(sender, code);
            };
        });
    }

    MovieServices services;
    std::vector<std::pair<int, int>> pointer;
    QRect screen;
    int finishes = 0;
};

TEST_F(MovieWindowTest, CoversTheScreenPlaysToTheEndAndClosesByItself) {
    QRect covered;
    TObjectState status = tsNone;
    bool barShown = true;
    Qt::CursorShape pointerShape = Qt::ArrowCursor;
    CountFinishes();
    When([] { return WindowStatus() == tsPlaying; }, 5000,
         [&] {
             TfrmFMV* window = MovieWindow();
             ASSERT_NE(window, nullptr);
             covered = window->geometry();
             status = window->VexaWMP->ObjectStatus();
             barShown = window->VexaWMP->Controls() != nullptr;
             pointerShape = window->VexaWMP->Control()->View()->cursor().shape();
             SavePictureIfAsked(window, QStringLiteral("movie-window"));
         });
    const qint64 stayed = Play("movie.mpg", false);
    EXPECT_EQ(covered, screen);
    EXPECT_EQ(status, tsPlaying);
    EXPECT_EQ(pointerShape, Qt::BlankCursor);
    EXPECT_FALSE(barShown);
    EXPECT_EQ(finishes, 1);
    EXPECT_GT(stayed, 2000); // the whole 3-second movie
    EXPECT_LT(stayed, 10000);
    EXPECT_EQ(pointer,
              (std::vector<std::pair<int, int>>{{screen.width(), screen.height()},
                                                {screen.width() / 2, screen.height() / 2}}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A compositor may never activate the window (GNOME refuses windows without a token): the movie
// starts once the window is shown, and ends the window by itself.
TEST_F(MovieWindowTest, PlaysWithoutEverBeingActivated) {
    struct NoActivation : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override {
            return event->type() == QEvent::WindowActivate &&
                   watched->objectName() == QLatin1String("frmFMV");
        }
    } noActivation;
    qApp->installEventFilter(&noActivation);
    QTimer giveUp; // a window that never starts the movie fails the test instead of hanging it
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] {
        if (MovieWindow())
            MovieWindow()->close();
    });
    giveUp.start(12000);
    CountFinishes();
    const qint64 stayed = Play("movie.mpg", false);
    qApp->removeEventFilter(&noActivation);
    EXPECT_EQ(finishes, 1);
    EXPECT_LT(stayed, 10000);
}

TEST_F(MovieWindowTest, EscapeClosesAtOnceButOtherKeysDoNot) {
    bool openAfterOtherKeys = false;
    At(600, [&] {
        QTest::keyClick(MovieWindow(), Qt::Key_Return);
        QTest::keyClick(MovieWindow(), Qt::Key_A);
    });
    At(900, [&] {
        openAfterOtherKeys = MovieWindow() != nullptr;
        QTest::keyClick(MovieWindow(), Qt::Key_Escape);
    });
    const qint64 stayed = Play("long.mpg", false);
    EXPECT_TRUE(openAfterOtherKeys);
    EXPECT_LT(stayed, 3000); // the movie lasts 10 seconds
    EXPECT_EQ(pointer.back(), std::make_pair(screen.width() / 2, screen.height() / 2));
}

TEST_F(MovieWindowTest, SpaceAndAClickOnTheMovieClose) {
    At(600, [&] { QTest::keyClick(MovieWindow(), Qt::Key_Space); });
    EXPECT_LT(Play("long.mpg", false), 3000);
    At(600, [&] { QTest::mouseClick(MovieWindow()->VexaWMP->Control()->View(), Qt::LeftButton); });
    EXPECT_LT(Play("long.mpg", false), 3000);
}

TEST_F(MovieWindowTest, ControlsBarShowsStatusDurationAndAMovingPosition) {
    QRect bar;
    std::string status, duration, firstPosition, laterPosition;
    // The bar follows the object at its next poll after the movie plays.
    When([] { return WindowStatus() == tsPlaying; }, 5000,
         [&] {
             At(300, [&] {
                 TVexaObjectControls* controls = MovieWindow()->VexaWMP->Controls();
                 ASSERT_NE(controls, nullptr);
                 bar = controls->geometry();
                 status = controls->StatusLabel()->text().toStdString();
                 duration = controls->DurationLabel()->text().toStdString();
                 firstPosition = controls->PositionLabel()->text().toStdString();
             });
             At(900, [&] {
                 TVexaObjectControls* controls = MovieWindow()->VexaWMP->Controls();
                 laterPosition = controls->PositionLabel()->text().toStdString();
                 SavePictureIfAsked(MovieWindow(), QStringLiteral("movie-window-controls"));
                 QTest::keyClick(MovieWindow(), Qt::Key_Escape);
             });
         });
    Play("long.mpg", true);
    EXPECT_EQ(bar, QRect(0, screen.height() - 57, screen.width(), 57));
    EXPECT_EQ(status, "Playing");
    EXPECT_TRUE(duration == "249 frames" || duration == "250 frames") << duration;
    EXPECT_NE(firstPosition, laterPosition);
    EXPECT_NE(laterPosition.find(" frames"), std::string::npos);
}

// Not a movie, an empty file, and a FIFO (whose opening would block for ever): the error state
// comes at once, the window stays responsive and Escape closes it.
TEST_F(MovieWindowTest, AMovieThatCannotBePlayedWaitsForTheUser) {
    TempFolder folder;
    const std::string fifo = folder / "intro.mpg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    folder.Write("empty.mpg", "");
    for (const std::string& movie : {kMedia + "notamovie.mpg", folder / "empty.mpg", fifo}) {
        std::string status;
        When([] { return WindowStatus() == tsError; }, 5000,
             [&] {
                 status = ObjectStateName(WindowStatus());
                 QTest::keyClick(MovieWindow(), Qt::Key_Escape);
             });
        QElapsedTimer clock;
        clock.start();
        MovieWindowOpen(movie, false, services);
        EXPECT_EQ(status, "tsError") << movie;
        EXPECT_LT(clock.elapsed(), 5000) << movie;
    }
}

// Missing GStreamer elements: the error state, and a message box naming what to install.
TEST_F(MovieWindowTest, MissingPlaybackPartsAreNamedInAMessageBox) {
    struct LackingControl : FakeMediaControl {
        void Open(const std::string&) override {
            error = "Missing GStreamer elements: mpegpsdemux";
            QMetaObject::invokeMethod(
                qApp, [this] { ErrorOccurred(); }, Qt::QueuedConnection);
        }
        std::string MissingPartsAdvice() const override { return "Install gstreamer1.0-bad."; }
    };
    services.mediaControls = [] { return std::make_unique<LackingControl>(); };
    std::vector<std::string> boxes;
    SetComponentErrorHandler([&](const std::string& text) { boxes.push_back(text); });
    std::string status;
    When([] { return WindowStatus() == tsError; }, 5000,
         [&] {
             status = ObjectStateName(WindowStatus());
             QTest::keyClick(MovieWindow(), Qt::Key_Escape);
         });
    Play("movie.mpg", false);
    SetComponentErrorHandler(nullptr);
    EXPECT_EQ(status, "tsError");
    EXPECT_EQ(boxes, std::vector<std::string>{"Install gstreamer1.0-bad."});
}

TEST_F(MovieWindowTest, NoPlaybackFacilityFailsBeforeTheWindowOpens) {
    services.mediaControls = [] { return std::unique_ptr<MediaControl>(); };
    try {
        Play("movie.mpg", false);
        FAIL() << "no error";
    } catch (const VexaError& e) {
        EXPECT_STREQ(e.what(), "Fatal Error: Could not create WMP interface");
    }
    EXPECT_EQ(pointer, (std::vector<std::pair<int, int>>{{screen.width(), screen.height()}}));
}

} // namespace

int main(int argc, char** argv) {
    // The components' trace goes to a folder of the test's own.
    TempFolder traceFolder;
    setenv("TMPDIR", traceFolder.Path().c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

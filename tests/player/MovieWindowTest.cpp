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

namespace {

const std::string kMedia = std::string(SCU_BINARY_DIR) + "/test-media/";

TfrmFMV* MovieWindow() {
    return dynamic_cast<TfrmFMV*>(QApplication::activeModalWidget());
}

// Runs `step` at the given time after the window opened (the timers live in the window's loop).
void At(int ms, std::function<void()> step) {
    QTimer::singleShot(ms, qApp, std::move(step));
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
    CountFinishes();
    At(800, [&] {
        TfrmFMV* window = MovieWindow();
        ASSERT_NE(window, nullptr);
        covered = window->geometry();
        status = window->VexaWMP->ObjectStatus();
        barShown = window->VexaWMP->Controls() != nullptr;
        SavePictureIfAsked(window, QStringLiteral("movie-window"));
    });
    const qint64 stayed = Play("movie.mpg", false);
    EXPECT_EQ(covered, screen);
    EXPECT_EQ(status, tsPlaying);
    EXPECT_FALSE(barShown);
    EXPECT_EQ(finishes, 1);
    EXPECT_GT(stayed, 2000); // the whole 3-second movie
    EXPECT_LT(stayed, 10000);
    EXPECT_EQ(pointer,
              (std::vector<std::pair<int, int>>{{screen.width(), screen.height()},
                                                {screen.width() / 2, screen.height() / 2}}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
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
    At(800, [&] {
        TVexaObjectControls* controls = MovieWindow()->VexaWMP->Controls();
        ASSERT_NE(controls, nullptr);
        bar = controls->geometry();
        status = controls->StatusLabel()->text().toStdString();
        duration = controls->DurationLabel()->text().toStdString();
        firstPosition = controls->PositionLabel()->text().toStdString();
    });
    At(1400, [&] {
        TVexaObjectControls* controls = MovieWindow()->VexaWMP->Controls();
        laterPosition = controls->PositionLabel()->text().toStdString();
        SavePictureIfAsked(MovieWindow(), QStringLiteral("movie-window-controls"));
        QTest::keyClick(MovieWindow(), Qt::Key_Escape);
    });
    Play("long.mpg", true);
    EXPECT_EQ(bar, QRect(0, screen.height() - 57, screen.width(), 57));
    EXPECT_EQ(status, "Playing");
    EXPECT_TRUE(duration == "249 frames" || duration == "250 frames") << duration;
    EXPECT_NE(firstPosition, laterPosition);
    EXPECT_NE(laterPosition.find(" frames"), std::string::npos);
}

TEST_F(MovieWindowTest, AMovieThatCannotBePlayedWaitsForTheUser) {
    std::string status;
    At(800, [&] {
        status = ObjectStateName(MovieWindow()->VexaWMP->ObjectStatus());
        QTest::keyClick(MovieWindow(), Qt::Key_Escape);
    });
    Play("notamovie.mpg", false);
    EXPECT_EQ(status, "tsError");
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

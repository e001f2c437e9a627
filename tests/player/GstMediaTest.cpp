// Real playback through GStreamer, headless: generated MPEG-1 movies from the build folder.
#include "platform/QtPauses.h"
#include "player/GstMediaControl.h"
#include "player/GstVideoView.h"
#include "player/untVexaCustomWmpObj.h"
#include "player/untVexaObjectControls.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const std::string kMedia = std::string(SCU_BINARY_DIR) + "/test-media/";

// Runs the event loop until the condition holds or the limit passes.
bool RunUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class GstMediaTest : public ::testing::Test {
protected:
    void SetUp() override {
        obj = std::make_unique<TVexaCustomWmpObj>(nullptr, pauses, GstMediaControlFactory());
        obj->resize(320, 240);
        obj->SetAutoPlay(false);
        obj->OnFinished = [this](TVexaMainObj*, const std::string& code) {
            finishes.push_back(code);
        };
        obj->OnError = [this](TVexaMainObj*) { ++errors; };
    }
    QtPauses pauses;
    std::unique_ptr<TVexaCustomWmpObj> obj;
    std::vector<std::string> finishes;
    int errors = 0;
};

TEST_F(GstMediaTest, PlaysAMovieToTheEndAndFinishesOnce) {
    obj->SetFileName(kMedia + "movie.mpg");
    obj->SetRate(2000); // twice the speed keeps the test short
    obj->LoadObject();
    ASSERT_EQ(obj->ObjectStatus(), tsLoaded) << obj->Control()->ErrorDescription();
    obj->TimerTick();
    EXPECT_NEAR(obj->Duration(), 75, 2); // frames
    obj->SetObjectFormat(tuMilliseconds);
    EXPECT_NEAR(obj->Duration(), 3000, 80);
    obj->SetObjectFormat(tuFrames);

    int highest = 0;
    obj->OnTimer = [&](TVexaMainObj*) { highest = std::max(highest, obj->Position()); };
    obj->Play();
    EXPECT_EQ(obj->ObjectStatus(), tsPlaying);
    ASSERT_TRUE(RunUntil([&] { return !finishes.empty(); }, 10000)) << "no end of play";
    EXPECT_GT(highest, 20); // the position moved while playing
    EXPECT_EQ(obj->ObjectStatus(), tsStopped);
    RunUntil([] { return false; }, 400); // no second finish follows
    EXPECT_EQ(finishes, std::vector<std::string>{"NEXT"});
    EXPECT_EQ(errors, 0);
    // The picture of the movie reached the view.
    auto* view = static_cast<GstVideoView*>(obj->Control()->View());
    EXPECT_EQ(view->Frame().size(), QSize(320, 240));
}

TEST_F(GstMediaTest, ASecondPassRestartsFromTheBeginning) {
    obj->SetFileName(kMedia + "movie.mpg");
    obj->SetRate(2000);
    obj->SetPlayCount(2);
    obj->LoadObject();
    ASSERT_EQ(obj->ObjectStatus(), tsLoaded);
    bool wrapped = false;
    int last = 0;
    obj->OnTimer = [&](TVexaMainObj*) {
        wrapped = wrapped || obj->Position() + 20 < last;
        last = obj->Position();
    };
    obj->Play();
    ASSERT_TRUE(RunUntil([&] { return !finishes.empty(); }, 15000)) << "no end of play";
    EXPECT_TRUE(wrapped); // the position went back to the start for the second pass
    EXPECT_EQ(finishes.size(), 1u);
}

TEST_F(GstMediaTest, ATextFileIsReportedAsAnError) {
    std::string description;
    obj->OnError = [&](TVexaMainObj*) {
        ++errors;
        description = obj->Control()->ErrorDescription();
    };
    obj->SetFileName(kMedia + "notamovie.mpg");
    obj->LoadObject();
    EXPECT_EQ(obj->ObjectStatus(), tsError);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(description, "Could not determine type of stream.");
    obj->Play();
    EXPECT_EQ(obj->ObjectStatus(), tsError);
}

TEST_F(GstMediaTest, AMissingFileIsReportedAsAnError) {
    obj->SetFileName(kMedia + "missing.mpg");
    obj->LoadObject();
    EXPECT_EQ(obj->ObjectStatus(), tsError);
    EXPECT_EQ(obj->Control()->ErrorDescription(), "Resource not found.");
}

TEST_F(GstMediaTest, SeekingMovesThePositionAndTheMovieCanBeOpenedAgain) {
    obj->SetFileName(kMedia + "long.mpg");
    obj->LoadObject();
    ASSERT_EQ(obj->ObjectStatus(), tsLoaded);
    obj->SetObjectFormat(tuSeconds);
    obj->SeekTo(6);
    RunUntil([&] { return obj->Control()->CurrentPosition() > 5.5; }, 3000);
    obj->TimerTick();
    EXPECT_EQ(obj->Position(), 6);
    obj->LoadObject(); // activation opens the movie again from the start
    ASSERT_EQ(obj->ObjectStatus(), tsLoaded);
    obj->TimerTick();
    EXPECT_EQ(obj->Position(), 0);
    EXPECT_NEAR(obj->Duration(), 10, 1);
}

// The control reports its seeks queued: Stop's seek back to the start arrives after Stop, and
// neither it nor the fast forward's seek may count as the end of a pass.
TEST_F(GstMediaTest, TheBarsButtonsDriveThePlayWithoutEndingIt) {
    obj->SetShowControls(true);
    obj->show();
    obj->SetFileName(kMedia + "long.mpg");
    obj->LoadObject();
    ASSERT_EQ(obj->ObjectStatus(), tsLoaded);
    TVexaObjectControls* bar = obj->Controls();
    const std::pair<BarButton, TObjectState> presses[] = {{bbPlay, tsPlaying},
                                                          {bbPause, tsPaused},
                                                          {bbStop, tsStopped},
                                                          {bbPlay, tsPlaying},
                                                          {bbFastForward, tsPlaying}};
    for (const auto& [button, status] : presses) {
        obj->TimerTick(); // the bar follows the object and enables its buttons
        ASSERT_TRUE(bar->Button(button)->isEnabled()) << button;
        QTest::mouseClick(bar->Button(button), Qt::LeftButton);
        QApplication::processEvents(); // the control's reports of that press
        obj->TimerTick();
        EXPECT_EQ(obj->ObjectStatus(), status) << "after button " << button;
    }
    EXPECT_TRUE(finishes.empty());
    EXPECT_EQ(obj->PassCount(), 0);
    EXPECT_EQ(errors, 0);
}

// Frames arrive at the movie's own size and the paint scales them to their place in the view.
TEST_F(GstMediaTest, FramesArriveAtTheMoviesSizeAndArePaintedToTheirPlace) {
    obj->resize(640, 480);
    obj->show();
    obj->SetFileName(kMedia + "long.mpg");
    obj->LoadObject();
    ASSERT_EQ(obj->ObjectStatus(), tsLoaded);
    auto* view = static_cast<GstVideoView*>(obj->Control()->View());
    EXPECT_TRUE(RunUntil([&] { return view->Frame().size() == QSize(320, 240); }, 5000))
        << "frame " << view->Frame().width() << "x" << view->Frame().height();
    obj->resize(400, 200);
    ASSERT_EQ(view->size(), QSize(400, 200));
    const QRect place = view->TargetRect(QSize(320, 240));
    EXPECT_EQ(place, QRect(67, 0, 266, 200));
    const QImage shown = view->grab().toImage();
    // The test card's top-left bar is light grey; left and right of it the letterbox is black.
    EXPECT_GT(qGray(shown.pixel(place.left() + 10, 20)), 150);
    EXPECT_EQ(shown.pixel(place.left() - 5, 20), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(place.right() + 5, 20), qRgb(0, 0, 0));
    obj->Stop();
}

// A message answers the request whose token it carries: the error of a file given up for another
// before its message arrived is stale and never reaches the movie opened after it.
TEST(GstMediaControlTest, AMessageAboutAnEarlierOpenIsDropped) {
    const std::unique_ptr<MediaControl> control = GstMediaControlFactory()();
    ASSERT_NE(control, nullptr);
    int errors = 0;
    control->ErrorOccurred = [&] { ++errors; };
    control->Open(kMedia + "notamovie.mpg");
    // The first file's error is posted while the event loop does not run, so it arrives late.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    control->Open(kMedia + "movie.mpg");
    EXPECT_TRUE(RunUntil([&] { return control->OpenState() != 0; }, 5000));
    RunUntil([] { return false; }, 200);
    EXPECT_EQ(errors, 0) << control->ErrorDescription();
    EXPECT_EQ(control->OpenState(), 1);
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

#include "player/PlayerRules.h"
#include "player/MovieElements.h"
#include "player/SliderMath.h"
#include "player/TraceFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(PlayerRules, RoundsHalvesToTheEvenNeighbour) {
    const std::pair<double, long long> cases[] = {{0.5, 0},    {1.5, 2},    {2.5, 2},  {3.5, 4},
                                                  {2.4999, 2}, {2.5001, 3}, {-0.5, 0}, {-1.5, -2},
                                                  {-2.5, -2},  {7.0, 7}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(PlayerRules, FormatsTimeAsHoursMinutesSeconds) {
    EXPECT_EQ(FormatTime(3725), "1:02:05");
    EXPECT_EQ(FormatTime(0), "0:00:00");
    EXPECT_EQ(FormatTime(59), "0:00:59");
    EXPECT_EQ(FormatTime(3600 * 27 + 61), "27:01:01");
}

TEST(PlayerRules, TimeTextFollowsTheUnit) {
    EXPECT_EQ(TimeText(250, tuFrames), "250 frames");
    EXPECT_EQ(TimeText(40, tuMilliseconds), "40 ms");
    EXPECT_EQ(TimeText(3, tuSeconds), "3 seconds");
    EXPECT_EQ(TimeText(3725, tuTime), "1:02:05");
}

TEST(PlayerRules, StatusTextsAndTheButtonsTheyEnable) {
    using S = BarButtonStates;
    struct Case {
        TObjectState state;
        const char* text;
        std::optional<S> buttons; // play, pause, stop, rewind, fast forward
    } cases[] = {
        {tsPaused, "Paused", S{true, false, true, true, true}},
        {tsStopped, "Stopped", S{true, false, false, true, true}},
        {tsPlaying, "Playing", S{false, true, true, true, true}},
        {tsLoaded, "Opened", S{true, false, false, true, true}},
        {tsLoading, "Opening...", S{false, false, false, false, false}},
        {tsError, "Error", S{false, false, false, false, false}},
        {tsNone, "", S{false, false, false, false, false}},
        {tsStopping, "Stopping...", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StatusText(c.state), c.text);
        EXPECT_EQ(ButtonStatesFor(c.text), c.buttons) << c.text;
    }
    EXPECT_EQ(ButtonStatesFor("Showing"), (S{false, false, false, false, false}));
}

TEST(PlayerRules, MarkersRescaleToANewUnitAndSurviveAZeroDuration) {
    EXPECT_EQ(RescaleMarker(10, 10000, 10), 10000);
    EXPECT_EQ(RescaleMarker(7, 3, 10), 2); // truncated
    EXPECT_EQ(RescaleMarker(7, 3, 0), 7);  // kept rather than divided by zero
}

TEST(SliderMath, ThumbPositionRoundsHalfToEven) {
    const SliderRange range{0, 4, 1, true};
    // L = 10: v x 2.5 + 6
    EXPECT_EQ(ThumbPosition(0, range, 10), 6);
    EXPECT_EQ(ThumbPosition(1, range, 10), 8);  // 2.5 -> 2
    EXPECT_EQ(ThumbPosition(3, range, 10), 14); // 7.5 -> 8
    EXPECT_EQ(ThumbPosition(4, range, 10), 16);
    const SliderRange offset{10, 20, 1, true};
    EXPECT_EQ(ThumbPosition(15, offset, 100), 56);
    EXPECT_EQ(ThumbPosition(0, {0, INT_MAX, 10, true}, 100), 6); // no overflow on the default range
}

TEST(SliderMath, ValueAtThumbRoundsAndSnapsUnlessSmooth) {
    const SliderRange smooth{0, 100, 10, true};
    const SliderRange stepped{0, 100, 10, false};
    EXPECT_EQ(ValueAtThumb(6, smooth, 200), 0);
    EXPECT_EQ(ValueAtThumb(6 + 37, smooth, 200), 18); // 18.5 -> 18
    EXPECT_EQ(ValueAtThumb(6 + 39, smooth, 200), 20); // 19.5 -> 20
    EXPECT_EQ(ValueAtThumb(6 + 39, stepped, 200), 20);
    EXPECT_EQ(ValueAtThumb(6 + 37, stepped, 200), 10); // 18 cut down to 10
    EXPECT_EQ(ValueAtThumb(206, smooth, 200), 100);
    EXPECT_EQ(ValueAtThumb(56, {50, 150, 1, true}, 100), 100); // MinValue added
    EXPECT_EQ(ValueAtThumb(50, smooth, 0), 0);                 // no track: no division by zero
}

TEST(SliderMath, DraggedThumbStaysOnTheTrackAndSnaps) {
    const SliderRange smooth{0, 100, 10, true};
    EXPECT_EQ(DraggedThumbPosition(3, 5, smooth, 200), 6);
    EXPECT_EQ(DraggedThumbPosition(500, 5, smooth, 200), 206);
    EXPECT_EQ(DraggedThumbPosition(50, 5, smooth, 200), 45);
    const SliderRange stepped{0, 100, 10, false};
    EXPECT_EQ(DraggedThumbPosition(40, 5, stepped, 200), 26); // value 14.5 -> 14 -> 10 -> pixel 26
    EXPECT_EQ(DraggedThumbPosition(50, 5, stepped, 200), 46); // value 19.5 -> 20 -> pixel 46
}

TEST(SliderMath, StepsMoveToTheNextMultipleOfTheIncrement) {
    EXPECT_EQ(StepUp(25, 10), 30);
    EXPECT_EQ(StepDown(25, 10), 10);
    EXPECT_EQ(StepUp(30, 10), 40);
    EXPECT_EQ(StepDown(30, 10), 20);
    EXPECT_EQ(StepUp(INT_MAX, 10), INT_MAX); // saturates instead of wrapping
    EXPECT_EQ(ClampValue(-5, {0, 10, 1, true}), 0);
    EXPECT_EQ(ClampValue(15, {0, 10, 1, true}), 10);
}

TEST(SliderMath, TickStepKeepsTicksThreePixelsApart) {
    EXPECT_EQ(TickStep({0, 100, 10, true}, 200), 10); // 20 px apart
    EXPECT_EQ(TickStep({0, 100, 1, true}, 100), 3);   // 1 and 2 would be closer than 3 px
    EXPECT_EQ(TickStep({0, 5, 10, true}, 100), 5);    // a single step: the whole range
}

TEST(SliderMath, RulerIsBuiltFromEdgesAndARepeatedMiddle) {
    // Image 20 wide, edges 2: first piece 0..17, middle 2..17 repeated, right edge 18..19 last.
    const auto pieces = RulerPieces(50, 20, 2);
    ASSERT_GE(pieces.size(), 3u);
    EXPECT_EQ(pieces.front().source, 0);
    EXPECT_EQ(pieces.front().width, 18);
    EXPECT_EQ(pieces.back().source, 18);
    EXPECT_EQ(pieces.back().width, 2);
    EXPECT_EQ(pieces.back().target, 48);
    int covered = 0; // the pieces tile the picture without gaps
    for (const auto& piece : pieces) {
        EXPECT_EQ(piece.target, covered);
        covered += piece.width;
    }
    EXPECT_EQ(covered, 50);
    for (size_t i = 1; i + 1 < pieces.size(); ++i)
        EXPECT_EQ(pieces[i].source, 2);
    // Narrower than the image: only the first piece.
    const auto narrow = RulerPieces(10, 20, 2);
    ASSERT_EQ(narrow.size(), 1u);
    EXPECT_EQ(narrow[0].width, 10);
    EXPECT_TRUE(RulerPieces(0, 20, 2).empty());
    EXPECT_EQ(RulerWidth(140), 128);
    EXPECT_EQ(RulerWidth(5), 0);
}

class TraceFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        saved_ = old ? old : "";
        hadOld_ = old != nullptr;
        setenv("TMPDIR", folder.Path().c_str(), 1);
    }
    void TearDown() override {
        if (hadOld_)
            setenv("TMPDIR", saved_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    TempFolder folder;
    std::string saved_;
    bool hadOld_ = false;
};

TEST_F(TraceFileTest, AppendsOneLinePerMessageToAPrivateFile) {
    EXPECT_EQ(TraceFilePath(), folder.Path() + "/player_rules_tests.txt");
    TraceMessage("TVexaCustomWmpObj", "C:\\m.mpg", "Play called");
    TraceMessage("TVexaCustomWmpObj", "", "Stop called");
    const std::string text = folder.Read("player_rules_tests.txt");
    EXPECT_NE(text.find(" - TVexaCustomWmpObj (C:\\m.mpg) > Play called\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find(" - TVexaCustomWmpObj () > Stop called\n"), std::string::npos);
    EXPECT_LT(text.find("Play called"), text.find("Stop called"));
    const auto perms = std::filesystem::status(folder / "player_rules_tests.txt").permissions();
    EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
}

TEST_F(TraceFileTest, NeverWritesThroughASymbolicLink) {
    folder.Write("victim.txt", "untouched");
    std::filesystem::create_symlink(folder / "victim.txt", folder / "player_rules_tests.txt");
    TraceMessage("TVexaMainObj", "", "LoadObject called");
    EXPECT_EQ(folder.Read("victim.txt"), "untouched");
}

// A hard link under the trace name to another file of the user's (such as ".bashrc") would
// take the lines; a file with more than one name is refused.
TEST_F(TraceFileTest, NeverWritesThroughAHardLink) {
    folder.Write("bashrc", "untouched\n");
    std::filesystem::create_hard_link(folder / "bashrc", folder / "player_rules_tests.txt");
    TraceMessage("TVexaMainObj", "", "LoadObject called");
    EXPECT_EQ(folder.Read("bashrc"), "untouched\n");
}

TEST_F(TraceFileTest, WritesOnlyIntoARegularFileOfTheUsersOwn) {
    // A FIFO under the trace name: with a reader the open succeeds at once, and nothing may
    // reach the reader; without one the open must not block.
    const std::string fifo = folder / "player_rules_tests.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    TraceMessage("TVexaMainObj", "", "Play called");
    char buffer[64];
    EXPECT_LE(::read(reader, buffer, sizeof buffer), 0) << "a line went into the FIFO";
    ::close(reader);
    TraceMessage("TVexaMainObj", "", "Play called"); // no reader: returns
    std::filesystem::remove(fifo);

    // Someone else's file (only root can hand a file to another user) keeps its content.
    folder.Write("player_rules_tests.txt", "theirs\n");
    if (::chown(fifo.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "cannot give a file to another user here";
    TraceMessage("TVexaMainObj", "", "Play called");
    EXPECT_EQ(folder.Read("player_rules_tests.txt"), "theirs\n");
}

TEST(PassRanOutTest, EndsAPassPastTheLengthByPositionOrClockOrWhenThePositionStandsStill) {
    const double late = kLatePassSeconds, still = kStalledPassSeconds;
    struct Case {
        double position, clock, duration, stalled;
        bool ended;
    } const cases[] = {
        {2.0, 2.0, 3.0, 0.0, false}, // playing
        {3.0, 3.1, 3.0, 0.5, false}, // at the last frame's end: the stream's own end comes
        {3.2, 3.2, 3.0, 0.0, true},  // damaged timing runs on
        {1.0, 3.0 + late - 0.1, 3.0, 0.0, false}, // decoding behind, still within the bound
        {1.0, 3.0 + late + 0.1, 3.0, 0.0, true},  // ... and past it
        {50.0, 50.0, 0.0, 0.0, false},            // no length reported: only a stall ends it
        {1.0, 1.0, 3.0, still - 0.1, false},
        {1.0, 1.0, 3.0, still, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassRanOut(c.position, c.clock, c.duration, c.stalled), c.ended)
            << c.position << " (clock " << c.clock << ") of " << c.duration << ", still for "
            << c.stalled;
}

TEST(MovieElementsTest, NamesWhatIsMissingAndThePackageOfTheFirstAlternative) {
    const auto only = [](std::set<std::string> present) {
        return FindMissingMovieElements(
            [present](const std::string& name) { return present.count(name) > 0; });
    };
    const MissingMovieElements complete =
        only({"playbin", "appsink", "videoconvert", "mpegpsdemux", "mpegvideoparse", "mpeg2dec",
              "mpegaudioparse", "avdec_mp2float"});
    EXPECT_TRUE(complete.Empty()) << complete.Description();

    const MissingMovieElements bare =
        only({"playbin", "appsink", "videoconvert", "mpegaudioparse", "mpg123audiodec"});
    EXPECT_EQ(bare.Description(), "Missing GStreamer elements: mpegpsdemux, mpegvideoparse, "
                                  "avdec_mpeg2video or mpeg2dec");
    EXPECT_EQ(bare.packages,
              (std::vector<std::string>{"gstreamer1.0-plugins-bad", "gstreamer1.0-libav"}));
    EXPECT_NE(bare.Advice().find("Install the packages gstreamer1.0-plugins-bad, "
                                 "gstreamer1.0-libav."),
              std::string::npos)
        << bare.Advice();
}

} // namespace

#include "player/TraceFile.h"
#include "player/untVexaObjects.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// A time-based object whose duration and seeks the test controls.
class TestDynamicObj : public TVexaCustomDynamicObj {
public:
    TestDynamicObj() : TVexaCustomDynamicObj(nullptr, "TestDynamicObj") {
        Timer()->SetEnabled(false);
    }
    void SetDuration(int d) { StoreDuration(d); }
    void SeekTo(int position) override {
        seeks.push_back(position);
        seekFlags.push_back(SeekInProgress);
        TVexaCustomDynamicObj::SeekTo(position);
    }
    void FinishPlay() override {
        ++finished;
        TVexaCustomDynamicObj::FinishPlay();
    }
    std::vector<int> seeks;
    std::vector<bool> seekFlags;
    int finished = 0;
};

std::string Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const VexaError& e) {
        return e.what();
    }
    return "(nothing raised)";
}

std::string ReadTrace() {
    std::ifstream in(TraceFilePath());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(VexaObjects, NewDynamicObjectHasItsDefaults) {
    TestDynamicObj o;
    EXPECT_EQ(o.Parameters(),
              "Play Count=1|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Frames|");
    EXPECT_EQ(o.ObjectStatus(), tsNone);
    EXPECT_EQ(o.ExitCode(), "NEXT");
    EXPECT_TRUE(o.AutoPlay());
    EXPECT_FALSE(o.ObjectEnabled());
    EXPECT_FALSE(o.EnableWarnings());
    EXPECT_EQ(o.Timer()->Interval(), 50u);
    EXPECT_EQ(o.Timer()->objectName().toStdString(), "VexaTimer");
    // Assigning False to a new object changes nothing, so the panel stays enabled.
    o.SetObjectEnabled(false);
    EXPECT_TRUE(o.isEnabled());
    o.SetObjectEnabled(true);
    o.SetObjectEnabled(false);
    EXPECT_FALSE(o.isEnabled());
}

TEST(VexaObjects, RejectedMarkersAndPlayCountsKeepTheOldValueAndNameItWithWarningsOn) {
    struct Case {
        const char* what;
        std::function<void(TestDynamicObj&)> prepare;
        std::function<void(TestDynamicObj&)> set;
        std::function<int(TestDynamicObj&)> get;
        int kept;
        const char* message;
    } cases[] = {
        {"start below zero", [](auto&) {}, [](auto& o) { o.SetStartMarker(-1); },
         [](auto& o) { return o.StartMarker(); }, 0,
         "Start Marker must be a number higher or equal zero\rCurrent value is -1\rResetting to "
         "previous value 0"},
        {"start above end", [](auto& o) { o.SetEndMarker(20); },
         [](auto& o) { o.SetStartMarker(21); }, [](auto& o) { return o.StartMarker(); }, 0,
         "Start Marker must be a number lower or equal End Marker\rCurrent value is 21\rResetting "
         "to previous value 0"},
        {"end below start", [](auto& o) { o.SetEndMarker(20), o.SetStartMarker(10); },
         [](auto& o) { o.SetEndMarker(9); }, [](auto& o) { return o.EndMarker(); }, 20,
         "End Marker must be a number higher or equal Start Marker\rCurrent value is 9\rResetting "
         "to previous value 20"},
        {"play count below zero", [](auto&) {}, [](auto& o) { o.SetPlayCount(-2); },
         [](auto& o) { return o.PlayCount(); }, 1,
         "Play Count must be a number higher or equal zero\rCurrent value is -2\rResetting to "
         "previous value 1"},
    };
    for (const Case& c : cases) {
        TestDynamicObj quiet;
        c.prepare(quiet);
        c.set(quiet); // warnings off: silently ignored
        EXPECT_EQ(c.get(quiet), c.kept) << c.what;

        TestDynamicObj loud;
        c.prepare(loud);
        loud.SetEnableWarnings(true);
        EXPECT_EQ(Raised([&] { c.set(loud); }), c.message) << c.what;
        EXPECT_EQ(c.get(loud), c.kept) << c.what;
    }
    TestDynamicObj same;
    same.SetEnableWarnings(true);
    EXPECT_EQ(Raised([&] { same.SetStartMarker(0); }),
              "(nothing raised)"); // equal: ignored silently
}

TEST(VexaObjects, PlayCountAndRepeatForeverFollowEachOther) {
    TestDynamicObj o;
    o.SetPlayCount(0);
    EXPECT_TRUE(o.RepeatForever());
    o.SetRepeatForever(false);
    EXPECT_EQ(o.PlayCount(), 0);
    o.SetPlayCount(4);
    EXPECT_FALSE(o.RepeatForever());
    o.SetRepeatForever(true);
    EXPECT_EQ(o.PlayCount(), 0);
    EXPECT_NE(o.Parameters().find("Play Count=0|"), std::string::npos);
    EXPECT_NE(o.Parameters().find("Repeat Forever=Yes|"), std::string::npos);
}

TEST(VexaObjects, AssignedParametersAreReadAndWrittenBackNormalised) {
    struct Case {
        const char* assigned;
        const char* normalised;
    } cases[] = {
        {"play count=3|object format=time|",
         "Play Count=3|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Time|"},
        // Repeat Forever is set before Play Count, which then wins.
        {"Repeat Forever=Yes|Play Count=1|",
         "Play Count=1|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Frames|"},
        {"Play Count=0|",
         "Play Count=0|Start Marker=0|End Marker=0|Repeat Forever=Yes|Object Format=Frames|"},
        // End marker first when it is non-zero, so a start above the old end is accepted.
        {"Start Marker=10|End Marker=20|",
         "Play Count=1|Start Marker=10|End Marker=20|Repeat Forever=No|Object Format=Frames|"},
        {"Start Marker=30|End Marker=20|",
         "Play Count=1|Start Marker=0|End Marker=20|Repeat Forever=No|Object Format=Frames|"},
        {"Object Format=Hours|Play Count=x|",
         "Play Count=1|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Frames|"},
        {"Object Format=Seconds",
         "Play Count=1|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Frames|"},
    };
    for (const Case& c : cases) {
        TestDynamicObj o;
        o.SetParameters(c.assigned);
        EXPECT_EQ(o.Parameters(), c.normalised) << c.assigned;
    }
}

TEST(VexaObjects, PositionStoresWhileSeekToMoves) {
    TestDynamicObj o;
    o.SetPosition(40);
    EXPECT_TRUE(o.seeks.empty());
    o.SeekTo(12);
    EXPECT_EQ(o.Position(), 12);
}

TEST(VexaObjects, FastForwardAndRewindMoveByATenthWithinTheDuration) {
    TestDynamicObj o;
    o.SetFileName("*.mpg"); // a wildcard passes the file check without looking at the disk
    o.LoadObject();
    ASSERT_TRUE(o.FileFound());
    o.FastForward(); // duration 0: nothing
    EXPECT_TRUE(o.seeks.empty());
    o.SetDuration(100);
    o.SetPosition(50);
    o.FastForward();
    EXPECT_EQ(o.Position(), 60);
    o.SetPosition(95);
    o.FastForward();
    EXPECT_EQ(o.Position(), 100);
    o.SetPosition(5);
    o.Rewind();
    EXPECT_EQ(o.Position(), 0);
    EXPECT_EQ(o.seekFlags, (std::vector<bool>{true, true, true}));
}

TEST(VexaObjects, FileChecksRaiseOnlyWithWarningsOn) {
    TempFolder folder;
    TestDynamicObj o;
    o.LoadObject();
    EXPECT_FALSE(o.FileFound());
    o.SetEnableWarnings(true);
    EXPECT_EQ(Raised([&] { o.LoadObject(); }), "Filename not defined");
    o.SetFileName(folder / "missing.mpg");
    EXPECT_EQ(Raised([&] { o.LoadObject(); }), "File not found: " + (folder / "missing.mpg"));
    EXPECT_EQ(Raised([&] { o.Play(); }), "Object not ready");
    EXPECT_EQ(Raised([&] { o.Pause(); }), "Object not ready");
    EXPECT_EQ(Raised([&] { o.Stop(); }), "Object not ready");
    EXPECT_EQ(Raised([&] { o.FastForward(); }), "Object not ready");
    EXPECT_EQ(Raised([&] { o.UnLoadObject(); }), "Object not loaded");
    folder.Write("movie.mpg", "x");
    o.SetFileName(folder / "movie.mpg");
    EXPECT_EQ(Raised([&] { o.LoadObject(); }), "(nothing raised)");
    EXPECT_TRUE(o.FileFound());
    EXPECT_EQ(o.GetObjectInfo(), "No additional information is available");
}

TEST(VexaObjects, MarkerLoopSendsThePositionBackToTheStartMarker) {
    TestDynamicObj o;
    o.SetEndMarker(20);
    o.SetStartMarker(10);
    int timerEvents = 0;
    o.OnTimer = [&](TVexaMainObj*) { ++timerEvents; };
    o.SetPosition(15);
    o.TimerTick();
    EXPECT_TRUE(o.seeks.empty()); // inside the markers
    o.SetPosition(25);
    o.TimerTick();
    EXPECT_EQ(o.seeks, std::vector<int>{10});
    EXPECT_EQ(o.seekFlags, std::vector<bool>{false});
    EXPECT_EQ(o.MarkerPassCount(), 1);
    EXPECT_EQ(o.finished, 0);
    o.SetPosition(25);
    o.TimerTick(); // second pass beyond a play count of 1
    EXPECT_EQ(o.finished, 1);
    EXPECT_EQ(o.MarkerPassCount(), 0);
    EXPECT_EQ(timerEvents, 3);

    TestDynamicObj none; // no markers: no seeks
    none.SetPosition(25);
    none.TimerTick();
    EXPECT_TRUE(none.seeks.empty());
}

TEST(VexaObjects, TimerArmsOnlyWithIntervalEnabledAndHandler) {
    TVexaTimer timer;
    EXPECT_FALSE(timer.Armed()); // no handler yet
    timer.SetOnTimer([] {});
    EXPECT_TRUE(timer.Armed());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Armed());
    timer.SetInterval(20);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Armed());
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Armed());
}

TEST(VexaObjects, TraceRecordsLifeAndStatusChanges) {
    {
        TestDynamicObj o;
        o.SetFileName("trace-check.mpg");
        o.SetObjectStatus(tsLoading);
        o.SetObjectStatus(tsLoading); // no change, no line
        o.DoOnFinished(&o, "NEXT");
    }
    const std::string trace = ReadTrace();
    const auto created = trace.rfind("TestDynamicObj () > *** Object created ***");
    ASSERT_NE(created, std::string::npos) << trace;
    const std::string tail = trace.substr(created);
    EXPECT_NE(tail.find("TestDynamicObj (trace-check.mpg) > ObjectStatus changed (tsLoading)\n"),
              std::string::npos);
    EXPECT_EQ(tail.find("tsLoading", tail.find("tsLoading") + 1), std::string::npos);
    EXPECT_NE(tail.find("(trace-check.mpg) > Event [DoOnFinished: NEXT]"), std::string::npos);
    EXPECT_NE(tail.find("(trace-check.mpg) > *** Object destroyed ***"), std::string::npos);
}

} // namespace

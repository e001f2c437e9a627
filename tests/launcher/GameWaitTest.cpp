#include "launcher/GameWait.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

namespace {

// The polls and pauses of a wait in virtual time, with the times at which each window was
// looked for.
struct Wait {
    ServiceLog log;
    FakePauses pauses{&log};
    FakeWindowFinder windows{pauses, &log};

    std::vector<std::string> Run(bool settings, bool levelDialog) {
        WaitForGame(pauses, windows, settings, levelDialog);
        return log.lines;
    }
};

TEST(GameWait, WaitsForBothDialogsInTurnThenTheGame) {
    Wait wait;
    wait.windows.windows = {{"Settings", 0, 6500}, {"Load Level", 0, 12500}, {"ZELTA", 0, 16000}};
    EXPECT_EQ(wait.Run(true, true), (std::vector<std::string>{
                                        "pause 5000",
                                        "find Settings @5000 yes",
                                        "events",
                                        "pause 1000",
                                        "find Settings @6000 yes",
                                        "events",
                                        "pause 1000",
                                        "find Settings @7000 no",
                                        "pause 5000", // polling for "Load Level" begins 5 s later
                                        "find Load Level @12000 yes",
                                        "events",
                                        "pause 1000",
                                        "find Load Level @13000 no",
                                        "pause 3000", // and for the game 3 s after that
                                        "find ZELTA @16000 no",
                                    }));
}

TEST(GameWait, PollsOnlyForTheDialogsAskedFor) {
    struct Case {
        bool settings, levelDialog;
        std::vector<std::string> titles; // in the order they are looked for
        long ends;                       // virtual time at which the wait ends
    } cases[] = {
        {false, false, {"ZELTA"}, 7000},
        {true, false, {"Settings", "ZELTA"}, 12000},
        {false, true, {"Load Level", "ZELTA"}, 10000},
    };
    for (const Case& c : cases) {
        Wait wait;
        // Every window is still there at 5 s and gone at 7 s.
        wait.windows.windows = {{"Settings", 0, 7000}, {"Load Level", 0, 7000}, {"ZELTA", 0, 7000}};
        std::vector<std::string> looked;
        for (const std::string& line : wait.Run(c.settings, c.levelDialog))
            if (line.rfind("find ", 0) == 0) {
                const std::string title = line.substr(5, line.find(" @") - 5);
                if (looked.empty() || looked.back() != title)
                    looked.push_back(title);
            }
        EXPECT_EQ(looked, c.titles);
        EXPECT_EQ(wait.pauses.now, c.ends) << c.settings << c.levelDialog;
    }
}

TEST(GameWait, AGameWindowOpeningLateIsTakenAsTheEnd) {
    Wait wait;
    wait.windows.windows = {{"ZELTA", 9000, 20000}};
    wait.Run(false, false);
    EXPECT_EQ(wait.pauses.now, 5000);
}

TEST(GameWait, AnyWindowWithTheTitleKeepsTheWait) {
    Wait wait;
    wait.windows.windows = {{"ZELTA", 0, 6000}, {"ZELTA", 5500, 9500}};
    wait.Run(false, false);
    EXPECT_EQ(wait.pauses.now, 10000);
}

// A slow start (a prefix being updated, Proton's first start) keeps the wait going while the
// started program runs and no window of the game has appeared, up to 120 s after the start.
TEST(GameWait, ASlowStartIsWaitedForWhileTheProgramRuns) {
    struct Case {
        std::vector<FakeWindowFinder::Window> windows;
        int runsFor; // seconds after the start the program is reported running
        bool settings;
        long ends;
    } cases[] = {
        {{{"ZELTA", 20000, 30000}}, 1000, false, 30000}, // window at 20 s: its end counts
        {{{"Settings", 21000, 23000}, {"ZELTA", 28000, 31000}}, 1000, true, 31000},
        {{{"ZELTA", 20000, 30000}}, 12, false, 12000}, // the program ended at 12 s
        {{}, 1000, false, 120000},                     // never a window: 120 s at most
        {{{"ZELTA", 0, 6000}}, 1000, false, 6000},     // seen at once: the rule unchanged
    };
    for (const Case& c : cases) {
        Wait wait;
        wait.windows.windows = c.windows;
        FakeProgramStarter started;
        // Asked once a second from 5 s on while no window has been seen.
        for (int second = 5; second < 200; ++second)
            started.runs.push_back(second < c.runsFor);
        WaitForGame(wait.pauses, wait.windows, c.settings, false, &started);
        EXPECT_EQ(wait.pauses.now, c.ends) << c.runsFor;
    }
}

} // namespace

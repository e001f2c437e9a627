#include "platform/Paths.h"
#include "player/TraceFile.h"
#include "player/untVexaCustomWmpObj.h"
#include "player/untVexaObjectControls.h"
#include "support/FakeMediaControl.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kDefaultText =
    "Play Count=1|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Frames|"
    "Size=Fit To Size|Show Controls=No|Volume=0|Mute=No|Rate=1000|Balance=0|Buffer=5|";

std::string Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const VexaError& e) {
        return e.what();
    }
    return "(nothing raised)";
}

// A media object over a scripted control, under virtual time.
class WmpObjTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("movie.mpg", "not really a movie; the fake control plays it");
        obj =
            std::make_unique<TVexaCustomWmpObj>(nullptr, pauses, FakeMediaControlFactory(control));
        obj->Timer()->SetEnabled(false); // ticks come from the test
        obj->OnFinished = [this](TVexaMainObj*, const std::string& code) {
            finishes.push_back(code);
        };
        obj->OnError = [this](TVexaMainObj*) { ++errors; };
    }

    // Opens the movie; the control reports the file open after `openAfterMs` of virtual time.
    void Load(int openAfterMs = 100) {
        pauses.onTime = [this, openAfterMs](long long now) {
            if (now >= openAfterMs)
                control->openState = 1;
        };
        obj->SetFileName(folder / "movie.mpg");
        obj->LoadObject();
    }
    void LoadAndPlay(int playCount) {
        obj->SetAutoPlay(false);
        obj->SetPlayCount(playCount);
        Load();
        obj->Play();
    }

    TempFolder folder;
    VirtualPauses pauses;
    FakeMediaControl* control = nullptr;
    std::unique_ptr<TVexaCustomWmpObj> obj;
    std::vector<std::string> finishes;
    int errors = 0;
};

TEST_F(WmpObjTest, StartsWithTheDefaultTextAndAConfiguredControl) {
    EXPECT_EQ(obj->Parameters(), kDefaultText);
    EXPECT_EQ(obj->ObjectStatus(), tsNone);
    EXPECT_FALSE(obj->Ready());
    EXPECT_EQ(control->displayMode, 1);
    EXPECT_EQ(control->volume, 0);
    EXPECT_FALSE(control->mute);
    EXPECT_EQ(control->balance, 0);
    EXPECT_DOUBLE_EQ(control->rate, 1.0);
    ASSERT_NE(obj->ContainerPanel(), nullptr);
    EXPECT_FALSE(obj->ContainerPanel()->isEnabled());
    EXPECT_FALSE(control->View()->isVisibleTo(obj.get()));
}

TEST(WmpObjCreation, FailsFatallyWithoutAControlWhateverTheWarnings) {
    VirtualPauses pauses;
    const MediaControlFactory none = [] { return std::unique_ptr<MediaControl>(); };
    EXPECT_EQ(Raised([&] { TVexaCustomWmpObj obj(nullptr, pauses, none); }),
              "Fatal Error: Could not create WMP interface");
}

TEST_F(WmpObjTest, LoadWaitsForTheControlThenIsReady) {
    obj->SetAutoPlay(false);
    Load(120);
    EXPECT_EQ(control->calls.front(), "Open " + NativePath(folder / "movie.mpg"));
    EXPECT_GE(pauses.now, 120);
    EXPECT_LT(pauses.now, 200);
    EXPECT_EQ(obj->ObjectStatus(), tsLoaded);
    EXPECT_TRUE(obj->Ready());
    EXPECT_TRUE(control->View()->isVisibleTo(obj.get()));
    EXPECT_EQ(control->Count("Play"), 0);
}

TEST_F(WmpObjTest, LoadWithAutoPlayStartsPlaying) {
    Load();
    EXPECT_EQ(obj->ObjectStatus(), tsPlaying);
    EXPECT_EQ(control->Count("Play"), 1);
}

TEST_F(WmpObjTest, ControlErrorWhileOpeningEndsTheWaitWithErrorStatus) {
    pauses.onTime = [this](long long now) {
        if (now >= 50 && obj->ObjectStatus() == tsLoading) {
            control->error = "Could not determine type of stream.";
            obj->ControlError();
        }
    };
    obj->SetFileName(folder / "movie.mpg");
    obj->LoadObject();
    EXPECT_EQ(obj->ObjectStatus(), tsError);
    EXPECT_FALSE(obj->Ready());
    EXPECT_EQ(errors, 1);
    EXPECT_LT(pauses.now, 100);
    obj->Play(); // nothing happens until the next load
    obj->SeekTo(5);
    EXPECT_EQ(control->Count("Play"), 0);
    EXPECT_EQ(control->Count("Seek 5"), 0);
    EXPECT_EQ(obj->ObjectStatus(), tsError);

    obj->SetEnableWarnings(
        true); // with warnings the report is an exception, and OnError stays quiet
    EXPECT_EQ(Raised([&] { obj->ControlError(); }),
              "An error has occured while trying to decompress the stream\rCould not determine "
              "type of stream.");
    EXPECT_EQ(errors, 1);
}

TEST_F(WmpObjTest, ControlNotificationsThatRaiseReachTheComponentErrorHandler) {
    std::vector<std::string> reported;
    SetComponentErrorHandler([&](const std::string& message) { reported.push_back(message); });
    obj->SetEnableWarnings(true);
    control->error = "Internal data stream error.";
    control->ErrorOccurred(); // as the control calls it, from the event loop
    obj->SetObjectStatus(tsPlaying);
    control
        ->PositionChanged(); // the end of the pass stops an object not loaded: "Object not ready"
    SetComponentErrorHandler(
        [](const std::string& message) { ADD_FAILURE() << "component error: " << message; });
    EXPECT_EQ(reported, (std::vector<std::string>{
                            "An error has occured while trying to decompress the stream\r"
                            "Internal data stream error.",
                            "Object not ready"}));
}

TEST_F(WmpObjTest, MissingFileStillAsksTheControlWhichReportsTheError) {
    pauses.onTime = [this](long long) {
        if (obj->ObjectStatus() == tsLoading) {
            control->error = "Resource not found.";
            obj->ControlError();
        }
    };
    obj->SetFileName(folder / "gone.mpg");
    obj->LoadObject();
    EXPECT_FALSE(obj->FileFound());
    EXPECT_EQ(control->Count("Open " + NativePath(folder / "gone.mpg")), 1);
    EXPECT_EQ(obj->ObjectStatus(), tsError);
}

TEST_F(WmpObjTest, OpeningThatNeverAnswersGivesUpAfterThirtySeconds) {
    obj->SetFileName(folder / "movie.mpg");
    obj->LoadObject();
    EXPECT_EQ(pauses.now, TVexaCustomWmpObj::kOpenTimeoutMs);
    EXPECT_EQ(obj->ObjectStatus(), tsError);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(control->Count("Cancel"), 1);
}

TEST_F(WmpObjTest, ClosingTheWindowEndsTheWait) {
    QWidget window;
    obj->setParent(&window);
    window.show();
    pauses.onTime = [&](long long now) {
        if (now >= 200)
            window.hide();
    };
    obj->SetFileName(folder / "movie.mpg");
    obj->LoadObject();
    EXPECT_EQ(pauses.now, 200);
    EXPECT_FALSE(obj->Ready());
    obj->Play();
    EXPECT_EQ(control->Count("Play"), 0);
    obj->setParent(nullptr);
}

TEST_F(WmpObjTest, OnePassStopsAndFinishesOnceAtTheNextTick) {
    LoadAndPlay(1);
    control->position = 75;
    obj->ControlPositionChange(); // end of the pass: the control rewound
    EXPECT_EQ(obj->ObjectStatus(), tsStopped);
    EXPECT_EQ(control->Count("Stop"), 1);
    EXPECT_EQ(control->Count("Seek 0"), 1);
    EXPECT_TRUE(obj->FinishPending());
    EXPECT_TRUE(finishes.empty());
    obj->TimerTick();
    EXPECT_EQ(finishes, std::vector<std::string>{"NEXT"});
    obj->TimerTick();
    control->DeliverNotifications(); // the stop's own seek, reported late
    obj->TimerTick();
    EXPECT_EQ(obj->PassCount(), 0);
    EXPECT_EQ(finishes.size(), 1u);
    EXPECT_EQ(control->Count("Play"), 1);
}

TEST_F(WmpObjTest, ThreePassesRestartTwiceThenFinish) {
    LoadAndPlay(3);
    obj->ControlPositionChange();
    obj->TimerTick();
    obj->ControlPositionChange();
    obj->TimerTick();
    EXPECT_EQ(control->Count("Play"), 3);
    EXPECT_EQ(obj->ObjectStatus(), tsPlaying);
    EXPECT_TRUE(finishes.empty());
    obj->ControlPositionChange();
    obj->TimerTick();
    EXPECT_EQ(obj->ObjectStatus(), tsStopped);
    EXPECT_EQ(finishes.size(), 1u);
    EXPECT_EQ(control->Count("Play"), 3);

    // The finishing stop's seek is reported afterwards; playing again still gives three passes.
    control->DeliverNotifications();
    obj->Play();
    for (int end = 0; end < 2; ++end) {
        obj->ControlPositionChange();
        obj->TimerTick();
    }
    EXPECT_EQ(obj->ObjectStatus(), tsPlaying);
    obj->ControlPositionChange();
    obj->TimerTick();
    EXPECT_EQ(finishes.size(), 2u);
    EXPECT_EQ(control->Count("Play"), 6);
}

TEST_F(WmpObjTest, RepeatForeverNeitherRestartsNorFinishes) {
    LoadAndPlay(0);
    obj->ControlPositionChange();
    obj->TimerTick();
    EXPECT_EQ(control->Count("Play"), 1);
    EXPECT_TRUE(finishes.empty());
    EXPECT_EQ(obj->ObjectStatus(), tsPlaying);
}

TEST_F(WmpObjTest, MarkersAddAPassAndSeekBackToTheStart) {
    obj->SetParameters("Start Marker=10|End Marker=20|");
    LoadAndPlay(1);
    control->length = 75;
    control->position = 25;
    obj->TimerTick(); // beyond the end marker: back to 10
    EXPECT_EQ(obj->Position(), 10);
    EXPECT_EQ(control->Count("Seek 10"), 1);
    control->DeliverNotifications(); // that seek counts as a pass (limit 1 + 1)
    EXPECT_EQ(obj->PassCount(), 1);
    EXPECT_EQ(obj->ObjectStatus(), tsPlaying);
    control->position = 25;
    obj->TimerTick();
    control->DeliverNotifications();
    EXPECT_EQ(obj->ObjectStatus(), tsStopped);
    EXPECT_EQ(control->Count("Seek 10"), 3); // the marker loop twice, then the stop
    obj->TimerTick();
    EXPECT_EQ(finishes.size(), 1u);
}

// The control reports seeks after the call, by when Stop has put SeekInProgress back.
TEST_F(WmpObjTest, OwnSeeksDoNotCountAsPasses) {
    LoadAndPlay(1);
    control->length = 100;
    control->position = 50;
    obj->TimerTick();
    const std::pair<const char*, std::function<void()>> seeks[] = {
        {"fast forward", [&] { obj->FastForward(); }},
        {"rewind", [&] { obj->Rewind(); }},
    };
    for (const auto& [name, seek] : seeks) {
        obj->Stop();
        obj->Play();
        seek();
        control->DeliverNotifications();
        obj->TimerTick();
        EXPECT_EQ(obj->ObjectStatus(), tsPlaying) << name;
        EXPECT_EQ(obj->PassCount(), 0) << name;
        EXPECT_TRUE(finishes.empty()) << name;
    }
    obj->ControlPositionChange(); // the real end of the pass
    obj->TimerTick();
    EXPECT_EQ(finishes.size(), 1u);
}

TEST_F(WmpObjTest, StatusFollowsPlayPauseStopAndUnload) {
    obj->SetAutoPlay(false);
    obj->Pause(); // not ready: nothing
    EXPECT_EQ(obj->ObjectStatus(), tsNone);
    Load();
    EXPECT_EQ(obj->ObjectStatus(), tsLoaded);
    obj->Stop();
    EXPECT_EQ(obj->ObjectStatus(), tsStopped);
    obj->Pause(); // a stopped object is not told to pause
    EXPECT_EQ(obj->ObjectStatus(), tsPaused);
    EXPECT_EQ(control->Count("Pause"), 0);
    obj->Play();
    EXPECT_EQ(obj->ObjectStatus(), tsPlaying);
    obj->Pause();
    EXPECT_EQ(control->Count("Pause"), 1);
    obj->Stop();
    obj->Stop(); // already stopped: the control is not asked again
    EXPECT_EQ(control->Count("Stop"), 2);
    obj->UnLoadObject();
    EXPECT_FALSE(obj->Ready());
    EXPECT_EQ(obj->ObjectStatus(), tsStopped);
    EXPECT_EQ(control->calls.back(), "Cancel");
}

TEST_F(WmpObjTest, PollingReadsPositionAndDurationInTheObjectsUnit) {
    struct Case {
        TObjectFormat format;
        int mode;
        int position, duration;
    } cases[] = {{tuFrames, 1, 12, 75},
                 {tuMilliseconds, 0, 12500, 75000},
                 {tuSeconds, 0, 12, 75},
                 {tuTime, 0, 12, 75}};
    Load();
    for (const Case& c : cases) {
        obj->SetObjectFormat(c.format);
        control->position = 12.5; // half to even
        control->length = 75;
        obj->TimerTick();
        EXPECT_EQ(control->displayMode, c.mode);
        EXPECT_EQ(obj->Position(), c.position);
        EXPECT_EQ(obj->Duration(), c.duration);
    }
    control->position = -3;
    obj->TimerTick();
    EXPECT_EQ(obj->Position(), 0);
}

TEST_F(WmpObjTest, ChangingTheUnitRescalesMarkersButKeepsThemAtZeroDuration) {
    obj->SetParameters("Start Marker=2|End Marker=5|");
    obj->SetObjectFormat(tuSeconds); // old duration 0: kept
    EXPECT_EQ(obj->StartMarker(), 2);
    EXPECT_EQ(obj->EndMarker(), 5);
    Load();
    control->length = 10;
    obj->TimerTick();
    obj->SetObjectFormat(tuMilliseconds);
    EXPECT_EQ(obj->Duration(), 10000);
    EXPECT_EQ(obj->StartMarker(), 2000);
    EXPECT_EQ(obj->EndMarker(), 5000);
}

TEST_F(WmpObjTest, AudioSettersKeepTheirRanges) {
    struct Case {
        const char* what;
        std::function<void(TVexaCustomWmpObj&, int)> set;
        std::function<int(TVexaCustomWmpObj&)> get;
        int value;
        int stored;          // the value afterwards
        const char* message; // nullptr: accepted
    } cases[] = {
        {"volume -4096", [](auto& o, int v) { o.SetVolume(v); }, [](auto& o) { return o.Volume(); },
         -4096, -4096, nullptr},
        {"volume 1", [](auto& o, int v) { o.SetVolume(v); }, [](auto& o) { return o.Volume(); }, 1,
         0,
         "Volume must be a number between -4096 and zero\rCurrent value is 1\rResetting to "
         "previous value 0"},
        {"volume -4097", [](auto& o, int v) { o.SetVolume(v); }, [](auto& o) { return o.Volume(); },
         -4097, 0,
         "Volume must be a number between -4096 and zero\rCurrent value is -4097\rResetting to "
         "previous value 0"},
        {"rate 100", [](auto& o, int v) { o.SetRate(v); }, [](auto& o) { return o.Rate(); }, 100,
         1000, nullptr},
        {"rate 101", [](auto& o, int v) { o.SetRate(v); }, [](auto& o) { return o.Rate(); }, 101,
         101, nullptr},
        {"rate 2000", [](auto& o, int v) { o.SetRate(v); }, [](auto& o) { return o.Rate(); }, 2000,
         2000, nullptr},
        {"rate 2001", [](auto& o, int v) { o.SetRate(v); }, [](auto& o) { return o.Rate(); }, 2001,
         1000,
         "Rate must be a number between 100 and 2000\rCurrent value is: 2001\rResetting to "
         "previous value 1000"},
        {"rate 99", [](auto& o, int v) { o.SetRate(v); }, [](auto& o) { return o.Rate(); }, 99,
         1000,
         "Rate must be a number between 100 and 2000\rCurrent value is: 99\rResetting to previous "
         "value 1000"},
        {"balance 2064", [](auto& o, int v) { o.SetBalance(v); },
         [](auto& o) { return o.Balance(); }, 2064, 2064, nullptr},
        {"balance -2064", [](auto& o, int v) { o.SetBalance(v); },
         [](auto& o) { return o.Balance(); }, -2064, -2064, nullptr},
        {"balance 2065", [](auto& o, int v) { o.SetBalance(v); },
         [](auto& o) { return o.Balance(); }, 2065, 0,
         "Balance must be a number between -2064 and +2064\rCurrent value is 2065\rResetting to "
         "previous value 0"},
        {"buffer 60", [](auto& o, int v) { o.SetBuffer(v); }, [](auto& o) { return o.Buffer(); },
         60, 60, nullptr},
        {"buffer 0", [](auto& o, int v) { o.SetBuffer(v); }, [](auto& o) { return o.Buffer(); }, 0,
         5,
         "Buffer must be a number between 1 and 60\rCurrent value is 0\rResetting to previous "
         "value 5"},
        {"buffer 61", [](auto& o, int v) { o.SetBuffer(v); }, [](auto& o) { return o.Buffer(); },
         61, 5,
         "Buffer must be a number between 1 and 60\rCurrent value is 61\rResetting to previous "
         "value 5"},
    };
    for (const Case& c : cases) {
        for (bool warnings : {false, true}) {
            VirtualPauses p;
            FakeMediaControl* made = nullptr;
            TVexaCustomWmpObj o(nullptr, p, FakeMediaControlFactory(made));
            o.SetEnableWarnings(warnings);
            const std::string raised = Raised([&] { c.set(o, c.value); });
            EXPECT_EQ(raised, warnings && c.message ? c.message : "(nothing raised)") << c.what;
            EXPECT_EQ(c.get(o), c.stored) << c.what;
        }
    }
}

TEST_F(WmpObjTest, AudioSettingsReachTheControl) {
    obj->SetRate(1500);
    obj->SetVolume(-300);
    obj->SetBalance(-100);
    obj->SetMute(true);
    EXPECT_DOUBLE_EQ(control->rate, 1.5);
    EXPECT_EQ(control->volume, -300);
    EXPECT_EQ(control->balance, -100);
    EXPECT_TRUE(control->mute);
    EXPECT_EQ(
        obj->Parameters(),
        "Play Count=1|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Frames|"
        "Size=Fit To Size|Show Controls=No|Volume=-300|Mute=Yes|Rate=1500|Balance=-100|Buffer=5|");
    obj->SetObjectEnabled(false); // unchanged for the panel, but always passed to the control
    EXPECT_FALSE(control->enabled);
}

TEST_F(WmpObjTest, AssignedTextsAreNormalised) {
    struct Case {
        const char* assigned;
        const char* expected;
    } cases[] = {
        {"Volume=-5000|", kDefaultText}, // rejected: the previous volume stays
        {"Buffer=30|", kDefaultText},    // never read back
        {"Mute=maybe|", kDefaultText},   // not a yes/no: default
        {"Rate=100|", kDefaultText},     // 100 is stored as 1000
        {"Volume=-20", kDefaultText},    // last item without "|": default
        {"size=half size|mute=yes|rate=500|balance=2064|volume=-1|",
         "Play Count=1|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Frames|"
         "Size=Half Size|Show Controls=No|Volume=-1|Mute=Yes|Rate=500|Balance=2064|Buffer=5|"},
    };
    for (const Case& c : cases) {
        VirtualPauses p;
        FakeMediaControl* made = nullptr;
        TVexaCustomWmpObj o(nullptr, p, FakeMediaControlFactory(made));
        o.SetParameters(c.assigned);
        EXPECT_EQ(o.Parameters(), c.expected) << c.assigned;
    }
    obj->SetEnableWarnings(true);
    EXPECT_EQ(Raised([&] { obj->SetParameters("Mute=maybe|"); }),
              "Could not convert \"MAYBE\" to Boolean\rResetting to default value: False");
    EXPECT_FALSE(obj->Mute());
}

TEST_F(WmpObjTest, DisplaySizeFollowsSize) {
    const std::pair<TObjectSize, int> cases[] = {
        {szHalfSize, 1}, {szOriginalSize, 0}, {szDoubleSize, 2}, {szFitToSize, 4}};
    for (const auto& [size, mode] : cases) {
        obj->SetSize(size);
        EXPECT_EQ(control->displaySize, mode);
    }
}

TEST_F(WmpObjTest, ControlClickRaisesOnClickWithTheObject) {
    TVexaMainObj* sender = nullptr;
    obj->OnClick = [&](TVexaMainObj* s) { sender = s; };
    obj->ControlClick();
    EXPECT_EQ(sender, obj.get());
}

TEST_F(WmpObjTest, RightButtonOnThePictureOpensThePopupMenu) {
    QMenu menu;
    menu.addAction(QStringLiteral("Properties"));
    obj->ControlMouseDown(true); // no menu yet: nothing
    obj->SetPopupMenu(&menu);
    obj->ControlMouseDown(false);
    EXPECT_FALSE(menu.isVisible());
    obj->ControlMouseDown(true);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST_F(WmpObjTest, ClicksOnTheControlsBarDoNotCountAsClicksOnTheMovie) {
    int clicks = 0;
    obj->OnClick = [&](TVexaMainObj*) { ++clicks; };
    obj->resize(400, 300);
    obj->SetShowControls(true);
    obj->show();
    QTest::mouseClick(obj->Controls()->StatusLabel(), Qt::LeftButton);
    QTest::mouseClick(obj->Controls()->Button(bbPlay), Qt::LeftButton); // disabled before loading
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(obj.get(), Qt::LeftButton, {}, QPoint(200, 100)); // the picture area
    EXPECT_EQ(clicks, 1);
    obj->hide();
}

TEST_F(WmpObjTest, ShowControlsAttachesABarAtTheBottom) {
    obj->resize(400, 300);
    obj->SetShowControls(true);
    ASSERT_NE(obj->Controls(), nullptr);
    EXPECT_EQ(obj->Controls()->geometry(), QRect(0, 243, 400, 57));
    EXPECT_EQ(control->View()->geometry(), QRect(0, 0, 400, 243));
    EXPECT_NE(obj->Parameters().find("Show Controls=Yes|"), std::string::npos);
    obj->SetShowControls(false);
    EXPECT_EQ(obj->Controls(), nullptr);
    EXPECT_EQ(control->View()->geometry(), QRect(0, 0, 400, 300));
}

TEST(WmpObjTrace, LifeSeeksAndEventsWriteTheirLines) {
    std::error_code noFile;
    const auto size = std::filesystem::file_size(TraceFilePath(), noFile);
    const size_t before = noFile ? 0 : size; // the lines of the earlier tests
    {
        VirtualPauses pauses;
        FakeMediaControl* control = nullptr;
        TVexaCustomWmpObj obj(nullptr, pauses, FakeMediaControlFactory(control));
        QMenu menu;
        obj.SetPopupMenu(&menu);
        obj.FastForward();
        obj.Rewind();
        control->Clicked();
        control->MouseDown(true);
        menu.hide();
        const MediaControlFactory none = [] { return std::unique_ptr<MediaControl>(); };
        EXPECT_THROW(TVexaCustomWmpObj(nullptr, pauses, none), VexaError);
    }
    std::ifstream in(TraceFilePath());
    std::stringstream all;
    all << in.rdbuf();
    const std::string trace = all.str().substr(before);
    const char* lines[] = {
        "TVexaCustomWmpObj () > Attempting To Create WMP6 Interface\n",
        "TVexaCustomWmpObj () > WMP6 Interface Successfully created\n",
        "TVexaCustomWmpObj () > FastForward called\n",
        "TVexaCustomWmpObj () > Rewind called\n",
        "TVexaCustomWmpObj () > Event [DoOnClick]\n",
        "TVexaCustomWmpObj () > Event [DoPopup]\n",
        "TVexaCustomWmpObj () > Attempting To Create WMP6 Interface\n",
        "TVexaCustomWmpObj () > ERROR: No DirectX and WMP found on target machine\n",
        "TVexaCustomWmpObj () > Attempting to Destroy TVexaCustomWmpObj.WMP6\n",
        "TVexaCustomWmpObj () > Successfully destroyedTVexaCustomWmpObj.WMP6\n",
        "TVexaCustomWmpObj () > Attempting to destroy object container\n",
        "TVexaCustomWmpObj () > Successfully destroyed object container\n",
    };
    size_t at = 0;
    for (const char* line : lines) {
        const auto found = trace.find(line, at);
        EXPECT_NE(found, std::string::npos) << "missing or out of order: " << line << trace;
        if (found != std::string::npos)
            at = found + 1;
    }
}

} // namespace

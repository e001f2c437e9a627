#include "player/untVexaCustomWmpObj.h"
#include "player/untVexaObjectControls.h"
#include "player/untVexaSlider.h"
#include "support/FakeMediaControl.h"
#include "support/TempFolder.h"
#include "support/TestPictures.h"

#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

std::vector<bool> EnabledButtons(const TVexaObjectControls& bar) {
    std::vector<bool> states;
    for (int i = 0; i < kBarButtonCount; ++i)
        states.push_back(bar.Button(static_cast<BarButton>(i))->isEnabled());
    return states;
}

std::string Text(QLabel* label) {
    return label->text().toStdString();
}

TEST(ControlsBar, StartsEmptyWithEveryButtonDisabled) {
    TVexaObjectControls bar;
    EXPECT_EQ(bar.height(), 57);
    EXPECT_EQ(bar.minimumWidth(), 220);
    EXPECT_EQ(EnabledButtons(bar), std::vector<bool>(5, false));
    EXPECT_EQ(Text(bar.StatusLabel()), "");
    EXPECT_EQ(Text(bar.DurationLabel()), "0 frames");
    EXPECT_EQ(Text(bar.PositionLabel()), "0 frames");
    EXPECT_EQ(bar.Slider()->MaxValue(), 1);
    EXPECT_EQ(bar.Button(bbPlay)->geometry(), QRect(13, 4, 23, 17));
    EXPECT_EQ(bar.Button(bbFastForward)->toolTip().toStdString(), "Fast Forward");
}

TEST(ControlsBar, RefreshFollowsTheStatusTable) {
    struct Case {
        TObjectState state;
        const char* text;
        std::vector<bool> buttons;
    } cases[] = {
        {tsPlaying, "Playing", {false, true, true, true, true}},
        {tsStopping,
         "Stopping...",
         {false, true, true, true, true}}, // unchanged from the row above
        {tsPaused, "Paused", {true, false, true, true, true}},
        {tsStopped, "Stopped", {true, false, false, true, true}},
        {tsLoaded, "Opened", {true, false, false, true, true}},
        {tsLoading, "Opening...", {false, false, false, false, false}},
        {tsError, "Error", {false, false, false, false, false}},
        {tsNone, "", {false, false, false, false, false}},
    };
    TVexaObjectControls bar;
    for (const Case& c : cases) {
        bar.SetObjectStatus(c.state);
        EXPECT_EQ(Text(bar.StatusLabel()), c.text);
        EXPECT_EQ(EnabledButtons(bar), c.buttons) << c.text;
    }
}

TEST(ControlsBar, TimeLabelsFollowTheUnitAndZeroDurationKeepsTheSliderMaximum) {
    TVexaObjectControls bar;
    bar.SetObjectFormat(tuTime);
    bar.SetObjectPosition(3725);
    EXPECT_EQ(Text(bar.PositionLabel()), "1:02:05");
    bar.SetObjectFormat(tuFrames);
    bar.SetObjectDuration(250);
    EXPECT_EQ(Text(bar.DurationLabel()), "250 frames");
    EXPECT_EQ(bar.Slider()->MaxValue(), 250);
    bar.SetObjectDuration(-4);
    EXPECT_EQ(bar.ObjectDuration(), 0);
    EXPECT_EQ(bar.Slider()->MaxValue(), 250); // a maximum of 0 is refused
    TVexaObjectControls fresh;
    fresh.SetObjectDuration(0);
    EXPECT_EQ(fresh.Slider()->MaxValue(), 1);
}

TEST(ControlsBar, PartsThatCannotBeCreatedRaiseTheirMessage) {
    const char* messages[] = {
        "Fatal Error: Slider parent control could not be created",
        "Fatal Error: Slider control could not be created",
        "Fatal Error: Image time control could not be created",
        "Fatal Error: Duration control could not be created",
        "Fatal Error: Position parent control could not be created",
        "Fatal Error: Position control could not be created",
        "Fatal Error: Buttons parent control could not be created",
        "Fatal Error: Status control could not be created",
        "Fatal Error: Image control could not be created",
        "Fatal Error: Buttons control could not be created",
        "Fatal Error: Play button could not be created",
        "Fatal Error: Pause button could not be created",
        "Fatal Error: Stop button could not be created",
        "Fatal Error: Rewind button could not be created",
        "Fatal Error: Fast Forward button could not be created",
    };
    for (const char* message : messages) {
        TVexaObjectControls::creationCheck = [message](std::string_view part) {
            if (part == message)
                throw std::bad_alloc();
        };
        try {
            TVexaObjectControls bar;
            ADD_FAILURE() << "created despite " << message;
        } catch (const VexaError& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
    TVexaObjectControls::creationCheck = nullptr;
}

// A bar bound to a media object over a scripted control.
class BoundBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("movie.mpg", "x");
        obj =
            std::make_unique<TVexaCustomWmpObj>(nullptr, pauses, FakeMediaControlFactory(control));
        obj->Timer()->SetEnabled(false);
        obj->resize(640, 480);
        obj->SetShowControls(true);
        bar = obj->Controls();
        obj->SetAutoPlay(false);
        pauses.onTime = [this](long long) { control->openState = 1; };
        obj->SetFileName(folder / "movie.mpg");
        obj->LoadObject();
        control->length = 75;
    }
    TempFolder folder;
    VirtualPauses pauses;
    FakeMediaControl* control = nullptr;
    std::unique_ptr<TVexaCustomWmpObj> obj;
    TVexaObjectControls* bar = nullptr;
};

TEST_F(BoundBarTest, FollowsTheObjectAtEachPollingStep) {
    obj->Play();
    control->position = 10;
    obj->TimerTick();
    EXPECT_EQ(Text(bar->StatusLabel()), "Playing");
    EXPECT_EQ(Text(bar->DurationLabel()), "75 frames");
    EXPECT_EQ(Text(bar->PositionLabel()), "10 frames");
    EXPECT_EQ(bar->Slider()->Value(), 10);
    EXPECT_FALSE(bar->SliderMoved()); // the bar's own moves are no user seeks
    EXPECT_EQ(EnabledButtons(*bar), (std::vector<bool>{false, true, true, true, true}));
}

TEST_F(BoundBarTest, AUserSliderMoveSeeksAtTheNextStepAndSkipsThatRefresh) {
    obj->Play();
    control->position = 10;
    obj->TimerTick();
    bar->Slider()->SetValue(40); // as a drag does
    EXPECT_TRUE(bar->SliderMoved());
    control->position = 11;
    obj->TimerTick();
    EXPECT_EQ(control->Count("Seek 40"), 1);
    EXPECT_FALSE(bar->SliderMoved());
    EXPECT_EQ(Text(bar->PositionLabel()), "10 frames"); // that step's refresh was skipped
    control->DeliverNotifications();                    // the seek's report is not a pass
    EXPECT_EQ(obj->PassCount(), 0);
    control->position = 40;
    obj->TimerTick();
    EXPECT_EQ(Text(bar->PositionLabel()), "40 frames");
}

TEST_F(BoundBarTest, ButtonsDriveTheObject) {
    int playPressed = 0;
    bar->OnButtonClick[bbPlay] = [&](TVexaObjectControls*) { ++playPressed; };
    obj->TimerTick();
    QTest::mouseClick(bar->Button(bbPlay), Qt::LeftButton);
    EXPECT_EQ(playPressed, 1);
    EXPECT_EQ(obj->ObjectStatus(), tsPlaying);
    EXPECT_FALSE(bar->Button(bbPlay)->isEnabled());
    bar->ButtonClick(bbPause);
    EXPECT_EQ(obj->ObjectStatus(), tsPaused);
    EXPECT_TRUE(bar->Button(bbPlay)->isEnabled());
    EXPECT_FALSE(bar->Button(bbStop)->isEnabled());
    bar->ButtonClick(bbStop);
    EXPECT_EQ(obj->ObjectStatus(), tsStopped);
    control->position = 30;
    obj->TimerTick();
    bar->ButtonClick(bbFastForward);
    EXPECT_EQ(control->Count("Seek 37"), 1);
    bar->ButtonClick(bbRewind);
    EXPECT_EQ(control->Count("Seek 30"), 1);
}

TEST_F(BoundBarTest, WhileOpeningEveryButtonIsDisabled) {
    obj->SetObjectStatus(tsLoading);
    obj->TimerTick();
    EXPECT_EQ(Text(bar->StatusLabel()), "Opening...");
    EXPECT_EQ(EnabledButtons(*bar), std::vector<bool>(5, false));
}

TEST_F(BoundBarTest, DurationRecomputeSuspendsTheBar) {
    obj->TimerTick();
    bool suspendedDuringRecompute = false;
    obj->OnDurationRecomputeBegins = [&, begins = obj->OnDurationRecomputeBegins] {
        begins();
        suspendedDuringRecompute = bar->Suspended();
    };
    obj->SetObjectFormat(tuSeconds);
    EXPECT_TRUE(suspendedDuringRecompute);
    EXPECT_FALSE(bar->Suspended());
}

TEST(ControlsBarBinding, RemovingTheObjectDisablesTheBarAndDestroyingTheBarUnhooksTheObject) {
    VirtualPauses pauses;
    FakeMediaControl* control = nullptr;
    TVexaObjectControls bar;
    {
        TVexaCustomWmpObj obj(nullptr, pauses, FakeMediaControlFactory(control));
        bar.SetVexaObject(&obj);
        EXPECT_TRUE(static_cast<bool>(obj.OnTimer));
        bar.SetObjectStatus(tsPlaying);
    }
    EXPECT_EQ(bar.VexaObject(), nullptr);
    EXPECT_EQ(EnabledButtons(bar), std::vector<bool>(5, false));
    EXPECT_FALSE(bar.Slider()->isEnabled());
    EXPECT_EQ(Text(bar.DurationLabel()), "");
    EXPECT_EQ(Text(bar.PositionLabel()), "");

    TVexaCustomWmpObj obj(nullptr, pauses, FakeMediaControlFactory(control));
    {
        TVexaObjectControls shortLived;
        shortLived.SetVexaObject(&obj);
    }
    EXPECT_FALSE(static_cast<bool>(obj.OnTimer));
    obj.TimerTick(); // no dangling call
}

TEST(ControlsBarBinding, AnObjectThatIsNotTimeBasedGetsNoButtonsOrSlider) {
    TVexaCustomStaticObj still;
    TVexaObjectControls bar;
    bar.SetVexaObject(&still);
    EXPECT_EQ(EnabledButtons(bar), std::vector<bool>(5, false));
    EXPECT_FALSE(bar.EnableSlider());
    bar.SetObjectStatus(tsPlaying);
    EXPECT_EQ(Text(bar.StatusLabel()),
              ""); // a static object shows "Showing" only when its file was found
}

TEST(Slider, ValueRangeAndIncrementRules) {
    TVexaSlider slider;
    int changes = 0;
    slider.OnChange = [&](TVexaSlider*) { ++changes; };
    slider.SetMaxValue(100);
    slider.SetIncrement(10);
    slider.SetValue(150);
    EXPECT_EQ(slider.Value(), 100);
    EXPECT_EQ(changes, 1);
    slider.SetValue(100);
    EXPECT_EQ(changes, 1);  // no change, no event
    slider.SetMinValue(95); // above max - increment: refused
    EXPECT_EQ(slider.MinValue(), 0);
    slider.SetMaxValue(5); // below min + increment: refused
    EXPECT_EQ(slider.MaxValue(), 100);
    slider.SetIncrement(0);
    EXPECT_EQ(slider.Increment(), 10);
    slider.SetEdgeSize(10); // twice 10 is not less than the ruler image's 20 columns
    EXPECT_EQ(slider.EdgeSize(), 2);
    slider.SetMinValue(50);
    EXPECT_EQ(slider.Value(), 100);
    slider.SetValue(0);
    EXPECT_EQ(slider.Value(), 50);
}

TEST(Slider, KeysStepAndJump) {
    TVexaSlider slider;
    slider.SetMaxValue(100);
    slider.SetValue(25);
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(slider.Value(), 30);
    QTest::keyClick(&slider, Qt::Key_Left);
    EXPECT_EQ(slider.Value(), 20);
    QTest::keyClick(&slider, Qt::Key_End);
    EXPECT_EQ(slider.Value(), 100);
    QTest::keyClick(&slider, Qt::Key_Home);
    EXPECT_EQ(slider.Value(), 0);
    QTest::keyClick(&slider, Qt::Key_Up); // horizontal: no vertical keys
    QTest::keyClick(&slider, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(slider.Value(), 0);
}

TEST(Slider, GeometryPlacesTheThumbByHalfEvenRounding) {
    TVexaSlider slider;
    slider.resize(140, 19);
    slider.SetMaxValue(100);
    slider.SetIncrement(1);
    // Ruler 128 wide, thumb 11 wide: track 117. Value 50 -> 58.5 -> 58, + 6.
    EXPECT_EQ(slider.TrackLength(), 117);
    slider.SetValue(50);
    EXPECT_EQ(slider.ThumbRect().left(), 64);
    EXPECT_EQ(slider.ThumbRect().size(), QSize(11, 8));
    // Ruler (10 high) is higher than the thumb (8): ruler at 6, thumb at 6 + 1.
    EXPECT_EQ(slider.ThumbRect().top(), 7);
}

TEST(Slider, TrackPressStepsTowardsThePointerAndRepeats) {
    TVexaSlider slider;
    slider.resize(140, 19);
    slider.SetMaxValue(100);
    slider.SetValue(50);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(130, 10));
    EXPECT_EQ(slider.Value(), 60);
    EXPECT_TRUE(slider.TrackRepeatActive());
    slider.TrackRepeat(); // the 400 ms timer
    EXPECT_EQ(slider.Value(), 70);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(130, 10));
    EXPECT_FALSE(slider.TrackRepeatActive());
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(8, 10));
    EXPECT_EQ(slider.Value(), 60);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(8, 10));
}

TEST(Slider, DraggingTheThumbSetsTheValue) {
    TVexaSlider slider;
    slider.resize(140, 19);
    slider.SetMaxValue(117);
    slider.SetIncrement(1);
    slider.SetOptions(soSmooth);
    int stops = 0;
    slider.OnStopTracking = [&](TVexaSlider*) { ++stops; };
    QWidget* thumb = slider.Thumb();
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(3, 3));
    QMouseEvent move(QEvent::MouseMove, QPointF(3 + 40, 3), thumb->mapToGlobal(QPointF(43, 3)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(thumb, &move);
    EXPECT_EQ(slider.Value(), 40);
    EXPECT_EQ(slider.ThumbRect().left(), 46);
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(43, 3));
    EXPECT_EQ(stops, 1);
}

// In the bar's picture, the texts are written and the glyphs and the thumb drawn where they belong.
TEST_F(BoundBarTest, LooksLikeAControlsBar) {
    obj->Play();
    control->position = 30;
    obj->TimerTick();
    const QImage picture = bar->grab().toImage();
    SavePictureIfAsked(bar, QStringLiteral("controls-bar"));
    const QRgb face = picture.pixel(1, 1);
    const auto inBar = [&](QWidget* part, QRect rect) {
        return rect.translated(part->mapTo(bar, QPoint(0, 0)));
    };
    // Pixels of the area that stand out from the bar's face (dark ones only: text).
    const auto drawn = [&](QRect area, bool darkOnly) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = picture.pixel(x, y);
                count += darkOnly ? qGray(p) < 96
                                  : std::abs(qGray(p) - qGray(face)) > 40 ||
                                        std::abs(qRed(p) - qRed(face)) > 40;
            }
        return count;
    };
    EXPECT_EQ(Text(bar->StatusLabel()), "Playing");
    for (QLabel* label : {bar->StatusLabel(), bar->DurationLabel(), bar->PositionLabel()})
        EXPECT_GT(drawn(inBar(label, label->rect()), true), 10) << Text(label) << " is written";
    for (int i = 0; i < kBarButtonCount; ++i) {
        QWidget* button = bar->Button(static_cast<BarButton>(i));
        EXPECT_GT(drawn(inBar(button, button->rect()), false), 10) << "glyph " << i;
    }
    const QRect thumb = bar->Slider()->ThumbRect();
    EXPECT_GT(drawn(inBar(bar->Slider(), thumb), false), 10) << "the thumb";
    EXPECT_GT(thumb.left(), bar->Slider()->width() / 4) << "at 30 of 75";
}

} // namespace

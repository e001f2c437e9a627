#pragma once

#include "player/PlayerRules.h"
#include "player/untVexaObjects.h"

#include <array>
#include <functional>
#include <string_view>

class QLabel;
class QToolButton;
class TVexaSlider;

// A row panel of the controls bar: Tahoma 8 pt, white text; takes the bar's colour at every
// refresh.
class TVexaPanel : public TVexaCustomControl {
public:
    explicit TVexaPanel(QWidget* parent);
};

// The controls bar of a media object: status, duration and position, five buttons and the
// position slider. It follows the bound object at each of the object's polling steps.
class TVexaObjectControls : public TVexaCustomControl {
public:
    static constexpr int kHeight = 57;
    static constexpr int kMinimumWidth = 220;

    explicit TVexaObjectControls(QWidget* parent = nullptr);
    ~TVexaObjectControls() override;

    TVexaMainObj* VexaObject() const { return object_; }
    void SetVexaObject(TVexaMainObj* object);

    int ObjectDuration() const { return std::max(duration_, 0); }
    void SetObjectDuration(int value);
    int ObjectPosition() const { return std::max(position_, 0); }
    void SetObjectPosition(int value);
    TObjectState ObjectStatus() const { return status_; }
    void SetObjectStatus(TObjectState status);
    TObjectFormat ObjectFormat() const { return format_; }
    void SetObjectFormat(TObjectFormat format);

    // The show and enable properties refresh the bar when they change.
    bool ShowButton(BarButton button) const { return show_[button]; }
    void SetShowButton(BarButton button, bool show);
    bool EnableButton(BarButton button) const { return enable_[button]; }
    void SetEnableButton(BarButton button, bool enable);
    bool ShowSlider() const { return showSlider_; }
    void SetShowSlider(bool show);
    bool EnableSlider() const { return enableSlider_; }
    void SetEnableSlider(bool enable);
    void SetButtonsEnabled(bool enable);
    void SetButtonsVisible(bool visible);

    std::string Description() const override;

    std::array<std::function<void(TVexaObjectControls*)>, kBarButtonCount> OnButtonClick;
    std::function<void(TVexaObjectControls*)> OnPositionChange;
    std::function<void(TVexaObjectControls*)> OnSliderChange;

    // The object's polling step.
    virtual void SyncFromObject();
    void RefreshControls();
    // The bound object went away.
    void ObjectRemoved();
    // A press of one of the five buttons.
    void ButtonClick(BarButton button);

    bool SliderMoved() const { return sliderMoved_; }
    bool Suspended() const { return suspended_; }

    // Parts, for the window's layout and for tests.
    QLabel* StatusLabel() const { return lblStatus_; }
    QLabel* DurationLabel() const { return lblDuration_; }
    QLabel* PositionLabel() const { return lblPosition_; }
    QToolButton* Button(BarButton button) const { return buttons_[button]; }
    TVexaSlider* Slider() const { return slider_; }

    // Test seam: called with each part's name before the part is made; a throw there stands for
    // the part failing to be created.
    static std::function<void(std::string_view part)> creationCheck;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateParts();
    void LayoutParts();
    void SliderChanged();
    bool TimeBased() const;
    void ClearObjectDisplay();

    TVexaMainObj* object_ = nullptr;
    int duration_ = 0;
    int position_ = 0;
    TObjectState status_ = tsNone;
    TObjectFormat format_ = tuFrames;
    std::array<bool, kBarButtonCount> show_{true, true, true, true, true};
    std::array<bool, kBarButtonCount> enable_{true, true, true, true, true};
    bool showSlider_ = true;
    bool enableSlider_ = true;
    bool sliderMoved_ = false;
    bool suspended_ = false;
    bool refreshing_ = false;
    QMetaObject::Connection objectDestroyed_;

    TVexaPanel* rowButtons_ = nullptr;
    TVexaPanel* rowTime_ = nullptr;
    TVexaPanel* rowSlider_ = nullptr;
    QLabel* imgMovie_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    TVexaPanel* pnlButtons_ = nullptr;
    std::array<QToolButton*, kBarButtonCount> buttons_{};
    QLabel* imgTime_ = nullptr;
    QLabel* lblDuration_ = nullptr;
    TVexaPanel* pnlPosition_ = nullptr;
    QLabel* lblPosition_ = nullptr;
    TVexaSlider* slider_ = nullptr;
};

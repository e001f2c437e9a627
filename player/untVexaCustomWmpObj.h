#pragma once

#include "player/MediaControl.h"
#include "player/untVexaObjects.h"

#include <memory>

class Pauses;

// A visual component that plays one media file inside its own client area through a
// MediaControl: opening and waiting until the file is ready, play, pause, stop, seeking, polling
// the position, counting passes and reporting the end of play, audio settings, display size and
// error reports.
class TVexaCustomWmpObj : public TVexaVisualDynamicObj {
public:
    // The longest wait for a file to open before the object gives up with an error.
    static constexpr int kOpenTimeoutMs = 30000;
    static constexpr int kOpenPollMs = 10;

    // pauses: the waits of LoadObject (virtual time in tests). factory: makes the control; when
    // it gives none, construction fails with "Fatal Error: Could not create WMP interface".
    TVexaCustomWmpObj(QWidget* owner, Pauses& pauses, const MediaControlFactory& factory);
    ~TVexaCustomWmpObj() override;

    int Volume() const { return volume_; }
    void SetVolume(int value);
    bool Mute() const { return mute_; }
    void SetMute(bool value);
    int Rate() const { return rate_; }
    void SetRate(int value);
    int Balance() const { return balance_; }
    void SetBalance(int value);
    int Buffer() const { return buffer_; }
    void SetBuffer(int value);

    std::function<void(TVexaMainObj* sender)> OnError;

    void SetObjectEnabled(bool enabled) override;
    void ReadParameters(const std::string& text) override;
    void LoadObject() override;
    void UnLoadObject() override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void SeekTo(int position) override;
    void TimerTick() override;
    void UpdateDuration() override;
    void ApplySize() override;

    // State, for the movie window and tests.
    bool Ready() const { return ready_; }
    int PassCount() const { return passCount_; }
    bool FinishPending() const { return finishPending_; }
    MediaControl* Control() const { return control_.get(); }
    QWidget* ContainerPanel() const { return containerPanel_; }

    // Control notifications (public so that a scripted control can be driven in tests). The
    // control's own calls of them are guarded: an exception goes to the component error handler.
    void ControlPositionChange();
    void ControlError();
    void ControlClick();
    void ControlMouseDown(bool rightButton);

protected:
    std::string ParameterItems() const override;
    void resizeEvent(QResizeEvent* event) override;
    void LayoutChildren() override;
    void hideEvent(QHideEvent* event) override;

private:
    void CreateControl(const MediaControlFactory& factory);
    void ApplyAudioSettings();
    void ApplyDisplaySize();
    void ReportError(const std::string& description);
    void ShowControl(bool show);

    Pauses& pauses_;
    std::unique_ptr<MediaControl> control_;
    QWidget* containerPanel_ = nullptr;
    bool ready_ = false;
    int passCount_ = 0;
    // Own seeks (made with SeekInProgress set) whose position notification has not arrived yet:
    // the control reports a seek after the call, when SeekInProgress may have changed again.
    int ownSeeksPending_ = 0;
    bool finishPending_ = false;
    bool loading_ = false;
    bool loadAbandoned_ = false;
    int volume_ = 0;
    bool mute_ = false;
    int rate_ = 1000;
    int balance_ = 0;
    int buffer_ = 5;
};

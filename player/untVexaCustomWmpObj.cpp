#include "player/untVexaCustomWmpObj.h"

#include "platform/Paths.h"
#include "platform/Pauses.h"
#include "player/ParameterText.h"
#include "player/PlayerRules.h"
#include "player/untVexaObjectControls.h"

#include <QHideEvent>

TVexaCustomWmpObj::TVexaCustomWmpObj(QWidget* owner, Pauses& pauses,
                                     const MediaControlFactory& factory)
    : TVexaVisualDynamicObj(owner, "TVexaCustomWmpObj"), pauses_(pauses) {
    filterName_ = "Video Files";
    filterList_ = "*.mpg;*.mpeg;*.avi";
    CreateControl(factory);
    if (!control_)
        throw VexaError("Fatal Error: Could not create WMP interface");
    passCount_ = 0;
    rate_ = 1000;
    volume_ = 0;
    balance_ = 0;
    mute_ = false;
    buffer_ = 5;
    ApplyAudioSettings();
    UpdateParameters();
    finishPending_ = false;
}

TVexaCustomWmpObj::~TVexaCustomWmpObj() {
    if (control_) {
        Trace("Attempting to Destroy " + ClassName() + ".WMP6");
        control_->Cancel();
        control_.reset();
        Trace("Successfully destroyed" + ClassName() + ".WMP6");
    }
    if (containerPanel_) {
        Trace("Attempting to destroy object container");
        delete containerPanel_;
        containerPanel_ = nullptr;
        Trace("Successfully destroyed object container");
    }
    DestroyControls();
}

void TVexaCustomWmpObj::CreateControl(const MediaControlFactory& factory) {
    if (control_)
        return;
    containerPanel_ = new QWidget(this);
    containerPanel_->setObjectName(QStringLiteral("ContainerPanel"));
    QPalette p = containerPanel_->palette();
    p.setColor(QPalette::Window, Qt::black);
    containerPanel_->setPalette(p);
    containerPanel_->setAutoFillBackground(true);
    containerPanel_->setEnabled(false);
    // A disabled panel passes clicks to the object, as its picture does through the control.
    containerPanel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    containerPanel_->show();

    Trace("Attempting To Create WMP6 Interface");
    std::unique_ptr<MediaControl> control;
    try {
        if (factory)
            control = factory();
    } catch (const std::exception&) {
        control.reset();
    }
    if (!control) {
        Trace("ERROR: No DirectX and WMP found on target machine");
        return;
    }
    control->SetDisplayMode(1);
    control->SetDisplaySize(0);
    control->SetMute(false);
    control->SetVolume(0);
    // The control notifies from the event loop: nothing may be thrown back into it.
    control->PositionChanged = [this] { RunGuarded([this] { ControlPositionChange(); }); };
    control->MouseDown = [this](bool right) {
        RunGuarded([this, right] { ControlMouseDown(right); });
    };
    control->Clicked = [this] { RunGuarded([this] { ControlClick(); }); };
    control->ErrorOccurred = [this] { RunGuarded([this] { ControlError(); }); };
    QWidget* view = control->View();
    view->setParent(this);
    view->hide();
    control_ = std::move(control);
    LayoutChildren();
    Trace("WMP6 Interface Successfully created");
}

std::string TVexaCustomWmpObj::ParameterItems() const {
    return TVexaVisualDynamicObj::ParameterItems() + ParameterItem("Volume", volume_) +
           ParameterItem("Mute", mute_) + ParameterItem("Rate", rate_) +
           ParameterItem("Balance", balance_) + ParameterItem("Buffer", buffer_);
}

void TVexaCustomWmpObj::ReadParameters(const std::string& text) {
    TVexaVisualDynamicObj::ReadParameters(text);
    const bool mute = FindParameter(text, "Mute", false, EnableWarnings());
    const int volume = FindParameter(text, "Volume", 0);
    const int rate = FindParameter(text, "Rate", 1000);
    const int balance = FindParameter(text, "Balance", 0);
    SetMute(mute);
    SetVolume(volume);
    SetRate(rate);
    SetBalance(balance);
}

void TVexaCustomWmpObj::ApplyAudioSettings() {
    if (!control_)
        return;
    control_->SetRate(rate_ / 1000.0);
    control_->SetVolume(volume_);
    control_->SetMute(mute_);
    control_->SetBalance(balance_);
}

void TVexaCustomWmpObj::SetVolume(int value) {
    if (value < -4096 || value > 0) {
        Warn(RejectedValueText("Volume must be a number between -4096 and zero\rCurrent value is ",
                               value, volume_));
        return;
    }
    volume_ = value;
    ApplyAudioSettings();
    UpdateParameters();
}

void TVexaCustomWmpObj::SetMute(bool value) {
    mute_ = value;
    ApplyAudioSettings();
    UpdateParameters();
}

void TVexaCustomWmpObj::SetRate(int value) {
    if (value < 100 || value > 2000) {
        Warn(RejectedValueText(
            "Rate must be a number between 100 and 2000\rCurrent value is: ", value, rate_));
        return;
    }
    rate_ = value == 100 ? 1000 : value;
    ApplyAudioSettings();
    UpdateParameters();
}

void TVexaCustomWmpObj::SetBalance(int value) {
    if (value < -2064 || value > 2064) {
        Warn(
            RejectedValueText("Balance must be a number between -2064 and +2064\rCurrent value is ",
                              value, balance_));
        return;
    }
    balance_ = value;
    ApplyAudioSettings();
    UpdateParameters();
}

void TVexaCustomWmpObj::SetBuffer(int value) {
    if (value < 1 || value > 60) {
        Warn(RejectedValueText("Buffer must be a number between 1 and 60\rCurrent value is ", value,
                               buffer_));
        return;
    }
    buffer_ = value;
    UpdateParameters();
}

void TVexaCustomWmpObj::SetObjectEnabled(bool enabled) {
    TVexaVisualDynamicObj::SetObjectEnabled(enabled);
    if (control_)
        control_->SetEnabled(enabled);
}

void TVexaCustomWmpObj::ShowControl(bool show) {
    if (!control_)
        return;
    QWidget* view = control_->View();
    if (view->isVisibleTo(this) != show)
        view->setVisible(show);
}

void TVexaCustomWmpObj::LoadObject() {
    if (loading_)
        return; // a second activation while the file opens: the first load goes on
    TVexaVisualDynamicObj::LoadObject();
    SetObjectStatus(tsLoading);
    ready_ = false;
    loading_ = true;
    loadAbandoned_ = false;
    pauses_.ProcessEvents();
    if (!fileFound_ && !control_) {
        SetObjectStatus(tsError);
        loading_ = false;
        return;
    }
    repaint();
    ShowControl(false);
    repaint();
    control_->Open(NativePath(FileName()));

    // Waits for the control; the wait also ends when the window closes, and after the time limit.
    int waited = 0;
    while (control_->OpenState() == 0 && ObjectStatus() != tsError && !loadAbandoned_) {
        if (waited >= kOpenTimeoutMs) {
            SetObjectStatus(tsError);
            loading_ = false;
            control_->Cancel();
            ReportError("The file did not open within 30 seconds");
            return;
        }
        pauses_.Pause(kOpenPollMs);
        waited += kOpenPollMs;
    }
    loading_ = false;
    if (loadAbandoned_) {
        control_->Cancel();
        SetObjectStatus(tsStopped);
        return;
    }
    LayoutChildren();
    if (ObjectStatus() != tsError) {
        ShowControl(true);
        passCount_ = 0;
        ready_ = true;
        ApplyDisplaySize();
        if (AutoPlay())
            Play();
    }
    if (ObjectStatus() == tsLoading)
        SetObjectStatus(tsLoaded);
    pauses_.ProcessEvents();
}

void TVexaCustomWmpObj::hideEvent(QHideEvent* event) {
    TVexaVisualDynamicObj::hideEvent(event);
    if (loading_ && !event->spontaneous())
        loadAbandoned_ = true;
}

void TVexaCustomWmpObj::UnLoadObject() {
    TVexaVisualDynamicObj::UnLoadObject();
    if (!ready_)
        return;
    ready_ = false;
    control_->Stop();
    control_->Cancel();
    ShowControl(false);
}

void TVexaCustomWmpObj::Play() {
    TVexaVisualDynamicObj::Play();
    if (!ready_ || ObjectStatus() == tsNone || ObjectStatus() == tsError)
        return;
    finishPending_ = false;
    control_->Play();
    ShowControl(true);
    pauses_.ProcessEvents();
    SetObjectStatus(tsPlaying);
}

void TVexaCustomWmpObj::Pause() {
    TVexaVisualDynamicObj::Pause();
    if (!ready_)
        return;
    if (ObjectStatus() == tsPlaying || ObjectStatus() == tsPaused)
        control_->Pause();
    SetObjectStatus(tsPaused);
}

void TVexaCustomWmpObj::Stop() {
    TVexaVisualDynamicObj::Stop();
    if (!ready_ || !control_ || ObjectStatus() == tsStopped)
        return;
    const bool seeking = SeekInProgress;
    SeekInProgress = true;
    control_->Stop();
    SeekTo(StartMarker());
    SeekInProgress = seeking;
    SetObjectStatus(tsStopped);
}

void TVexaCustomWmpObj::SeekTo(int position) {
    TVexaVisualDynamicObj::SeekTo(position);
    if (!ready_ || ObjectStatus() == tsNone || ObjectStatus() == tsError)
        return;
    if (SeekInProgress)
        ++ownSeeksPending_; // its notification, whenever it comes, is no end of a pass
    control_->SetCurrentPosition(position);
    ShowControl(true);
}

void TVexaCustomWmpObj::TimerTick() {
    long long position = 0;
    long long duration = 0;
    if (ready_) {
        const int wantedMode = ObjectFormat() == tuFrames ? 1 : 0;
        if (control_->DisplayMode() != wantedMode)
            control_->SetDisplayMode(wantedMode);
        const double scale = ObjectFormat() == tuMilliseconds ? 1000.0 : 1.0;
        position = RoundHalfEven(control_->CurrentPosition() * scale);
        duration = RoundHalfEven(control_->Length() * scale);
    }
    SetPosition(static_cast<int>(std::max<long long>(position, 0)));
    StoreDuration(static_cast<int>(std::max<long long>(duration, 0)));
    TVexaVisualDynamicObj::TimerTick();
    if (finishPending_) {
        exitCode_ = "NEXT";
        finishPending_ = false;
        DoOnFinished(this, "NEXT");
    }
}

void TVexaCustomWmpObj::ControlPositionChange() {
    // Each own seek brings exactly one notification; while one is outstanding, this is taken as
    // it, so the passes come out right however late the notifications arrive.
    const bool ownSeek = ownSeeksPending_ > 0;
    if (ownSeek)
        --ownSeeksPending_;
    if (PlayCount() == 0)
        return;
    if (!ownSeek)
        ++passCount_;
    SeekInProgress = false;
    const int limit = PlayCount() + ((StartMarker() != 0 || EndMarker() != 0) ? 1 : 0);
    if (ObjectStatus() != tsPlaying)
        return;
    if (passCount_ >= limit) {
        passCount_ = 0;
        if (RunningMode() != tmProperties) {
            Stop();
            SetObjectStatus(tsStopped);
            finishPending_ = true;
        }
    } else {
        Play();
    }
}

void TVexaCustomWmpObj::UpdateDuration() {
    TVexaVisualDynamicObj::UpdateDuration();
    const int oldDuration = Duration();
    int newDuration = 0;
    if (control_) {
        control_->SetDisplayMode(0);
        const double scale = ObjectFormat() == tuMilliseconds ? 1000.0 : 1.0;
        newDuration = static_cast<int>(RoundHalfEven(control_->Length() * scale));
    }
    if (StartMarker() != 0 || EndMarker() != 0)
        StoreMarkers(RescaleMarker(StartMarker(), newDuration, oldDuration),
                     RescaleMarker(EndMarker(), newDuration, oldDuration));
    StoreDuration(newDuration);
    UpdateParameters();
    if (OnDurationRecomputeEnds)
        OnDurationRecomputeEnds();
}

void TVexaCustomWmpObj::ApplySize() {
    ApplyDisplaySize();
}

void TVexaCustomWmpObj::ApplyDisplaySize() {
    if (!control_ || !containerPanel_)
        return;
    int mode = 4;
    switch (Size()) {
    case szHalfSize:
        mode = 1;
        break;
    case szOriginalSize:
        mode = 0;
        break;
    case szDoubleSize:
        mode = 2;
        break;
    case szFitToSize:
        mode = 4;
        break;
    }
    control_->SetDisplaySize(mode);
}

void TVexaCustomWmpObj::resizeEvent(QResizeEvent* event) {
    TVexaVisualDynamicObj::resizeEvent(event);
    ApplyDisplaySize();
}

void TVexaCustomWmpObj::LayoutChildren() {
    TVexaVisualDynamicObj::LayoutChildren();
    const QRect area = PictureArea();
    if (containerPanel_)
        containerPanel_->setGeometry(area);
    if (control_)
        control_->View()->setGeometry(area);
}

void TVexaCustomWmpObj::ControlClick() {
    DoOnClick(this);
}

void TVexaCustomWmpObj::ControlMouseDown(bool rightButton) {
    if (rightButton)
        DoPopup();
}

void TVexaCustomWmpObj::ControlError() {
    SetObjectStatus(tsError);
    ReportError(control_ ? control_->ErrorDescription() : std::string());
}

void TVexaCustomWmpObj::ReportError(const std::string& description) {
    const std::string text =
        "An error has occured while trying to decompress the stream\r" + description;
    if (EnableWarnings())
        throw VexaError(text);
    if (OnError)
        OnError(this);
}

#pragma once

#include "platform/Pauses.h"
#include "player/MediaControl.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

// Virtual time: each pause advances the clock at once and lets the test's script act.
class VirtualPauses : public Pauses {
public:
    long long now = 0;
    int processed = 0;
    std::function<void(long long now)> onTime;

    void Pause(int milliseconds) override {
        now += milliseconds;
        if (onTime)
            onTime(now);
    }
    void ProcessEvents() override {
        ++processed;
        if (onTime)
            onTime(now);
    }
};

// A scripted playback control: records what it was asked to do; the test sets what it reports
// and raises its notifications. Like the GStreamer control, it reports a seek queued, after the
// call: DeliverNotifications() (or the event loop) hands the reports over.
class FakeMediaControl : public MediaControl {
public:
    FakeMediaControl() : view_(new QWidget) {}
    ~FakeMediaControl() override {
        if (view_ && !view_->parent())
            delete view_;
    }

    std::vector<std::string> calls;
    int openState = 0;
    double position = 0;
    double length = 0;
    int displayMode = -1;
    double rate = -1;
    int volume = 1;
    bool mute = true;
    int balance = 1;
    int displaySize = -1;
    bool enabled = true;
    std::string error;

    QWidget* View() override { return view_; }
    void Open(const std::string& path) override { calls.push_back("Open " + path); }
    int OpenState() const override { return openState; }
    void Play() override { calls.push_back("Play"); }
    void Pause() override { calls.push_back("Pause"); }
    void Stop() override { calls.push_back("Stop"); }
    void Cancel() override { calls.push_back("Cancel"); }
    int DisplayMode() const override { return displayMode; }
    void SetDisplayMode(int mode) override { displayMode = mode; }
    double CurrentPosition() const override { return position; }
    void SetCurrentPosition(double p) override {
        position = p;
        calls.push_back("Seek " + std::to_string(static_cast<int>(p)));
        QMetaObject::invokeMethod(
            &notifier_,
            [this] {
                if (PositionChanged)
                    PositionChanged();
            },
            Qt::QueuedConnection);
    }
    void DeliverNotifications() {
        QCoreApplication::sendPostedEvents(&notifier_, QEvent::MetaCall);
    }
    double Length() const override { return length; }
    void SetRate(double r) override { rate = r; }
    void SetVolume(int v) override { volume = v; }
    void SetMute(bool m) override { mute = m; }
    void SetBalance(int b) override { balance = b; }
    void SetDisplaySize(int s) override { displaySize = s; }
    void SetEnabled(bool e) override { enabled = e; }
    std::string ErrorDescription() const override { return error; }

    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls)
            n += c == call;
        return n;
    }

private:
    QPointer<QWidget> view_;
    QObject notifier_; // queued reports die with the control
};

// A factory that hands out one fake and remembers it.
inline MediaControlFactory FakeMediaControlFactory(FakeMediaControl*& made) {
    return [&made]() -> std::unique_ptr<MediaControl> {
        auto control = std::make_unique<FakeMediaControl>();
        made = control.get();
        return control;
    };
}

#pragma once

#include "player/GstVideoView.h"
#include "player/MediaControl.h"
#include "player/PipelineWorker.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GstSample GstSample;

// Playback through a GStreamer playbin: video frames (BGRx, at the movie's size) arrive through an
// appsink with quality-of-service on, so late frames are dropped, and are painted in the view;
// audio goes to the sound device, or to a fake sink when none answers; balance is an
// audiopanorama filter; rate is a seek with that rate. Whatever can wait on the file system or the
// pipeline (opening, state changes, seeks) runs on a worker thread; the interface thread only
// queries. A pass also ends when the position runs past the reported duration or stands still.
// Each open and each seek is a request with a token (PipelineWorker); a message of the pipeline
// carries the token of the request it answers, and one about an earlier request is stale.
class GstMediaControl : public QObject, public MediaControl {
public:
    GstMediaControl();
    ~GstMediaControl() override;
    bool Playable() const { return pipeline_ != nullptr; }

    QWidget* View() override { return view_; }
    void Open(const std::string& nativePath) override;
    int OpenState() const override { return prerolled_ ? 1 : 0; }
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Cancel() override;
    int DisplayMode() const override { return displayMode_; }
    void SetDisplayMode(int mode) override { displayMode_ = mode; }
    double CurrentPosition() const override;
    void SetCurrentPosition(double position) override;
    double Length() const override;
    void SetRate(double rate) override;
    void SetVolume(int volume) override;
    void SetMute(bool mute) override;
    void SetBalance(int balance) override;
    void SetDisplaySize(int size) override { view_->SetDisplaySize(size); }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    std::string ErrorDescription() const override { return error_; }
    std::string MissingPartsAdvice() const override { return missingAdvice_; }

    // How long the destructor waits for the worker before leaving it behind.
    static constexpr int kCloseLimitMs = 2000;

private:
    static int BusSyncHandler(void* bus, GstMessage* message, void* self);
    static int NewSample(void* sink, void* self);
    static int NewPreroll(void* sink, void* self);
    void TakeSample(GstSample* sample);
    bool Stale(GstMessage* message, RequestToken token) const;
    void HandleMessage(GstMessage* message);
    void Fail(const std::string& description);
    void EndPass();
    void CheckPass();
    void SetState(int state);
    void SeekSeconds(double seconds);
    double PositionSeconds() const;
    double FramesPerSecond() const;
    void Notify(const std::function<void()>& handler);

    GstElement* pipeline_ = nullptr;
    GstElement* videoSink_ = nullptr; // the bin that converts for the appsink
    GstElement* appSink_ = nullptr;
    GstElement* panorama_ = nullptr;
    GstVideoView* view_;
    std::shared_ptr<PipelineWorker> worker_;
    QTimer* passWatch_;
    QElapsedTimer sinceMoved_;
    double watchedPosition_ = -1;
    QElapsedTimer playClock_; // since the last play or seek
    double playedFrom_ = 0;   // the position then
    // The requests (see PipelineWorker): each message carries the token of the one it answers.
    RequestToken newest_ = 0;  // the newest open or seek
    RequestToken opening_ = 0; // the open of the file now open
    RequestToken seeking_ = 0; // the newest seek while the worker has not made it, else 0
    bool opened_ = false;
    bool prerolled_ = false;
    bool playing_ = false;
    bool errorReported_ = false;
    bool enabled_ = true;
    int displayMode_ = 1;
    double rate_ = 1.0;
    mutable double lastPosition_ = 0;
    mutable double lastLength_ = 0;
    mutable double fps_ = 0;
    std::string error_;
    std::string missingDescription_;
    std::string missingAdvice_;
};

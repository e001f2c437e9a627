#pragma once

#include "player/MediaControl.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>
#include <mutex>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GstSample GstSample;

// The picture of a GStreamer control: the latest video frame, at the movie's own size, scaled once
// by the paint to the chosen display size and centred, with black bars around it.
class GstVideoView : public QWidget {
public:
    explicit GstVideoView(QWidget* parent = nullptr);
    void SetFrame(QImage frame);
    // From any thread: the frame replaces one not yet shown, and one repaint is queued.
    void PostFrame(QImage frame);
    void ClearFrame();
    void SetDisplaySize(int size);
    QImage Frame() const;
    // Where a movie frame of the given size is drawn.
    QRect TargetRect(const QSize& frameSize) const;

    std::function<void()> clicked;
    std::function<void(bool rightButton)> mouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    mutable std::mutex mutex_;
    QImage frame_;
    QImage pending_; // posted from a streaming thread, not yet taken
    bool pendingPosted_ = false;
    int displaySize_ = 4;
};

class PipelineWorker;

// Playback through a GStreamer playbin: video frames (BGRx, at the movie's size) arrive through an
// appsink with quality-of-service on, so late frames are dropped, and are painted in the view;
// audio goes to the sound device, or to a fake sink when none answers; balance is an
// audiopanorama filter; rate is a seek with that rate. Whatever can wait on the file system or the
// pipeline (opening, state changes, seeks) runs on a worker thread; the interface thread only
// queries. A pass also ends when the position runs past the reported duration or stands still.
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
    void HandleMessage(GstMessage* message, unsigned generation);
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
    // Counts opens, seeks and ends of passes: a bus message posted before the latest of them
    // belongs to what came before and is dropped.
    std::atomic<unsigned> generation_{0};
    int seeksPending_ = 0; // seeks asked of the worker and not yet done
    unsigned opens_ = 0;   // tells a late answer about the file from one about a newer file
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

#pragma once

#include "player/MediaControl.h"

#include <QImage>
#include <QObject>
#include <QWidget>

#include <mutex>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GstSample GstSample;

// The picture of a GStreamer control: the latest video frame, painted at the chosen display size
// and centred, with black bars around it. The frame normally arrives already scaled to its place
// (WantedFrameSize asks the pipeline for that size), so a paint only copies it.
class GstVideoView : public QWidget {
public:
    explicit GstVideoView(QWidget* parent = nullptr);
    // A frame and the size of the movie it was scaled from (its own size when not scaled).
    void SetFrame(QImage frame, QSize movieSize);
    void SetFrame(QImage frame) { SetFrame(frame, frame.size()); }
    // From any thread: the frame replaces one not yet shown, and one repaint is queued.
    void PostFrame(QImage frame, QSize movieSize);
    void ClearFrame();
    void SetDisplaySize(int size);
    QImage Frame() const;
    // Where a movie frame of the given size is drawn.
    QRect TargetRect(const QSize& frameSize) const;

    std::function<void()> clicked;
    std::function<void(bool rightButton)> mouseDown;
    // Called when the size frames should arrive at changes (view size, display size, movie).
    std::function<void(QSize)> frameSizeWanted;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateWantedSize();

    mutable std::mutex mutex_;
    QImage frame_;
    QSize movieSize_;
    QImage pending_; // posted from a streaming thread, not yet taken
    QSize pendingMovieSize_;
    bool pendingPosted_ = false;
    QSize wanted_;
    int displaySize_ = 4;
};

// Playback through a GStreamer playbin: video frames (BGRx) arrive through an appsink and are
// painted in the view; audio goes to the sound device, or to a fake sink when none answers;
// balance is an audiopanorama filter; rate is a seek with that rate.
class GstMediaControl : public QObject, public MediaControl {
public:
    GstMediaControl();
    ~GstMediaControl() override;
    bool Valid() const { return pipeline_ != nullptr; }

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

private:
    static int BusSyncHandler(void* bus, GstMessage* message, void* self);
    static int NewSample(void* sink, void* self);
    static int NewPreroll(void* sink, void* self);
    void TakeSample(GstSample* sample);
    void WantFrameSize(QSize size);
    void HandleMessage(GstMessage* message);
    void SeekSeconds(double seconds);
    double FramesPerSecond() const;
    void Notify(const std::function<void()>& handler);

    GstElement* pipeline_ = nullptr;
    GstElement* videoSink_ = nullptr;   // the bin that converts and scales for the appsink
    GstElement* frameFilter_ = nullptr; // its caps filter: format and wanted size
    GstElement* panorama_ = nullptr;
    GstVideoView* view_;
    bool opened_ = false;
    bool prerolled_ = false;
    bool errorReported_ = false;
    bool enabled_ = true;
    int displayMode_ = 1;
    double rate_ = 1.0;
    mutable double lastPosition_ = 0;
    mutable double lastLength_ = 0;
    mutable double fps_ = 0;
    std::string error_;
};

#include "player/GstMediaControl.h"

#include "player/MovieElements.h"
#include "player/PlayerRules.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <memory>
#include <thread>

namespace {

// The first sound output that opens, or none (then audio goes to a fake sink).
std::string ChooseAudioSink() {
    static const std::string chosen = [] {
        for (const char* name : {"pulsesink", "alsasink"}) {
            GstElement* sink = gst_element_factory_make(name, nullptr);
            if (!sink)
                continue;
            const GstStateChangeReturn result = gst_element_set_state(sink, GST_STATE_READY);
            gst_element_set_state(sink, GST_STATE_NULL);
            gst_object_unref(sink);
            if (result == GST_STATE_CHANGE_SUCCESS)
                return std::string(name);
        }
        return std::string();
    }();
    return chosen;
}

} // namespace

// ---- GstVideoView ----

GstVideoView::GstVideoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Movie"));
}

void GstVideoView::SetFrame(QImage frame) {
    QSize before;
    {
        std::lock_guard lock(mutex_);
        before = frame_.size();
        frame_ = std::move(frame);
    }
    // A frame of the same size repaints only its own place; the bars stay as they are.
    if (!before.isEmpty() && before == Frame().size())
        update(TargetRect(before));
    else
        update();
}

void GstVideoView::PostFrame(QImage frame) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(frame); // an older frame not yet shown is dropped here
        if (pendingPosted_)
            return;
        pendingPosted_ = true;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            QImage frame;
            {
                std::lock_guard lock(mutex_);
                frame = std::move(pending_);
                pending_ = QImage();
                pendingPosted_ = false;
            }
            if (!frame.isNull())
                SetFrame(std::move(frame));
        },
        Qt::QueuedConnection);
}

void GstVideoView::ClearFrame() {
    {
        std::lock_guard lock(mutex_);
        pending_ = QImage();
    }
    SetFrame(QImage());
}

QImage GstVideoView::Frame() const {
    std::lock_guard lock(mutex_);
    return frame_;
}

void GstVideoView::SetDisplaySize(int size) {
    displaySize_ = size;
    update();
}

QRect GstVideoView::TargetRect(const QSize& frameSize) const {
    QSize size = frameSize;
    switch (displaySize_) {
    case 1:
        size = frameSize / 2;
        break;
    case 2:
        size = frameSize * 2;
        break;
    case 4:
        size = frameSize.scaled(this->size(), Qt::KeepAspectRatio);
        break;
    default:
        break;
    }
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void GstVideoView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QImage frame = Frame();
    if (frame.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    const QRect target = TargetRect(frame.size());
    // Only the letterbox bars are filled; the frame covers the rest.
    for (const QRect& bar : event->region().subtracted(QRegion(target)))
        p.fillRect(bar, Qt::black);
    // The one scaling of the frame, straight into the window's buffer.
    p.drawImage(target, frame);
}

void GstVideoView::mousePressEvent(QMouseEvent* event) {
    if (mouseDown)
        mouseDown(event->button() == Qt::RightButton);
}

void GstVideoView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        clicked)
        clicked();
}

// ---- PipelineWorker ----

// One thread that runs the pipeline's slow calls in the order they were asked for. It outlives its
// control when a call never returns: the control then leaves it behind instead of waiting.
class PipelineWorker {
public:
    static std::shared_ptr<PipelineWorker> Start(QObject* owner) {
        auto worker = std::make_shared<PipelineWorker>();
        worker->owner_ = owner;
        std::thread([worker] { worker->Run(); }).detach();
        return worker;
    }

    void Post(std::function<void()> task) {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        changed_.notify_all();
    }

    // From a task: runs `reply` on the owner's thread, unless the owner has gone.
    void Reply(std::function<void()> reply) {
        std::lock_guard lock(mutex_);
        if (owner_)
            QMetaObject::invokeMethod(owner_, std::move(reply), Qt::QueuedConnection);
    }

    // The open the pipeline's messages are about: set on this thread while the pipeline is at NULL.
    std::atomic<unsigned> busOpening{0};

    // Ends the thread after the queued tasks; waits at most limitMs. False when it is still busy.
    bool Finish(int limitMs) {
        std::unique_lock lock(mutex_);
        owner_ = nullptr;
        stopping_ = true;
        changed_.notify_all();
        return changed_.wait_for(lock, std::chrono::milliseconds(limitMs),
                                 [this] { return finished_; });
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (tasks_.empty())
                break;
            std::function<void()> task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
        finished_ = true;
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    QObject* owner_ = nullptr;
    bool stopping_ = false;
    bool finished_ = false;
};

// ---- GstMediaControl ----

namespace {
// How long a late frame may still be shown; later ones are dropped, and the decoder is told to
// catch up (the figure of the usual video sinks).
constexpr gint64 kMaxLatenessNs = 20 * GST_MSECOND;
constexpr int kPassWatchMs = 100;

bool ElementAvailable(const std::string& name) {
    GstElementFactory* factory = gst_element_factory_find(name.c_str());
    if (factory)
        gst_object_unref(factory);
    return factory != nullptr;
}
} // namespace

GstMediaControl::GstMediaControl()
    : view_(new GstVideoView), worker_(PipelineWorker::Start(this)), passWatch_(new QTimer(this)) {
    view_->clicked = [this] { Notify(Clicked); };
    view_->mouseDown = [this](bool right) {
        if (MouseDown)
            MouseDown(right);
    };
    passWatch_->setInterval(kPassWatchMs);
    connect(passWatch_, &QTimer::timeout, this, [this] { CheckPass(); });

    const MissingMovieElements missing = FindMissingMovieElements(&ElementAvailable);
    if (!missing.Empty()) {
        missingDescription_ = missing.Description();
        missingAdvice_ = missing.Advice();
        return; // every Open reports them
    }
    pipeline_ = gst_element_factory_make("playbin", nullptr);
    // Conversion to BGRx at the movie's own size; the view's paint scales each frame once, on its
    // way into the window. QoS drops frames that come too late, so the picture keeps to the clock.
    const char* description = "videoconvert ! capsfilter caps=video/x-raw,format=BGRx"
                              " ! appsink name=sink sync=true qos=true max-buffers=2 drop=true";
    videoSink_ = gst_parse_bin_from_description(description, TRUE, nullptr);
    appSink_ = videoSink_ ? gst_bin_get_by_name(GST_BIN(videoSink_), "sink") : nullptr;
    if (!pipeline_ || !appSink_) {
        for (GstElement* element : {pipeline_, videoSink_, appSink_})
            if (element)
                gst_object_unref(element);
        pipeline_ = videoSink_ = appSink_ = nullptr;
        return;
    }
    g_object_set(appSink_, "max-lateness", kMaxLatenessNs, nullptr);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample =
        reinterpret_cast<GstFlowReturn (*)(GstAppSink*, gpointer)>(&GstMediaControl::NewSample);
    callbacks.new_preroll =
        reinterpret_cast<GstFlowReturn (*)(GstAppSink*, gpointer)>(&GstMediaControl::NewPreroll);
    gst_app_sink_set_callbacks(GST_APP_SINK(appSink_), &callbacks, this, nullptr);
    gst_object_ref(videoSink_); // kept for FramesPerSecond
    g_object_set(pipeline_, "video-sink", videoSink_, nullptr);
    // The bin converts itself; playbin's own converter would only pass frames on.
    guint flags = 0;
    g_object_get(pipeline_, "flags", &flags, nullptr);
    g_object_set(pipeline_, "flags", flags | 0x40u /* native-video */, nullptr);

    const std::string audio = ChooseAudioSink();
    GstElement* audioSink = audio.empty() ? gst_element_factory_make("fakesink", nullptr)
                                          : gst_element_factory_make(audio.c_str(), nullptr);
    if (audioSink) {
        if (audio.empty())
            g_object_set(audioSink, "sync", TRUE, nullptr);
        g_object_set(pipeline_, "audio-sink", audioSink, nullptr);
    }
    panorama_ = gst_element_factory_make("audiopanorama", nullptr);
    if (panorama_) {
        gst_object_ref(panorama_);
        g_object_set(pipeline_, "audio-filter", panorama_, nullptr);
    }

    GstBus* bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(
        bus, reinterpret_cast<GstBusSyncHandler>(&GstMediaControl::BusSyncHandler), this, nullptr);
    gst_object_unref(bus);
}

GstMediaControl::~GstMediaControl() {
    passWatch_->stop();
    if (pipeline_) {
        // Nothing of the pipeline may reach this object any more, even if the worker is left
        // behind.
        GstAppSinkCallbacks none{};
        gst_app_sink_set_callbacks(GST_APP_SINK(appSink_), &none, nullptr, nullptr);
        GstBus* bus = gst_element_get_bus(pipeline_);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        worker_->Post([pipeline = pipeline_,
                       elements = std::vector<GstElement*>{panorama_, videoSink_, appSink_}] {
            gst_element_set_state(pipeline, GST_STATE_NULL);
            gst_object_unref(pipeline);
            for (GstElement* element : elements)
                if (element)
                    gst_object_unref(element);
        });
    }
    // A call that never returns (a file system that does not answer) keeps the pipeline; the
    // window closes all the same.
    worker_->Finish(kCloseLimitMs);
    // The view belongs to whichever widget the media object placed it in.
    if (!view_->parent())
        delete view_;
}

void GstMediaControl::Notify(const std::function<void()>& handler) {
    if (handler)
        handler();
}

int GstMediaControl::BusSyncHandler(void*, GstMessage* message, void* self) {
    auto* control = static_cast<GstMediaControl*>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ASYNC_DONE: {
        std::shared_ptr<GstMessage> held(gst_message_ref(message), gst_message_unref);
        const unsigned opening = control->worker_->busOpening.load();
        const unsigned generation = control->generation_.load();
        QMetaObject::invokeMethod(
            control,
            [control, held, opening, generation] {
                if (opening == control->opens_) // not about an earlier file
                    control->HandleMessage(held.get(), generation);
            },
            Qt::QueuedConnection);
        break;
    }
    default:
        break;
    }
    return GST_BUS_DROP;
}

int GstMediaControl::NewSample(void* sink, void* self) {
    GstSample* sample = gst_app_sink_pull_sample(static_cast<GstAppSink*>(sink));
    if (sample) {
        static_cast<GstMediaControl*>(self)->TakeSample(sample);
        gst_sample_unref(sample);
    }
    return GST_FLOW_OK;
}

int GstMediaControl::NewPreroll(void* sink, void* self) {
    GstSample* sample = gst_app_sink_pull_preroll(static_cast<GstAppSink*>(sink));
    if (sample) {
        static_cast<GstMediaControl*>(self)->TakeSample(sample);
        gst_sample_unref(sample);
    }
    return GST_FLOW_OK;
}

namespace {
// A mapped video frame kept alive for as long as a QImage shows it. The mapping holds its own
// reference to the buffer: the sample goes back to the sink, which reuses it.
struct HeldFrame {
    GstVideoFrame frame;
};

void ReleaseHeldFrame(void* held) {
    auto* h = static_cast<HeldFrame*>(held);
    gst_video_frame_unmap(&h->frame);
    delete h;
}
} // namespace

// Runs on a streaming thread: the view gets a reference to the decoded frame, no copy; it
// repaints on the interface thread.
void GstMediaControl::TakeSample(GstSample* sample) {
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)))
        return;
    auto* held = new HeldFrame{};
    if (!gst_video_frame_map(&held->frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ)) {
        delete held;
        return;
    }
    const QImage image(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&held->frame, 0)),
                       GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                       GST_VIDEO_FRAME_PLANE_STRIDE(&held->frame, 0), QImage::Format_RGB32,
                       &ReleaseHeldFrame, held);
    view_->PostFrame(image);
}

void GstMediaControl::SetState(int state) {
    if (!pipeline_)
        return;
    worker_->Post([pipeline = pipeline_, state] {
        gst_element_set_state(pipeline, static_cast<GstState>(state));
    });
}

void GstMediaControl::Fail(const std::string& description) {
    if (errorReported_)
        return;
    errorReported_ = true;
    error_ = description;
    playing_ = false;
    passWatch_->stop();
    SetState(GST_STATE_NULL);
    Notify(ErrorOccurred);
}

void GstMediaControl::HandleMessage(GstMessage* message, unsigned generation) {
    if (!opened_)
        return; // left over from a file that was closed
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(message, &error, &debug);
        const std::string text = error ? error->message : "Unknown error";
        if (error)
            g_error_free(error);
        g_free(debug);
        Fail(text);
        break;
    }
    case GST_MESSAGE_EOS:
        // An end from before the latest seek or end of a pass has been dealt with already.
        if (generation == generation_.load())
            EndPass();
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_) && !errorReported_)
            prerolled_ = true;
        break;
    default:
        break;
    }
}

// The end of a pass: back to the start, stopped there, as a rewinding player does.
void GstMediaControl::EndPass() {
    playing_ = false;
    passWatch_->stop();
    SetState(GST_STATE_PAUSED);
    SeekSeconds(0);
    lastPosition_ = 0;
    Notify(PositionChanged);
}

// While playing: the stream's own end may never come when its timing is damaged.
void GstMediaControl::CheckPass() {
    if (!playing_ || !prerolled_ || errorReported_)
        return;
    if (seeksPending_ > 0) { // the position is the old one until the seek is done
        watchedPosition_ = -1;
        sinceMoved_.restart();
        return;
    }
    const double position = PositionSeconds();
    if (position != watchedPosition_) {
        watchedPosition_ = position;
        sinceMoved_.restart();
    }
    Length();
    const double clockPosition = playedFrom_ + playClock_.elapsed() / 1000.0 * rate_;
    if (PassRanOut(position, clockPosition, lastLength_, sinceMoved_.elapsed() / 1000.0))
        EndPass();
}

void GstMediaControl::Open(const std::string& nativePath) {
    Cancel();
    error_.clear();
    errorReported_ = false;
    lastPosition_ = lastLength_ = fps_ = 0;
    opened_ = true;
    const unsigned opening = ++opens_;
    auto failLater = [this, opening](std::string description) {
        return [this, opening, description] {
            if (opened_ && opening == opens_)
                Fail(description);
        };
    };
    if (!pipeline_) {
        QMetaObject::invokeMethod(
            this,
            failLater(missingDescription_.empty() ? "No playback pipeline" : missingDescription_),
            Qt::QueuedConnection);
        return;
    }
    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(nativePath.c_str(), &error);
    if (!uri) {
        const std::string text = error ? error->message : "Invalid file name";
        if (error)
            g_error_free(error);
        QMetaObject::invokeMethod(this, failLater(text), Qt::QueuedConnection);
        return;
    }
    // On the worker: looking at the file can wait on a slow file system, and the file source
    // opens the file while the pipeline goes to PAUSED; a FIFO or a device would block it for ever.
    std::weak_ptr<PipelineWorker> worker = worker_;
    worker_->Post([worker, opening, pipeline = pipeline_, path = nativePath, uri = std::string(uri),
                   failLater] {
        struct stat info {};
        if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            if (auto w = worker.lock())
                w->Reply(failLater("The movie is not a regular file"));
            return;
        }
        g_object_set(pipeline, "uri", uri.c_str(), nullptr);
        // The pipeline is at NULL here: what it reports from now on is about this file.
        if (auto w = worker.lock())
            w->busOpening = opening;
        gst_element_set_state(pipeline, GST_STATE_PAUSED);
    });
    g_free(uri);
}

void GstMediaControl::Play() {
    if (!opened_ || errorReported_)
        return;
    playing_ = true;
    watchedPosition_ = -1;
    sinceMoved_.start();
    passWatch_->start();
    SetState(GST_STATE_PLAYING);
    if (rate_ != 1.0)
        SeekSeconds(PositionSeconds());
    playedFrom_ = PositionSeconds();
    playClock_.start();
}

void GstMediaControl::Pause() {
    if (!opened_ || errorReported_)
        return;
    playing_ = false;
    passWatch_->stop();
    SetState(GST_STATE_PAUSED);
}

void GstMediaControl::Stop() {
    Pause();
}

void GstMediaControl::Cancel() {
    opened_ = false;
    prerolled_ = false;
    playing_ = false;
    passWatch_->stop();
    ++opens_;
    ++generation_;
    SetState(GST_STATE_NULL);
    view_->ClearFrame();
}

double GstMediaControl::FramesPerSecond() const {
    if (fps_ > 0 || !videoSink_)
        return fps_;
    GstPad* pad = gst_element_get_static_pad(videoSink_, "sink");
    if (!pad)
        return 0;
    if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        const GstStructure* s = gst_caps_get_structure(caps, 0);
        int num = 0, den = 1;
        if (gst_structure_get_fraction(s, "framerate", &num, &den) && num > 0 && den > 0)
            fps_ = static_cast<double>(num) / den;
        gst_caps_unref(caps);
    }
    gst_object_unref(pad);
    return fps_;
}

double GstMediaControl::PositionSeconds() const {
    // Until a seek is done the pipeline still reports the old position.
    if (opened_ && prerolled_ && pipeline_ && seeksPending_ == 0) {
        gint64 position = 0;
        if (gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) && position >= 0)
            lastPosition_ = static_cast<double>(position) / GST_SECOND;
    }
    return lastPosition_;
}

double GstMediaControl::CurrentPosition() const {
    const double seconds = PositionSeconds();
    const double fps = displayMode_ == 1 ? FramesPerSecond() : 0;
    return fps > 0 ? seconds * fps : seconds;
}

double GstMediaControl::Length() const {
    if (opened_ && prerolled_ && pipeline_) {
        gint64 duration = 0;
        if (gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) && duration > 0)
            lastLength_ = static_cast<double>(duration) / GST_SECOND;
    }
    const double fps = displayMode_ == 1 ? FramesPerSecond() : 0;
    return fps > 0 ? lastLength_ * fps : lastLength_;
}

void GstMediaControl::SeekSeconds(double seconds) {
    if (!opened_ || errorReported_ || !pipeline_)
        return;
    ++generation_; // an end of the stream from before the seek no longer counts
    const gint64 target = static_cast<gint64>(std::max(seconds, 0.0) * GST_SECOND);
    lastPosition_ = std::max(seconds, 0.0);
    playedFrom_ = lastPosition_;
    playClock_.start();
    ++seeksPending_;
    std::weak_ptr<PipelineWorker> worker = worker_;
    worker_->Post([this, worker, pipeline = pipeline_, rate = rate_, target] {
        gst_element_seek(pipeline, rate, GST_FORMAT_TIME,
                         static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                         GST_SEEK_TYPE_SET, target, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
        if (auto w = worker.lock())
            w->Reply([this] { --seeksPending_; });
    });
}

void GstMediaControl::SetCurrentPosition(double position) {
    const double fps = displayMode_ == 1 ? FramesPerSecond() : 0;
    const double seconds = fps > 0 ? position / fps : position;
    SeekSeconds(seconds);
    lastPosition_ = std::max(seconds, 0.0);
    QMetaObject::invokeMethod(
        this, [this] { Notify(PositionChanged); }, Qt::QueuedConnection);
}

void GstMediaControl::SetRate(double rate) {
    if (rate == rate_ || rate <= 0)
        return;
    rate_ = rate;
    if (prerolled_)
        SeekSeconds(PositionSeconds());
}

void GstMediaControl::SetVolume(int volume) {
    if (pipeline_)
        g_object_set(pipeline_, "volume", std::pow(10.0, volume / 2000.0), nullptr);
}

void GstMediaControl::SetMute(bool mute) {
    if (pipeline_)
        g_object_set(pipeline_, "mute", mute ? TRUE : FALSE, nullptr);
}

void GstMediaControl::SetBalance(int balance) {
    if (panorama_)
        g_object_set(panorama_, "panorama",
                     static_cast<gfloat>(std::clamp(balance / 10000.0, -1.0, 1.0)), nullptr);
}

MediaControlFactory GstMediaControlFactory() {
    return []() -> std::unique_ptr<MediaControl> {
        if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
            return nullptr;
        auto control = std::make_unique<GstMediaControl>();
        // Missing elements are reported by the control when it opens a movie.
        if (!control->Playable() && control->MissingPartsAdvice().empty())
            return nullptr;
        return control;
    };
}

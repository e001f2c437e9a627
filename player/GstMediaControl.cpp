#include "player/GstMediaControl.h"

#include "player/MovieElements.h"
#include "player/PlayerRules.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <memory>

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
        const RequestToken token = control->worker_->answering.load();
        QMetaObject::invokeMethod(
            control,
            [control, held, token] {
                if (!control->Stale(held.get(), token))
                    control->HandleMessage(held.get());
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

// A message answers the request whose token it carries. Errors and the end of the preroll are
// about the file: stale when they come from before its open (or it was closed). An end of the
// stream is about the newest request: stale when a seek or the end of a pass came after it.
bool GstMediaControl::Stale(GstMessage* message, RequestToken token) const {
    if (!opened_ || token < opening_)
        return true;
    return GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS && token != newest_;
}

void GstMediaControl::HandleMessage(GstMessage* message) {
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
    if (seeking_ != 0) { // the position is the old one until the seek is done
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
    const RequestToken opening = opening_ = ++newest_;
    auto failLater = [this, opening](std::string description) {
        return [this, opening, description] {
            if (opened_ && opening == opening_)
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
            w->answering = opening;
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
    seeking_ = 0;
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
    if (opened_ && prerolled_ && pipeline_ && seeking_ == 0) {
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
    const RequestToken seek = seeking_ = ++newest_;
    const gint64 target = static_cast<gint64>(std::max(seconds, 0.0) * GST_SECOND);
    lastPosition_ = std::max(seconds, 0.0);
    playedFrom_ = lastPosition_;
    playClock_.start();
    std::weak_ptr<PipelineWorker> worker = worker_;
    worker_->Post([this, worker, pipeline = pipeline_, rate = rate_, target, seek] {
        if (auto w = worker.lock())
            w->answering = seek;
        gst_element_seek(pipeline, rate, GST_FORMAT_TIME,
                         static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                         GST_SEEK_TYPE_SET, target, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
        if (auto w = worker.lock())
            w->Reply([this, seek] {
                if (seeking_ == seek)
                    seeking_ = 0;
            });
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

#include "player/GstMediaControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

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

} // namespace

// ---- GstVideoView ----

GstVideoView::GstVideoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Movie"));
}

void GstVideoView::SetFrame(QImage frame, QSize movieSize) {
    {
        std::lock_guard lock(mutex_);
        frame_ = std::move(frame);
        movieSize_ = movieSize;
    }
    UpdateWantedSize();
    update();
}

void GstVideoView::PostFrame(QImage frame, QSize movieSize) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(frame); // an older frame not yet shown is dropped here
        pendingMovieSize_ = movieSize;
        if (pendingPosted_)
            return;
        pendingPosted_ = true;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            QImage frame;
            QSize movieSize;
            {
                std::lock_guard lock(mutex_);
                frame = std::move(pending_);
                pending_ = QImage();
                movieSize = pendingMovieSize_;
                pendingPosted_ = false;
            }
            SetFrame(std::move(frame), movieSize);
        },
        Qt::QueuedConnection);
}

void GstVideoView::ClearFrame() {
    {
        std::lock_guard lock(mutex_);
        pending_ = QImage();
    }
    SetFrame(QImage(), QSize());
}

QImage GstVideoView::Frame() const {
    std::lock_guard lock(mutex_);
    return frame_;
}

void GstVideoView::SetDisplaySize(int size) {
    displaySize_ = size;
    UpdateWantedSize();
    update();
}

void GstVideoView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateWantedSize();
}

void GstVideoView::UpdateWantedSize() {
    QSize movieSize;
    {
        std::lock_guard lock(mutex_);
        movieSize = movieSize_;
    }
    if (movieSize.isEmpty())
        return;
    const QSize wanted = TargetRect(movieSize).size();
    if (wanted.isEmpty() || wanted == wanted_)
        return;
    wanted_ = wanted;
    if (frameSizeWanted)
        frameSizeWanted(wanted);
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

void GstVideoView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QImage frame;
    QSize movieSize;
    {
        std::lock_guard lock(mutex_);
        frame = frame_;
        movieSize = movieSize_;
    }
    if (frame.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    const QRect target = TargetRect(movieSize.isEmpty() ? frame.size() : movieSize);
    // Only the letterbox bars are filled; the frame covers the rest.
    for (const QRect& bar : QRegion(rect()).subtracted(QRegion(target)))
        p.fillRect(bar, Qt::black);
    if (frame.size() == target.size()) {
        p.drawImage(target.topLeft(), frame);
    } else {
        // Until a frame of the new size arrives (a resize, or a paused movie).
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, frame);
    }
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

// ---- GstMediaControl ----

GstMediaControl::GstMediaControl() : view_(new GstVideoView) {
    view_->clicked = [this] { Notify(Clicked); };
    view_->mouseDown = [this](bool right) {
        if (MouseDown)
            MouseDown(right);
    };
    view_->frameSizeWanted = [this](QSize size) { WantFrameSize(size); };
    pipeline_ = gst_element_factory_make("playbin", nullptr);
    // Conversion to BGRx at the movie's size, then scaling of the converted frame to the
    // picture's place, so the view paints each frame without scaling it again. (Measured: this
    // order costs less than one combined converter or than scaling before converting.)
    const char* description = "videoconvert ! videoscale"
                              " ! capsfilter name=size caps=video/x-raw,format=BGRx"
                              " ! appsink name=sink sync=true max-buffers=2 drop=true";
    videoSink_ = gst_parse_bin_from_description(description, TRUE, nullptr);
    GstElement* appSink = videoSink_ ? gst_bin_get_by_name(GST_BIN(videoSink_), "sink") : nullptr;
    frameFilter_ = videoSink_ ? gst_bin_get_by_name(GST_BIN(videoSink_), "size") : nullptr;
    if (!pipeline_ || !appSink || !frameFilter_) {
        for (GstElement* element : {pipeline_, videoSink_, appSink, frameFilter_})
            if (element)
                gst_object_unref(element);
        pipeline_ = videoSink_ = frameFilter_ = nullptr;
        return;
    }
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample =
        reinterpret_cast<GstFlowReturn (*)(GstAppSink*, gpointer)>(&GstMediaControl::NewSample);
    callbacks.new_preroll =
        reinterpret_cast<GstFlowReturn (*)(GstAppSink*, gpointer)>(&GstMediaControl::NewPreroll);
    gst_app_sink_set_callbacks(GST_APP_SINK(appSink), &callbacks, this, nullptr);
    gst_object_unref(appSink);
    gst_object_ref(videoSink_); // kept for FramesPerSecond and the movie's size
    g_object_set(pipeline_, "video-sink", videoSink_, nullptr);
    // The bin converts and scales itself; playbin's own converter would only pass frames on.
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
    if (pipeline_) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(pipeline_);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(pipeline_);
    }
    if (panorama_)
        gst_object_unref(panorama_);
    if (videoSink_)
        gst_object_unref(videoSink_);
    if (frameFilter_)
        gst_object_unref(frameFilter_);
    view_->frameSizeWanted = nullptr;
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
        QMetaObject::invokeMethod(
            control, [control, held] { control->HandleMessage(held.get()); }, Qt::QueuedConnection);
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
// A mapped video frame kept alive, with its sample, for as long as a QImage shows it.
struct HeldFrame {
    GstSample* sample;
    GstVideoFrame frame;
};

void ReleaseHeldFrame(void* held) {
    auto* h = static_cast<HeldFrame*>(held);
    gst_video_frame_unmap(&h->frame);
    gst_sample_unref(h->sample);
    delete h;
}

// The size of the movie as it enters the video bin, before scaling.
QSize MovieSize(GstElement* videoBin) {
    QSize size;
    GstPad* pad = gst_element_get_static_pad(videoBin, "sink");
    if (!pad)
        return size;
    if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        const GstStructure* s = gst_caps_get_structure(caps, 0);
        int width = 0, height = 0;
        if (gst_structure_get_int(s, "width", &width) &&
            gst_structure_get_int(s, "height", &height))
            size = QSize(width, height);
        gst_caps_unref(caps);
    }
    gst_object_unref(pad);
    return size;
}
} // namespace

// Runs on a streaming thread: the view gets a reference to the decoded frame, no copy; it
// repaints on the interface thread.
void GstMediaControl::TakeSample(GstSample* sample) {
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)))
        return;
    auto* held = new HeldFrame{gst_sample_ref(sample), {}};
    if (!gst_video_frame_map(&held->frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ)) {
        gst_sample_unref(held->sample);
        delete held;
        return;
    }
    const QImage image(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&held->frame, 0)),
                       GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                       GST_VIDEO_FRAME_PLANE_STRIDE(&held->frame, 0), QImage::Format_RGB32,
                       &ReleaseHeldFrame, held);
    QSize movieSize = MovieSize(videoSink_);
    if (movieSize.isEmpty())
        movieSize = image.size();
    view_->PostFrame(image, movieSize);
}

// From the interface thread: frames arrive at that size from the next one on.
void GstMediaControl::WantFrameSize(QSize size) {
    if (!frameFilter_)
        return;
    GstCaps* caps =
        gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width", G_TYPE_INT,
                            size.width(), "height", G_TYPE_INT, size.height(), nullptr);
    g_object_set(frameFilter_, "caps", caps, nullptr);
    gst_caps_unref(caps);
}

void GstMediaControl::HandleMessage(GstMessage* message) {
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
        if (errorReported_)
            return;
        errorReported_ = true;
        error_ = text;
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        Notify(ErrorOccurred);
        break;
    }
    case GST_MESSAGE_EOS:
        // The end of a pass: back to the start, stopped there, as a rewinding player does.
        gst_element_set_state(pipeline_, GST_STATE_PAUSED);
        SeekSeconds(0);
        lastPosition_ = 0;
        Notify(PositionChanged);
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_) && !errorReported_)
            prerolled_ = true;
        break;
    default:
        break;
    }
}

void GstMediaControl::Open(const std::string& nativePath) {
    Cancel();
    error_.clear();
    errorReported_ = false;
    lastPosition_ = lastLength_ = fps_ = 0;
    opened_ = true;
    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(nativePath.c_str(), &error);
    if (!uri) {
        error_ = error ? error->message : "Invalid file name";
        if (error)
            g_error_free(error);
        errorReported_ = true;
        QMetaObject::invokeMethod(
            this, [this] { Notify(ErrorOccurred); }, Qt::QueuedConnection);
        return;
    }
    g_object_set(pipeline_, "uri", uri, nullptr);
    g_free(uri);
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

void GstMediaControl::Play() {
    if (!opened_ || errorReported_)
        return;
    gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    if (rate_ != 1.0)
        SeekSeconds(CurrentPosition() /
                    (displayMode_ == 1 && FramesPerSecond() > 0 ? FramesPerSecond() : 1));
}

void GstMediaControl::Pause() {
    if (opened_ && !errorReported_)
        gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

void GstMediaControl::Stop() {
    Pause();
}

void GstMediaControl::Cancel() {
    opened_ = false;
    prerolled_ = false;
    if (pipeline_)
        gst_element_set_state(pipeline_, GST_STATE_NULL);
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

double GstMediaControl::CurrentPosition() const {
    if (opened_ && prerolled_) {
        gint64 position = 0;
        if (gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) && position >= 0)
            lastPosition_ = static_cast<double>(position) / GST_SECOND;
    }
    const double fps = displayMode_ == 1 ? FramesPerSecond() : 0;
    return fps > 0 ? lastPosition_ * fps : lastPosition_;
}

double GstMediaControl::Length() const {
    if (opened_ && prerolled_) {
        gint64 duration = 0;
        if (gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) && duration > 0)
            lastLength_ = static_cast<double>(duration) / GST_SECOND;
    }
    const double fps = displayMode_ == 1 ? FramesPerSecond() : 0;
    return fps > 0 ? lastLength_ * fps : lastLength_;
}

void GstMediaControl::SeekSeconds(double seconds) {
    if (!opened_ || errorReported_)
        return;
    const gint64 target = static_cast<gint64>(std::max(seconds, 0.0) * GST_SECOND);
    gst_element_seek(pipeline_, rate_, GST_FORMAT_TIME,
                     static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                     GST_SEEK_TYPE_SET, target, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
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
    if (prerolled_) {
        const double fps = displayMode_ == 1 ? FramesPerSecond() : 0;
        const double position = CurrentPosition();
        SeekSeconds(fps > 0 ? position / fps : position);
    }
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
        if (!control->Valid())
            return nullptr;
        return control;
    };
}

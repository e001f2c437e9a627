#include "player/untVexaObjects.h"

#include "platform/Paths.h"
#include "platform/QtMessageBoxes.h"
#include "player/ParameterText.h"
#include "player/TraceFile.h"
#include "player/untVexaObjectControls.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimerEvent>

#include <algorithm>

namespace {

std::function<void(const std::string&)>& ComponentErrorHandler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}

} // namespace

void SetComponentErrorHandler(std::function<void(const std::string& message)> handler) {
    ComponentErrorHandler() = std::move(handler);
}

void ReportComponentError(const std::string& message) {
    if (ComponentErrorHandler()) {
        ComponentErrorHandler()(message);
        return;
    }
    QtMessageBoxes().ApplicationError(message);
}

void RunGuarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ReportComponentError(error.what());
    }
}

// ---- TVexaComponent, TVexaTimer ----

std::string TVexaComponent::Description() const {
    return " This component is base class for all Vexa Non-Visual Components";
}

TVexaTimer::TVexaTimer(QObject* owner) : TVexaComponent(owner) {}

TVexaTimer::~TVexaTimer() {
    enabled_ = false;
    UpdateTimer();
}

void TVexaTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    UpdateTimer();
}

void TVexaTimer::SetInterval(unsigned milliseconds) {
    interval_ = milliseconds;
    UpdateTimer();
}

void TVexaTimer::SetOnTimer(std::function<void()> handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

std::string TVexaTimer::Description() const {
    return "Vexa Timer is a component similar to TTimer, but with enchanced methods and properties."
           "This component is used by every Vexa Object and Vexa Controls.";
}

void TVexaTimer::UpdateTimer() {
    if (timerId_ != 0) {
        killTimer(timerId_);
        timerId_ = 0;
    }
    if (interval_ != 0 && enabled_ && onTimer_) {
        timerId_ = startTimer(static_cast<int>(std::min<unsigned>(interval_, 0x7fffffff)));
        if (timerId_ == 0)
            throw VexaError("Not enough resource available for timer update");
    }
}

void TVexaTimer::Timer() {
    if (onTimer_)
        onTimer_();
}

void TVexaTimer::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_) {
        TVexaComponent::timerEvent(event);
        return;
    }
    RunGuarded([this] { Timer(); }); // the timer keeps running
}

// ---- TVexaCustomControl ----

TVexaCustomControl::TVexaCustomControl(QWidget* parent) : QWidget(parent) {
    SetColor(Qt::black);
}

std::string TVexaCustomControl::Description() const {
    return "This class is the base class for ALL Vexa Components.";
}

void TVexaCustomControl::SetColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

QColor TVexaCustomControl::Color() const {
    return palette().color(QPalette::Window);
}

// ---- TVexaMainObj ----

TVexaMainObj::TVexaMainObj(QWidget* parent, const char* className)
    : TVexaCustomControl(parent), className_(className) {
    exitCode_ = "NEXT";
    Trace("*** Object created ***");
}

TVexaMainObj::~TVexaMainObj() {
    Trace("*** Object destroyed ***");
}

void TVexaMainObj::Trace(const std::string& message) const {
    TraceMessage(className_, fileName_, message);
}

void TVexaMainObj::Warn(const std::string& message) const {
    if (EnableWarnings())
        throw VexaError(message);
}

void TVexaMainObj::SetRunningMode(TRunningMode mode) {
    runningMode_ = mode;
}

std::string TVexaMainObj::OpenDialogFilter() const {
    std::string patterns = filterList_;
    std::string joined;
    size_t start = 0;
    while (start <= patterns.size() && !patterns.empty()) {
        const size_t end = std::min(patterns.find(';', start), patterns.size());
        if (!joined.empty())
            joined += "; ";
        joined += patterns.substr(start, end - start);
        start = end + 1;
    }
    return filterName_ + "|" + joined + "|" + filterList_;
}

void TVexaMainObj::SetObjectEnabled(bool enabled) {
    if (enabled == objectEnabled_)
        return;
    objectEnabled_ = enabled;
    setEnabled(enabled);
}

void TVexaMainObj::SetObjectStatus(TObjectState status) {
    if (status == status_)
        return;
    Trace(std::string("ObjectStatus changed (") + ObjectStateName(status) + ")");
    status_ = status;
}

void TVexaMainObj::UpdateParameters() {
    parameters_ = ParameterItems();
}

void TVexaMainObj::ApplyParameters() {
    ReadParameters(parameters_);
}

void TVexaMainObj::ReadParameters(const std::string& text) {
    parameters_ = text;
}

std::string TVexaMainObj::GetDefaultParameters() const {
    return "* no parameters |";
}

std::string TVexaMainObj::GetObjectInfo() const {
    return fileFound_ ? "No additional information is available" : "Object not loaded";
}

void TVexaMainObj::ResetParameters() {
    SetParameters(GetDefaultParameters());
}

void TVexaMainObj::LoadObject() {
    Trace("LoadObject called");
    if (fileName_.empty()) {
        fileFound_ = false;
        Warn("Filename not defined");
        return;
    }
    if (fileName_.find('*') != std::string::npos) {
        fileFound_ = true;
        return;
    }
    fileFound_ = FileExists(fileName_);
    if (!fileFound_)
        Warn("File not found: " + fileName_);
}

void TVexaMainObj::UnLoadObject() {
    Trace("UnLoadObject called");
    if (!fileFound_)
        Warn("Object not loaded");
}

void TVexaMainObj::CheckReady(const char* traceText) const {
    Trace(traceText);
    if (!fileFound_)
        Warn("Object not ready");
}

void TVexaMainObj::Play() {
    CheckReady("Play called");
}
void TVexaMainObj::Stop() {
    CheckReady("Stop called");
}

// Thumbnails and file type names are not used by the utility.
bool TVexaMainObj::GetThumbnail(const std::string&, QImage&) {
    return false;
}
bool TVexaMainObj::GetThumbnail(QImage&) {
    return false;
}
std::string TVexaMainObj::GetFileTypeName(const std::string& extension) {
    return extension;
}

void TVexaMainObj::DoOnClick(TVexaMainObj* sender) {
    Trace("Event [DoOnClick]");
    if (OnClick)
        OnClick(sender);
}

void TVexaMainObj::DoPopup() {
    if (!popupMenu_)
        return;
    Trace("Event [DoPopup]");
    popupMenu_->popup(QCursor::pos());
}

void TVexaMainObj::DoOnFinished(TVexaMainObj* sender, const std::string& exitCode) {
    Trace("Event [DoOnFinished: " + exitCode + "]");
    if (OnFinished)
        OnFinished(sender, exitCode);
}

void TVexaMainObj::DoOnKeyPressed(int key) {
    Trace("Event [DoOnKeyPressed: Key=" + std::to_string(key) + "]");
}

void TVexaMainObj::mousePressEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::RightButton)
        DoPopup();
    TVexaCustomControl::mousePressEvent(event);
}

void TVexaMainObj::mouseReleaseEvent(QMouseEvent* event) {
    // The panel's own click (where no picture covers it).
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick)
        OnClick(this);
}

void TVexaMainObj::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
}

void TVexaMainObj::keyReleaseEvent(QKeyEvent* event) {
    DoOnKeyPressed(event->key());
    TVexaCustomControl::keyReleaseEvent(event);
}

// ---- TVexaCustomDynamicObj ----

TVexaCustomDynamicObj::TVexaCustomDynamicObj(QWidget* parent, const char* className)
    : TVexaMainObj(parent, className) {
    if (!timer_) {
        timer_ = new TVexaTimer(this);
        timer_->setObjectName(QStringLiteral("VexaTimer"));
        timer_->SetInterval(50);
        timer_->SetEnabled(true);
        timer_->SetOnTimer([this] { TimerTick(); });
    }
    UpdateParameters();
}

TVexaCustomDynamicObj::~TVexaCustomDynamicObj() {
    timer_->SetEnabled(false);
    delete timer_;
    timer_ = nullptr;
}

std::string TVexaCustomDynamicObj::ParameterItems() const {
    return TVexaMainObj::ParameterItems() + ParameterItem("Play Count", playCount_) +
           ParameterItem("Start Marker", startMarker_) + ParameterItem("End Marker", endMarker_) +
           ParameterItem("Repeat Forever", repeatForever_) +
           ParameterItem("Object Format", std::string(ObjectFormatText(objectFormat_)));
}

void TVexaCustomDynamicObj::SetStartMarker(int value) {
    if (value < 0) {
        Warn(RejectedValueText(
            "Start Marker must be a number higher or equal zero\rCurrent value is ", value,
            startMarker_));
        return;
    }
    if (value == startMarker_)
        return;
    if (value > endMarker_) {
        Warn(RejectedValueText(
            "Start Marker must be a number lower or equal End Marker\rCurrent value is ", value,
            startMarker_));
        return;
    }
    if (OnStartMarkerChanging)
        OnStartMarkerChanging();
    startMarker_ = value;
    UpdateParameters();
}

void TVexaCustomDynamicObj::SetEndMarker(int value) {
    if (value < startMarker_) {
        Warn(RejectedValueText(
            "End Marker must be a number higher or equal Start Marker\rCurrent value is ", value,
            endMarker_));
        return;
    }
    if (OnEndMarkerChanging)
        OnEndMarkerChanging();
    endMarker_ = value;
    UpdateParameters();
}

void TVexaCustomDynamicObj::SetPlayCount(int value) {
    if (value < 0) {
        Warn(
            RejectedValueText("Play Count must be a number higher or equal zero\rCurrent value is ",
                              value, playCount_));
        return;
    }
    playCount_ = value;
    repeatForever_ = value == 0;
    UpdateParameters();
}

void TVexaCustomDynamicObj::SetRepeatForever(bool value) {
    if (value == repeatForever_)
        return;
    repeatForever_ = value;
    if (value)
        playCount_ = 0;
    UpdateParameters();
}

void TVexaCustomDynamicObj::SetObjectFormat(TObjectFormat format) {
    if (format == objectFormat_)
        return;
    objectFormat_ = format;
    UpdateParameters();
    UpdateDuration();
}

void TVexaCustomDynamicObj::SetAutoPlay(bool value) {
    if (value == autoPlay_)
        return;
    autoPlay_ = value;
    UpdateParameters();
}

void TVexaCustomDynamicObj::ReadParameters(const std::string& text) {
    TVexaMainObj::ReadParameters(text);
    const int playCount = FindParameter(text, "Play Count", 1);
    const int startMarker = FindParameter(text, "Start Marker", 0);
    const int endMarker = FindParameter(text, "End Marker", 0);
    const bool repeatForever = FindParameter(text, "Repeat Forever", false, EnableWarnings());
    const TObjectFormat format =
        ObjectFormatFromText(FindParameter(text, "Object Format", std::string("Frames")));
    SetObjectFormat(format);
    SetRepeatForever(repeatForever);
    SetPlayCount(playCount);
    if (endMarker != 0) {
        SetEndMarker(endMarker);
        SetStartMarker(startMarker);
    } else {
        SetStartMarker(startMarker);
        SetEndMarker(0);
    }
}

void TVexaCustomDynamicObj::Play() {
    TVexaMainObj::Play();
    markerPassCount_ = 0;
}

void TVexaCustomDynamicObj::TimerTick() {
    if (OnTimer)
        OnTimer(this);
    if (startMarker_ <= 0 && endMarker_ <= 0)
        return;
    if (startMarker_ <= position_ && position_ <= endMarker_)
        return;
    if (position_ > 0 && !repeatForever_ && RunningMode() != tmProperties) {
        ++markerPassCount_;
        if (playCount_ < markerPassCount_)
            FinishPlay();
    }
    SeekInProgress = false;
    SeekTo(startMarker_);
}

void TVexaCustomDynamicObj::UpdateDuration() {
    if (OnDurationRecomputeBegins)
        OnDurationRecomputeBegins();
}

void TVexaCustomDynamicObj::FinishPlay() {
    markerPassCount_ = 0;
    exitCode_ = "NEXT";
}

void TVexaCustomDynamicObj::Pause() {
    CheckReady("Pause called");
}

void TVexaCustomDynamicObj::FastForward() {
    Trace("FastForward called");
    if (!fileFound_) {
        Warn("Object not ready");
        return;
    }
    if (duration_ < 1)
        return;
    const int target = std::min(position_ + duration_ / 10, duration_);
    SeekInProgress = true;
    SeekTo(target);
}

void TVexaCustomDynamicObj::Rewind() {
    Trace("Rewind called");
    if (!fileFound_) {
        Warn("Object not ready");
        return;
    }
    SeekInProgress = true;
    SeekTo(std::max(position_ - duration_ / 10, 0));
}

void TVexaCustomDynamicObj::SeekTo(int position) {
    position_ = position;
}

// ---- TVexaVisualDynamicObj ----

TVexaVisualDynamicObj::TVexaVisualDynamicObj(QWidget* parent, const char* className)
    : TVexaCustomDynamicObj(parent, className) {
    UpdateParameters();
}

TVexaVisualDynamicObj::~TVexaVisualDynamicObj() {
    DestroyControls();
}

std::string TVexaVisualDynamicObj::ParameterItems() const {
    return TVexaCustomDynamicObj::ParameterItems() +
           ParameterItem("Size", std::string(ObjectSizeText(size_))) +
           ParameterItem("Show Controls", showControls_);
}

void TVexaVisualDynamicObj::SetSize(TObjectSize size) {
    if (size == size_)
        return;
    size_ = size;
    ApplySize();
    UpdateParameters();
}

void TVexaVisualDynamicObj::SetShowControls(bool show) {
    if (show == showControls_)
        return;
    showControls_ = show;
    if (RunningMode() != tmProperties) {
        if (show && !controls_) {
            controls_ = new TVexaObjectControls(this);
            controls_->SetVexaObject(this);
            controls_->show();
            LayoutChildren();
        } else if (!show && controls_) {
            DestroyControls();
            LayoutChildren();
        }
    }
    UpdateParameters();
}

void TVexaVisualDynamicObj::DestroyControls() {
    if (!controls_)
        return;
    TVexaObjectControls* bar = controls_;
    controls_ = nullptr;
    delete bar;
}

void TVexaVisualDynamicObj::ReadParameters(const std::string& text) {
    TVexaCustomDynamicObj::ReadParameters(text);
    const TObjectSize size =
        ObjectSizeFromText(FindParameter(text, "Size", std::string("Fit To Size")));
    const bool showControls = FindParameter(text, "Show Controls", false, EnableWarnings());
    SetSize(size);
    SetShowControls(showControls);
}

void TVexaVisualDynamicObj::resizeEvent(QResizeEvent* event) {
    TVexaCustomDynamicObj::resizeEvent(event);
    LayoutChildren();
}

QRect TVexaVisualDynamicObj::PictureArea() const {
    QRect area = rect();
    if (controls_)
        area.setBottom(area.bottom() - controls_->height());
    return area;
}

void TVexaVisualDynamicObj::LayoutChildren() {
    if (controls_)
        controls_->setGeometry(0, height() - controls_->height(), width(), controls_->height());
}

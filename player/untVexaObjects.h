#pragma once

#include "player/VexaTypes.h"

#include <QObject>
#include <QWidget>

#include <functional>
#include <string>

class QMenu;
class TVexaObjectControls;

// The media component family: a message-driven timer, the root classes, the object controller
// TVexaMainObj (file name, Parameters text, status, events), the time-based object
// TVexaCustomDynamicObj (position, duration, markers, play count, 50 ms polling) and the visual
// time-based object TVexaVisualDynamicObj (display size, controls bar). Every member writes the
// trace file.

// Where an error escaping a timer step or a control notification goes (the application error box
// unless replaced); the event loop itself never sees the exception.
void SetComponentErrorHandler(std::function<void(const std::string& message)> handler);
void ReportComponentError(const std::string& message);
// Runs a timer step, a control notification or a bar button's action; an exception it raises goes
// to ReportComponentError.
void RunGuarded(const std::function<void()>& action);

// Root of the non-visual members.
class TVexaComponent : public QObject {
public:
    explicit TVexaComponent(QObject* owner = nullptr) : QObject(owner) {}
    std::string About() const { return "Component"; }
    void SetAbout(const std::string&) {} // read-only in effect
    virtual std::string Description() const;
};

// A timer driven by the event loop: fires OnTimer every Interval milliseconds while Enabled.
class TVexaTimer : public TVexaComponent {
public:
    explicit TVexaTimer(QObject* owner = nullptr);
    ~TVexaTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);
    const std::function<void()>& OnTimer() const { return onTimer_; }
    void SetOnTimer(std::function<void()> handler);
    bool Armed() const { return timerId_ != 0; }
    std::string Description() const override;

protected:
    virtual void Timer(); // one step: fires OnTimer
    void timerEvent(QTimerEvent* event) override;

private:
    void UpdateTimer();
    bool enabled_ = true;
    unsigned interval_ = 1000;
    std::function<void()> onTimer_;
    int timerId_ = 0;
};

// Root of the visual members: a black panel without bevels or caption.
class TVexaCustomControl : public QWidget {
public:
    explicit TVexaCustomControl(QWidget* parent = nullptr);
    bool EnableWarnings() const { return enableWarnings_; }
    void SetEnableWarnings(bool on) { enableWarnings_ = on; }
    std::string About() const { return "Component"; }
    void SetAbout(const std::string&) {}
    virtual std::string Description() const;
    void SetColor(const QColor& color);
    QColor Color() const;

private:
    bool enableWarnings_ = false;
};

// The object controller: file name, Parameters text, status, running mode and events.
class TVexaMainObj : public TVexaCustomControl {
public:
    explicit TVexaMainObj(QWidget* parent = nullptr, const char* className = "TVexaMainObj");
    ~TVexaMainObj() override;

    const std::string& ClassName() const { return className_; }
    std::string Description() const override { return OpenDialogFilter(); }

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }
    std::string Parameters() const { return GetParameterText(); }
    void SetParameters(const std::string& text) { ReadParameters(text); }
    bool ObjectVisible() const { return objectVisible_; }
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    TRunningMode RunningMode() const { return runningMode_; }
    virtual void SetRunningMode(TRunningMode mode);
    TThumbnailType ThumbnailType() const { return thumbnailType_; }
    void SetThumbnailType(TThumbnailType type) { thumbnailType_ = type; }
    std::string OpenDialogFilter() const;
    bool ObjectEnabled() const { return objectEnabled_; }
    virtual void SetObjectEnabled(bool enabled);
    TObjectState ObjectStatus() const { return status_; }
    virtual void SetObjectStatus(TObjectState status);
    bool FileFound() const { return fileFound_; }
    const std::string& ExitCode() const { return exitCode_; }

    std::function<void(TVexaMainObj* sender, const std::string& exitCode)> OnFinished;
    std::function<void(TVexaMainObj* sender)> OnClick;
    std::function<void(TVexaMainObj* sender)> OnDblClick;

    virtual void UpdateParameters();
    virtual void ApplyParameters();
    virtual void LoadObject();
    virtual void UnLoadObject();
    virtual std::string GetParameterText() const { return parameters_; }
    virtual void ReadParameters(const std::string& text);
    virtual std::string GetDefaultParameters() const;
    virtual std::string GetObjectInfo() const;
    virtual void ResetParameters();
    virtual void ShowObject() { objectVisible_ = true; }
    virtual void HideObject() { objectVisible_ = false; }
    virtual void Play();
    virtual void Stop();
    virtual bool GetThumbnail(const std::string& fileName, QImage& picture);
    virtual bool GetThumbnail(QImage& picture);
    virtual std::string GetFileTypeName(const std::string& extension);

    void DoOnClick(TVexaMainObj* sender);
    void DoPopup();
    void DoOnFinished(TVexaMainObj* sender, const std::string& exitCode);
    void DoOnKeyPressed(int key);

    void Trace(const std::string& message) const;

protected:
    // The items this class and its bases write into Parameters, in order.
    virtual std::string ParameterItems() const { return std::string(); }
    // Raises the message when warnings are on.
    void Warn(const std::string& message) const;
    // The check that Play, Stop and Pause make: trace, then "Object not ready" when no file was
    // found and warnings are on.
    void CheckReady(const char* traceText) const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

    std::string parameters_;
    bool fileFound_ = false;
    std::string exitCode_;
    std::string filterName_;
    std::string filterList_; // patterns separated by ";"
    int pictureHeight_ = -1;
    int pictureWidth_ = -1;

private:
    std::string className_;
    std::string fileName_;
    bool objectVisible_ = false;
    QMenu* popupMenu_ = nullptr;
    TRunningMode runningMode_ = tmPlayMode;
    TThumbnailType thumbnailType_ = ttScreenShot;
    bool objectEnabled_ = false;
    TObjectState status_ = tsNone;
};

// An object that plays over time: position, duration, markers, play count and the 50 ms polling.
class TVexaCustomDynamicObj : public TVexaMainObj {
public:
    explicit TVexaCustomDynamicObj(QWidget* parent = nullptr,
                                   const char* className = "TVexaCustomDynamicObj");
    ~TVexaCustomDynamicObj() override;

    int StartMarker() const { return startMarker_; }
    void SetStartMarker(int value);
    int EndMarker() const { return endMarker_; }
    void SetEndMarker(int value);
    int PlayCount() const { return playCount_; }
    void SetPlayCount(int value);
    bool RepeatForever() const { return repeatForever_; }
    void SetRepeatForever(bool value);
    TObjectFormat ObjectFormat() const { return objectFormat_; }
    void SetObjectFormat(TObjectFormat format);
    int Duration() const { return duration_; }
    int Position() const { return position_; }
    void SetPosition(int value) { position_ = value; } // stores only; SeekTo moves the playback
    bool AutoPlay() const { return autoPlay_; }
    void SetAutoPlay(bool value);
    TVexaTimer* Timer() const { return timer_; }
    int MarkerPassCount() const { return markerPassCount_; }

    std::function<void(TVexaMainObj* sender)> OnTimer;
    // Notifications for the controls bar.
    std::function<void()> OnDurationRecomputeBegins;
    std::function<void()> OnDurationRecomputeEnds;
    std::function<void()> OnStartMarkerChanging;
    std::function<void()> OnEndMarkerChanging;

    // Set before the object's own seeks (stop, fast forward, rewind, the bar's slider): their
    // position notification is not the end of a pass.
    bool SeekInProgress = false;

    void ReadParameters(const std::string& text) override;
    void Play() override;

    virtual void TimerTick();
    virtual void UpdateDuration();
    virtual void FinishPlay();
    virtual void Pause();
    virtual void FastForward();
    virtual void Rewind();
    virtual void SeekTo(int position);
    virtual void ChangeStartMarker(int value) { SetStartMarker(value); }
    virtual void ChangeEndMarker(int value) { SetEndMarker(value); }

protected:
    std::string ParameterItems() const override;
    void StoreDuration(int value) { duration_ = value; }
    void StoreMarkers(int start, int end) {
        startMarker_ = start;
        endMarker_ = end;
    }

private:
    TVexaTimer* timer_ = nullptr;
    int startMarker_ = 0;
    int endMarker_ = 0;
    int playCount_ = 1;
    bool repeatForever_ = false;
    TObjectFormat objectFormat_ = tuFrames;
    int duration_ = 0;
    int position_ = 0;
    bool autoPlay_ = true;
    int markerPassCount_ = 0;
};

class TVexaCustomStaticObj : public TVexaMainObj {
public:
    explicit TVexaCustomStaticObj(QWidget* parent = nullptr,
                                  const char* className = "TVexaCustomStaticObj")
        : TVexaMainObj(parent, className) {}
};

class TVexaCustomSpecificObj : public TVexaMainObj {
public:
    explicit TVexaCustomSpecificObj(QWidget* parent = nullptr,
                                    const char* className = "TVexaCustomSpecificObj")
        : TVexaMainObj(parent, className) {}
};

// A time-based object with a picture: display size and the controls bar.
class TVexaVisualDynamicObj : public TVexaCustomDynamicObj {
public:
    explicit TVexaVisualDynamicObj(QWidget* parent = nullptr,
                                   const char* className = "TVexaVisualDynamicObj");
    ~TVexaVisualDynamicObj() override;

    TObjectSize Size() const { return size_; }
    void SetSize(TObjectSize size);
    bool ShowControls() const { return showControls_; }
    void SetShowControls(bool show);
    TVexaObjectControls* Controls() const { return controls_; }

    void ReadParameters(const std::string& text) override;
    virtual void ApplySize() {}

protected:
    std::string ParameterItems() const override;
    void resizeEvent(QResizeEvent* event) override;
    // Places the children: the controls bar along the bottom, the rest for the picture.
    virtual void LayoutChildren();
    QRect PictureArea() const;
    void DestroyControls();

private:
    TObjectSize size_ = szFitToSize;
    bool showControls_ = false;
    TVexaObjectControls* controls_ = nullptr;
};

#pragma once

#include <functional>
#include <memory>
#include <string>

class QWidget;

// The playback facility behind the media object: opens one file, plays, pauses, stops and seeks
// it, reports the position and the length, takes the audio settings and shows the picture in its
// own view. All calls and notifications happen on the user-interface thread.
class MediaControl {
public:
    virtual ~MediaControl() = default;

    // The widget that shows the picture; the media object places it into its container panel.
    virtual QWidget* View() = 0;

    virtual void Open(const std::string& nativePath) = 0;
    // Non-zero once the file is open and ready to play (its first picture is available).
    virtual int OpenState() const = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void Cancel() = 0; // closes the file

    // Unit of CurrentPosition and Length: 1 counts frames, 0 seconds.
    virtual int DisplayMode() const = 0;
    virtual void SetDisplayMode(int mode) = 0;
    virtual double CurrentPosition() const = 0;
    virtual void SetCurrentPosition(double position) = 0;
    virtual double Length() const = 0;

    virtual void SetRate(double rate) = 0;  // 1.0 is normal speed
    virtual void SetVolume(int volume) = 0; // hundredths of a decibel, -4096 .. 0
    virtual void SetMute(bool mute) = 0;
    virtual void SetBalance(int balance) = 0;  // -2064 (left) .. +2064 (right)
    virtual void SetDisplaySize(int size) = 0; // 0 original, 1 half, 2 double, 4 fit to the view
    virtual void SetEnabled(bool enabled) = 0;

    // A readable description of the last error.
    virtual std::string ErrorDescription() const = 0;
    // When the facility lacks parts it needs to play: a message for the user that names them and
    // what to install; empty otherwise.
    virtual std::string MissingPartsAdvice() const { return {}; }

    // Notifications. PositionChanged follows every change of the position by a seek (exactly once
    // per SetCurrentPosition, which the media object counts on to tell its own seeks from the end
    // of a pass) and the rewind to the start at the end of a pass; it is delivered after the call
    // that caused it.
    std::function<void()> PositionChanged;
    std::function<void()> ErrorOccurred;
    std::function<void()> Clicked;
    std::function<void(bool rightButton)> MouseDown;
};

// Makes the control; returns null when no playback facility is available.
using MediaControlFactory = std::function<std::unique_ptr<MediaControl>()>;

// The production factory: GStreamer playback.
MediaControlFactory GstMediaControlFactory();

#pragma once

#include "player/MediaControl.h"

#include <QDialog>

#include <functional>
#include <string>

class Pauses;
class TVexaCustomWmpObj;
class TVexaMainObj;

// What the movie window needs from the platform. Empty members take the production services:
// event-loop pauses, GStreamer playback and the real mouse pointer.
struct MovieServices {
    Pauses* pauses = nullptr;
    MediaControlFactory mediaControls;
    std::function<void(int x, int y)> movePointer;
};

// The borderless movie window: one media object filling it, playing the movie once; Escape,
// space or a click on the movie close it early. The movie starts when the window is shown, and
// again when the window is activated after another window of the program; the pointer is hidden
// over it.
class TfrmFMV : public QDialog {
public:
    // The stored Parameters text of the media object.
    static constexpr const char* kParameters =
        "Play Count=1|Start Marker=0|End Marker=0|Repeat Forever=No|Object Format=Frames|Size=Fit "
        "To "
        "Size|Show Controls=No|Volume=0|Mute=No|Rate=1000|Balance=0|Buffer=5|";

    TfrmFMV(QWidget* owner, Pauses& pauses, const MediaControlFactory& mediaControls);
    ~TfrmFMV() override;

    TVexaCustomWmpObj* VexaWMP;

    void FormActivate();
    void FormKeyPress(char key);
    void VexaWMPFinished(TVexaMainObj* sender, const std::string& exitCode);
    void VexaWMPClick(TVexaMainObj* sender);
    // A movie that cannot be played: when the playback facility lacks parts, a message box names
    // them and the package to install.
    void VexaWMPError(TVexaMainObj* sender);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool started_ = false;
    bool otherWindowWasActive_ = false;
};

// Whether an activation of the movie window (re)starts the movie: the first start, whether it
// comes from the activation or from the window being shown, and each return from another window
// of the program.
bool ActivationStartsMovie(bool started, bool otherWindowWasActive);

// Plays a movie file (a path in the utility's form) full screen and modally, with the controls
// bar when showControls is set, then destroys the window. The pointer waits in the bottom-right
// corner during playback and is put at the screen centre afterwards, where the platform lets a
// program move it (X11; on Wayland it is only hidden over the window). Failing to create the
// playback facility raises "Fatal Error: Could not create WMP interface" (the pointer then stays
// in the corner).
void MovieWindowOpen(const std::string& moviePath, bool showControls,
                     const MovieServices& services = {});

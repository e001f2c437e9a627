#pragma once

#include "platform/ScuError.h"

#include <string>

// The value types shared by the media components, their controls bar and the movie window.

// Status of a media object (the order is the one the components have always used).
enum TObjectState {
    tsPaused,
    tsStopped,
    tsPlaying,
    tsLoading,
    tsError,
    tsLoaded,
    tsNone,
    tsStopping
};
// Unit of Position, Duration and the markers.
enum TObjectFormat { tuFrames, tuMilliseconds, tuSeconds, tuTime };
enum TObjectSize { szHalfSize, szOriginalSize, szDoubleSize, szFitToSize };
enum TRunningMode { tmPlayMode, tmPreview, tmProperties };
enum TThumbnailType { ttScreenShot, ttIcon32x32, ttIcon16x16 };

// "tsPaused" ... "tsStopping", as the trace file writes them.
const char* ObjectStateName(TObjectState state);

// The error raised by the media components: range checks and operations on objects that are not
// ready (only with EnableWarnings on) and failures to create their parts (always). It is the
// utility's one error type, so a handler boundary shows it in the application error box.
class VexaError : public ScuError {
public:
    explicit VexaError(const std::string& message) : ScuError(message) {}
};

// The text of a rejected property value: message + rejected value + "\r" +
// "Resetting to previous value " + the value that is kept.
std::string RejectedValueText(const std::string& message, long long rejected, long long kept);

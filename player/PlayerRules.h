#pragma once

#include "player/VexaTypes.h"

#include <array>
#include <optional>
#include <string>

// Plain rules of the media object and its controls bar.

// Nearest integer, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
long long RoundHalfEven(double value);

// A count of seconds as hours (no leading zeros) ":" minutes ":" seconds, e.g. 3725 -> 1:02:05.
std::string FormatTime(int seconds);

// The controls bar's status text of an object status ("Playing", "Opening...", "" for tsNone).
std::string StatusText(TObjectState state);

// A duration or position as the bar shows it: "250 frames", "40 ms", "3 seconds" or "0:00:03".
std::string TimeText(int value, TObjectFormat format);

// The bar's five buttons in their order: play, pause, stop, rewind, fast forward.
enum BarButton { bbPlay, bbPause, bbStop, bbRewind, bbFastForward };
constexpr int kBarButtonCount = 5;
using BarButtonStates = std::array<bool, kBarButtonCount>;

// Which buttons a status text enables; no value for "Stopping...", which leaves them unchanged.
std::optional<BarButtonStates> ButtonStatesFor(const std::string& statusText);

// Markers rescaled after a change of unit: new duration x marker / old duration, truncated toward
// zero. With an old duration of 0 the markers are kept.
int RescaleMarker(int marker, int newDuration, int oldDuration);

// How long a playing movie's position may stand still before its pass is taken as ended.
constexpr double kStalledPassSeconds = 3.0;
// How far the clock may run past the movie's length before its pass is taken as ended.
constexpr double kLatePassSeconds = 2.0;

// Whether a playing pass has ended although the stream's own end has not come: the position ran
// past the duration the movie reported (damaged timing), the clock ran kLatePassSeconds past it
// (a machine that cannot decode the movie in time), or the position has not moved for
// kStalledPassSeconds. clockPosition: where the pass would be by the clock (its position at the
// last play or seek plus the time played since, times the rate). All values in seconds; a
// duration of 0 is unknown.
bool PassRanOut(double position, double clockPosition, double duration,
                double secondsSincePositionMoved);

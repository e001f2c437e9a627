#include "player/PlayerRules.h"

#include <cmath>
#include <cstdio>

long long RoundHalfEven(double value) {
    const double floorValue = std::floor(value);
    const double fraction = value - floorValue;
    auto result = static_cast<long long>(floorValue);
    if (fraction > 0.5 || (fraction == 0.5 && (result % 2 != 0)))
        ++result;
    return result;
}

std::string FormatTime(int seconds) {
    const int hours = seconds / 3600;
    const int minutes = (seconds % 3600) / 60;
    const int rest = (seconds % 3600) % 60;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", hours, minutes, rest);
    return text;
}

std::string StatusText(TObjectState state) {
    switch (state) {
    case tsPaused:
        return "Paused";
    case tsStopped:
        return "Stopped";
    case tsPlaying:
        return "Playing";
    case tsLoading:
        return "Opening...";
    case tsError:
        return "Error";
    case tsLoaded:
        return "Opened";
    case tsStopping:
        return "Stopping...";
    case tsNone:
        break;
    }
    return "";
}

std::string TimeText(int value, TObjectFormat format) {
    switch (format) {
    case tuMilliseconds:
        return std::to_string(value) + " ms";
    case tuSeconds:
        return std::to_string(value) + " seconds";
    case tuTime:
        return FormatTime(value);
    case tuFrames:
        break;
    }
    return std::to_string(value) + " frames";
}

std::optional<BarButtonStates> ButtonStatesFor(const std::string& statusText) {
    if (statusText == "Paused")
        return BarButtonStates{true, false, true, true, true};
    if (statusText == "Stopped" || statusText == "Opened")
        return BarButtonStates{true, false, false, true, true};
    if (statusText == "Playing")
        return BarButtonStates{false, true, true, true, true};
    if (statusText == "Stopping...")
        return std::nullopt;
    return BarButtonStates{false, false, false, false, false};
}

int RescaleMarker(int marker, int newDuration, int oldDuration) {
    if (oldDuration == 0)
        return marker;
    return static_cast<int>(static_cast<long long>(newDuration) * marker / oldDuration);
}

bool PassRanOut(double position, double clockPosition, double duration,
                double secondsSincePositionMoved) {
    // A little slack, so that the last frame's own end is no overrun.
    const double slack = 0.02;
    return (duration > 0 && position > duration + slack) ||
           (duration > 0 && clockPosition > duration + kLatePassSeconds) ||
           secondsSincePositionMoved >= kStalledPassSeconds;
}

#include "player/VexaTypes.h"

const char* ObjectStateName(TObjectState state) {
    switch (state) {
    case tsPaused:
        return "tsPaused";
    case tsStopped:
        return "tsStopped";
    case tsPlaying:
        return "tsPlaying";
    case tsLoading:
        return "tsLoading";
    case tsError:
        return "tsError";
    case tsLoaded:
        return "tsLoaded";
    case tsNone:
        return "tsNone";
    case tsStopping:
        return "tsStopping";
    }
    return "";
}

std::string RejectedValueText(const std::string& message, long long rejected, long long kept) {
    return message + std::to_string(rejected) + "\rResetting to previous value " +
           std::to_string(kept);
}

#include "player/SliderMath.h"

#include "player/PlayerRules.h"

#include <algorithm>
#include <climits>

int ThumbPosition(int value, const SliderRange& range, int trackLength) {
    const double span = static_cast<double>(range.maxValue) - range.minValue;
    if (span <= 0)
        return kSliderMargin;
    return static_cast<int>(
               RoundHalfEven(trackLength * (value - static_cast<double>(range.minValue)) / span)) +
           kSliderMargin;
}

int ValueAtThumb(int x, const SliderRange& range, int trackLength) {
    if (trackLength <= 0)
        return range.minValue;
    const double span = static_cast<double>(range.maxValue) - range.minValue;
    long long value = RoundHalfEven((x - kSliderMargin) * span / trackLength);
    if (!range.smooth && range.increment > 0)
        value = value / range.increment * range.increment;
    return static_cast<int>(value + range.minValue);
}

int DraggedThumbPosition(int pointer, int offset, const SliderRange& range, int trackLength) {
    int x = std::clamp(pointer - offset, kSliderMargin, std::max(trackLength, 0) + kSliderMargin);
    if (!range.smooth)
        x = ThumbPosition(ValueAtThumb(x, range, trackLength), range, trackLength);
    return x;
}

namespace {
int Saturated(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}
} // namespace

int StepUp(int value, int increment) {
    return Saturated(static_cast<long long>(increment) * (value / increment + 1LL));
}
int StepDown(int value, int increment) {
    return Saturated(static_cast<long long>(increment) * (value / increment - 1LL));
}

int ClampValue(int value, const SliderRange& range) {
    return std::clamp(value, range.minValue, std::max(range.minValue, range.maxValue));
}

int TickStep(const SliderRange& range, int trackLength) {
    const long long span = static_cast<long long>(range.maxValue) - range.minValue;
    if (range.increment <= 0 || span <= range.increment || trackLength <= 0)
        return static_cast<int>(std::max<long long>(span, 1));
    long long step = range.increment;
    while (step < span && trackLength * static_cast<double>(step) / span < 3)
        step += range.increment;
    return static_cast<int>(std::min(step, span));
}

std::vector<RulerPiece> RulerPieces(int pictureWidth, int imageWidth, int edgeSize) {
    std::vector<RulerPiece> pieces;
    if (pictureWidth <= 0 || imageWidth <= 0)
        return pieces;
    const int first = imageWidth - edgeSize;
    pieces.push_back({0, std::min(first, pictureWidth), 0});
    if (pictureWidth < imageWidth)
        return pieces;
    const int middle = imageWidth - 2 * edgeSize;
    int target = first;
    const int lastStart = pictureWidth - edgeSize; // where the closing edge begins
    while (middle > 0 && target < lastStart) {
        const int width = std::min(middle, lastStart - target);
        pieces.push_back({edgeSize, width, target});
        target += width;
    }
    // The last piece ends the picture with the image's right edge columns.
    pieces.push_back({imageWidth - edgeSize, edgeSize, lastStart});
    return pieces;
}

#pragma once

#include <vector>

// Arithmetic of the position slider (horizontal terms; a vertical slider swaps the axes).
// The ruler starts 6 pixels in; the thumb's left edge moves over the track length
// L = ruler width - thumb width.

constexpr int kSliderMargin = 6;

struct SliderRange {
    int minValue = 0;
    int maxValue = 1;
    int increment = 1;
    bool smooth = true;
};

// Left edge of the thumb for a value: round(L x (v - min) / (max - min)) + 6.
int ThumbPosition(int value, const SliderRange& range, int trackLength);

// Value at a thumb position x: (x - 6) x (max - min) / L, rounded (and, unless smooth, cut down
// to a multiple of the increment), plus min.
int ValueAtThumb(int x, const SliderRange& range, int trackLength);

// Where a dragged thumb lands: pointer - offset, kept on the track and snapped to the increment
// grid unless smooth.
int DraggedThumbPosition(int pointer, int offset, const SliderRange& range, int trackLength);

// A step of the keys and of track clicks: increment x (value div increment +/- 1).
int StepUp(int value, int increment);
int StepDown(int value, int increment);

// Clamped to [min, max].
int ClampValue(int value, const SliderRange& range);

// Step between tick marks: the smallest multiple of the increment whose ticks lie at least
// 3 pixels apart, or the whole range when it holds a single step.
int TickStep(const SliderRange& range, int trackLength);

// The ruler picture is built from the ruler image: the image without its right edge, then the
// middle part repeated, then a last piece that ends with the image's right edge. Each piece
// copies `width` columns starting at `source` of the image to `target` of the picture.
struct RulerPiece {
    int source;
    int width;
    int target;
};
std::vector<RulerPiece> RulerPieces(int pictureWidth, int imageWidth, int edgeSize);

// The ruler picture's width for a slider of the given width (at least 0).
inline int RulerWidth(int sliderLength) {
    return sliderLength - 2 * kSliderMargin > 0 ? sliderLength - 2 * kSliderMargin : 0;
}

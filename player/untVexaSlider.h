#pragma once

#include "player/SliderMath.h"
#include "player/untVexaObjects.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <climits>
#include <functional>

class TVexaSlider;

enum TSliderOrientation { soHorizontal, soVertical };
enum TSliderOption { soShowFocus = 1, soShowPoints = 2, soSmooth = 4 };
using TSliderOptions = int;

// The movable thumb: a child of the slider that holds the thumb picture and captures the mouse.
class TSliderThumb : public QWidget {
public:
    explicit TSliderThumb(TVexaSlider* slider);
    bool Dragging() const { return dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TVexaSlider* slider_;
    bool dragging_ = false;
};

// A position slider: a ruler picture with a thumb that the user drags, steps with the keys, or
// moves by pressing on the track.
class TVexaSlider : public QWidget {
public:
    explicit TVexaSlider(QWidget* parent = nullptr);

    int Value() const { return value_; }
    void SetValue(int value);
    int MinValue() const { return range_.minValue; }
    void SetMinValue(int value);
    int MaxValue() const { return range_.maxValue; }
    void SetMaxValue(int value);
    int Increment() const { return range_.increment; }
    void SetIncrement(int value);
    int EdgeSize() const { return edgeSize_; }
    void SetEdgeSize(int value);
    int NumThumbStates() const { return numThumbStates_; }
    void SetNumThumbStates(int value);
    TSliderOrientation Orientation() const { return orientation_; }
    void SetOrientation(TSliderOrientation orientation);
    TSliderOptions Options() const { return options_; }
    void SetOptions(TSliderOptions options);
    void SetImages(const QPixmap& hThumb, const QPixmap& hRuler, const QPixmap& vThumb,
                   const QPixmap& vRuler);
    std::string Description() const;

    std::function<void(TVexaSlider*)> OnChange;
    std::function<void(TVexaSlider*)> OnStopTracking;
    std::function<void(TVexaSlider*)> OnClick;
    std::function<void(TVexaSlider*)> OnDblClick;
    std::function<void(TVexaSlider*, int step, int tickLength, int endTickLength)> OnDrawPoints;

    // Geometry as laid out: the thumb's place and the track length.
    QRect ThumbRect() const;
    int TrackLength() const;
    QWidget* Thumb() const { return thumb_; }
    bool TrackRepeatActive() const { return repeatTimer_.isActive(); }

    // One repeat of a held track press (what the 400 ms timer runs).
    void TrackRepeat();

    // The thumb's picture for the current state.
    QPixmap ThumbPicture(bool pressed) const;

protected:
    virtual void ThumbPressed(QMouseEvent* event);
    virtual void ThumbMoved(QMouseEvent* event);
    virtual void ThumbReleased(QMouseEvent* event);
    virtual void DrawPoints(int step, int tickLength, int endTickLength, QPainter& painter);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class TSliderThumb;
    bool Horizontal() const { return orientation_ == soHorizontal; }
    const QPixmap& ThumbImage() const { return Horizontal() ? hThumb_ : vThumb_; }
    const QPixmap& RulerImage() const { return Horizontal() ? hRuler_ : vRuler_; }
    QSize ThumbSize() const;
    void BuildRuler();
    void PlaceThumb();
    // Pixel along the track for a value, and back (vertical sliders grow upwards).
    int ThumbOffsetFor(int value) const;
    int ValueForOffset(int offset) const;
    int ThumbOffset() const;
    void StepTowards(int pointer);

    SliderRange range_{0, INT_MAX, 10, true};
    int value_ = 0;
    int edgeSize_ = 2;
    int numThumbStates_ = 2;
    TSliderOrientation orientation_ = soHorizontal;
    TSliderOptions options_ = soShowFocus | soShowPoints | soSmooth;
    QPixmap hThumb_, hRuler_, vThumb_, vRuler_;
    QPixmap ruler_;
    QPoint rulerAt_;
    TSliderThumb* thumb_;
    int dragOffset_ = 0;
    QTimer repeatTimer_;
    int repeatPointer_ = 0;
    int repeatDirection_ = 0;
};

#include "player/untVexaSlider.h"

#include "player/PlayerBitmaps.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

// ---- TSliderThumb ----

TSliderThumb::TSliderThumb(TVexaSlider* slider) : QWidget(slider), slider_(slider) {
    setCursor(HandCursor());
    setAttribute(Qt::WA_TranslucentBackground);
}

void TSliderThumb::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, slider_->ThumbPicture(dragging_));
}

void TSliderThumb::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragging_ = true;
    slider_->ThumbPressed(event);
}

void TSliderThumb::mouseMoveEvent(QMouseEvent* event) {
    slider_->ThumbMoved(event);
}

void TSliderThumb::mouseReleaseEvent(QMouseEvent* event) {
    slider_->ThumbReleased(event);
    dragging_ = false;
    update();
}

// ---- TVexaSlider ----

TVexaSlider::TVexaSlider(QWidget* parent) : QWidget(parent), thumb_(new TSliderThumb(this)) {
    setFocusPolicy(Qt::StrongFocus);
    resize(140, 40);
    hThumb_ = PlayerBitmap("H_THUMB");
    hRuler_ = PlayerBitmap("H_RULER");
    vThumb_ = PlayerBitmap("V_THUMB");
    vRuler_ = PlayerBitmap("V_RULER");
    repeatTimer_.setInterval(400);
    QObject::connect(&repeatTimer_, &QTimer::timeout, this, [this] { TrackRepeat(); });
    BuildRuler();
}

std::string TVexaSlider::Description() const {
    return "This component is a replacement for standard TrackBar. "
           "TVexaSlider is used by Vexa Object Controls and other components.";
}

QSize TVexaSlider::ThumbSize() const {
    const QPixmap& image = ThumbImage();
    return QSize(image.width() / std::max(numThumbStates_, 1), image.height());
}

QPixmap TVexaSlider::ThumbPicture(bool pressed) const {
    const QSize size = ThumbSize();
    const int state = (numThumbStates_ > 1 && pressed) ? 1 : 0;
    return ThumbImage().copy(state * size.width(), 0, size.width(), size.height());
}

int TVexaSlider::TrackLength() const {
    const QSize thumb = ThumbSize();
    return Horizontal() ? ruler_.width() - thumb.width() : ruler_.height() - thumb.height();
}

void TVexaSlider::BuildRuler() {
    const QPixmap& image = RulerImage();
    const int length = RulerWidth(Horizontal() ? width() : height());
    const int imageLength = Horizontal() ? image.width() : image.height();
    if (Horizontal())
        ruler_ = QPixmap(length, image.height());
    else
        ruler_ = QPixmap(image.width(), length);
    ruler_.fill(Qt::transparent);
    if (length > 0) {
        QPainter p(&ruler_);
        for (const RulerPiece& piece : RulerPieces(length, imageLength, edgeSize_)) {
            const int width = std::min(piece.width, length - piece.target);
            if (Horizontal())
                p.drawPixmap(piece.target, 0, image, piece.source, 0, width, image.height());
            else
                p.drawPixmap(0, piece.target, image, 0, piece.source, image.width(), width);
        }
    }
    // The lower of ruler and thumb is centred against the other, both 6 pixels in.
    const QSize thumb = ThumbSize();
    const int rulerThickness = Horizontal() ? image.height() : image.width();
    const int thumbThickness = Horizontal() ? thumb.height() : thumb.width();
    int rulerCross = kSliderMargin;
    if (rulerThickness < thumbThickness)
        rulerCross = kSliderMargin + (thumbThickness - rulerThickness) / 2;
    rulerAt_ = Horizontal() ? QPoint(kSliderMargin, rulerCross) : QPoint(rulerCross, kSliderMargin);
    PlaceThumb();
    update();
}

int TVexaSlider::ThumbOffsetFor(int value) const {
    const int position = ThumbPosition(value, range_, TrackLength());
    return Horizontal() ? position : 2 * kSliderMargin + TrackLength() - position;
}

int TVexaSlider::ValueForOffset(int offset) const {
    const int x = Horizontal() ? offset : 2 * kSliderMargin + TrackLength() - offset;
    return ValueAtThumb(x, range_, TrackLength());
}

int TVexaSlider::ThumbOffset() const {
    return Horizontal() ? thumb_->x() : thumb_->y();
}

QRect TVexaSlider::ThumbRect() const {
    return thumb_->geometry();
}

void TVexaSlider::PlaceThumb() {
    const QSize thumb = ThumbSize();
    const int rulerThickness = Horizontal() ? RulerImage().height() : RulerImage().width();
    const int thumbThickness = Horizontal() ? thumb.height() : thumb.width();
    int thumbCross = kSliderMargin;
    if (rulerThickness >= thumbThickness)
        thumbCross = kSliderMargin + (rulerThickness - thumbThickness) / 2;
    const int along = ThumbOffsetFor(value_);
    thumb_->setGeometry(Horizontal() ? QRect(QPoint(along, thumbCross), thumb)
                                     : QRect(QPoint(thumbCross, along), thumb));
    thumb_->update();
}

void TVexaSlider::SetValue(int value) {
    const int clamped = ClampValue(value, range_);
    const bool changed = clamped != value_;
    value_ = clamped;
    PlaceThumb();
    if (changed && OnChange)
        OnChange(this);
}

void TVexaSlider::SetMinValue(int value) {
    if (value == range_.minValue ||
        static_cast<long long>(value) > static_cast<long long>(range_.maxValue) - range_.increment)
        return;
    range_.minValue = value;
    SetValue(value_);
    PlaceThumb();
}

void TVexaSlider::SetMaxValue(int value) {
    if (value == range_.maxValue ||
        static_cast<long long>(value) < static_cast<long long>(range_.minValue) + range_.increment)
        return;
    range_.maxValue = value;
    SetValue(value_);
    PlaceThumb();
}

void TVexaSlider::SetIncrement(int value) {
    if (value <= 0 || value == range_.increment)
        return;
    range_.increment = value;
    SetValue(value_);
}

void TVexaSlider::SetEdgeSize(int value) {
    const int imageLength = Horizontal() ? RulerImage().width() : RulerImage().height();
    if (value < 0 || 2 * value >= imageLength)
        return;
    edgeSize_ = value;
    BuildRuler();
}

void TVexaSlider::SetNumThumbStates(int value) {
    if (value < 1)
        return;
    numThumbStates_ = value;
    BuildRuler();
}

void TVexaSlider::SetOrientation(TSliderOrientation orientation) {
    if (orientation == orientation_)
        return;
    orientation_ = orientation;
    BuildRuler();
}

void TVexaSlider::SetOptions(TSliderOptions options) {
    options_ = options;
    range_.smooth = (options & soSmooth) != 0;
    update();
}

void TVexaSlider::SetImages(const QPixmap& hThumb, const QPixmap& hRuler, const QPixmap& vThumb,
                            const QPixmap& vRuler) {
    hThumb_ = hThumb;
    hRuler_ = hRuler;
    vThumb_ = vThumb;
    vRuler_ = vRuler;
    BuildRuler();
}

void TVexaSlider::resizeEvent(QResizeEvent*) {
    BuildRuler();
}

void TVexaSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(rulerAt_, ruler_);
    if ((options_ & soShowFocus) && hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
    if (options_ & soShowPoints) {
        if (OnDrawPoints)
            OnDrawPoints(this, range_.increment, 3, 4);
        else
            DrawPoints(range_.increment, 3, 4, p);
    }
}

void TVexaSlider::DrawPoints(int, int tickLength, int endTickLength, QPainter& p) {
    const int step = TickStep(range_, TrackLength());
    if (step <= 0)
        return;
    const QSize thumb = ThumbSize();
    const int below = Horizontal() ? rulerAt_.y() + std::max(ruler_.height(), thumb.height()) + 1
                                   : rulerAt_.x() + std::max(ruler_.width(), thumb.width()) + 1;
    p.setPen(palette().color(QPalette::WindowText));
    for (long long v = range_.minValue; v <= range_.maxValue; v += step) {
        const bool end = v == range_.minValue || v == range_.maxValue;
        const int length = end ? endTickLength : tickLength;
        const int along = ThumbOffsetFor(static_cast<int>(v)) +
                          (Horizontal() ? thumb.width() : thumb.height()) / 2;
        if (Horizontal())
            p.drawLine(along, below, along, below + length - 1);
        else
            p.drawLine(below, along, below + length - 1, along);
    }
}

void TVexaSlider::ThumbPressed(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint inThumb = event->position().toPoint();
    dragOffset_ = Horizontal() ? inThumb.x() : inThumb.y();
    thumb_->update();
}

void TVexaSlider::ThumbMoved(QMouseEvent* event) {
    if (!thumb_->Dragging())
        return;
    const QPoint inSlider = thumb_->mapToParent(event->position().toPoint());
    const int pointer = Horizontal() ? inSlider.x() : inSlider.y();
    const int offset = DraggedThumbPosition(pointer, dragOffset_, range_, TrackLength());
    const int newValue = ClampValue(ValueForOffset(offset), range_);
    if (Horizontal())
        thumb_->move(offset, thumb_->y());
    else
        thumb_->move(thumb_->x(), offset);
    if (newValue != value_) {
        value_ = newValue;
        if (OnChange)
            OnChange(this);
    }
}

void TVexaSlider::ThumbReleased(QMouseEvent*) {
    thumb_->update();
    if (OnStopTracking)
        OnStopTracking(this);
}

void TVexaSlider::StepTowards(int pointer) {
    const int thumbStart = ThumbOffset();
    const int thumbEnd = thumbStart + (Horizontal() ? thumb_->width() : thumb_->height());
    int direction = 0;
    if (pointer < thumbStart)
        direction = Horizontal() ? -1 : +1;
    else if (pointer >= thumbEnd)
        direction = Horizontal() ? +1 : -1;
    if (direction == 0 || (repeatDirection_ != 0 && direction != repeatDirection_))
        return;
    repeatDirection_ = direction;
    SetValue(direction > 0 ? StepUp(value_, range_.increment) : StepDown(value_, range_.increment));
}

void TVexaSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    repeatPointer_ = Horizontal() ? at.x() : at.y();
    repeatDirection_ = 0;
    StepTowards(repeatPointer_);
    repeatTimer_.start();
}

void TVexaSlider::TrackRepeat() {
    StepTowards(repeatPointer_);
}

bool TVexaSlider::event(QEvent* event) {
    if (event->type() == QEvent::MouseMove && repeatTimer_.isActive()) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        repeatPointer_ = Horizontal() ? at.x() : at.y();
    }
    return QWidget::event(event);
}

void TVexaSlider::mouseReleaseEvent(QMouseEvent* event) {
    repeatTimer_.stop();
    repeatDirection_ = 0;
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick)
        OnClick(this);
}

void TVexaSlider::mouseDoubleClickEvent(QMouseEvent*) {
    if (OnDblClick)
        OnDblClick(this);
}

void TVexaSlider::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Home:
        SetValue(range_.minValue);
        break;
    case Qt::Key_End:
        SetValue(range_.maxValue);
        break;
    case Qt::Key_Left:
        if (Horizontal())
            SetValue(StepDown(value_, range_.increment));
        break;
    case Qt::Key_Right:
        if (Horizontal())
            SetValue(StepUp(value_, range_.increment));
        break;
    case Qt::Key_Up:
        if (!Horizontal())
            SetValue(StepUp(value_, range_.increment));
        break;
    case Qt::Key_Down:
        if (!Horizontal())
            SetValue(StepDown(value_, range_.increment));
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

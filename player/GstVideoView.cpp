#include "player/GstVideoView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

GstVideoView::GstVideoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Movie"));
}

void GstVideoView::SetFrame(QImage frame) {
    QSize before;
    {
        std::lock_guard lock(mutex_);
        before = frame_.size();
        frame_ = std::move(frame);
    }
    // A frame of the same size repaints only its own place; the bars stay as they are.
    if (!before.isEmpty() && before == Frame().size())
        update(TargetRect(before));
    else
        update();
}

void GstVideoView::PostFrame(QImage frame) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(frame); // an older frame not yet shown is dropped here
        if (pendingPosted_)
            return;
        pendingPosted_ = true;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            QImage frame;
            {
                std::lock_guard lock(mutex_);
                frame = std::move(pending_);
                pending_ = QImage();
                pendingPosted_ = false;
            }
            if (!frame.isNull())
                SetFrame(std::move(frame));
        },
        Qt::QueuedConnection);
}

void GstVideoView::ClearFrame() {
    {
        std::lock_guard lock(mutex_);
        pending_ = QImage();
    }
    SetFrame(QImage());
}

QImage GstVideoView::Frame() const {
    std::lock_guard lock(mutex_);
    return frame_;
}

void GstVideoView::SetDisplaySize(int size) {
    displaySize_ = size;
    update();
}

QRect GstVideoView::TargetRect(const QSize& frameSize) const {
    QSize size = frameSize;
    switch (displaySize_) {
    case 1:
        size = frameSize / 2;
        break;
    case 2:
        size = frameSize * 2;
        break;
    case 4:
        size = frameSize.scaled(this->size(), Qt::KeepAspectRatio);
        break;
    default:
        break;
    }
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void GstVideoView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QImage frame = Frame();
    if (frame.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    const QRect target = TargetRect(frame.size());
    // Only the letterbox bars are filled; the frame covers the rest.
    for (const QRect& bar : event->region().subtracted(QRegion(target)))
        p.fillRect(bar, Qt::black);
    // The one scaling of the frame, straight into the window's buffer.
    p.drawImage(target, frame);
}

void GstVideoView::mousePressEvent(QMouseEvent* event) {
    if (mouseDown)
        mouseDown(event->button() == Qt::RightButton);
}

void GstVideoView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        clicked)
        clicked();
}

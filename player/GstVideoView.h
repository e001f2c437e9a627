#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <mutex>

// The picture of a GStreamer control: the latest video frame, at the movie's own size, scaled once
// by the paint to the chosen display size and centred, with black bars around it.
class GstVideoView : public QWidget {
public:
    explicit GstVideoView(QWidget* parent = nullptr);
    void SetFrame(QImage frame);
    // From any thread: the frame replaces one not yet shown, and one repaint is queued.
    void PostFrame(QImage frame);
    void ClearFrame();
    void SetDisplaySize(int size);
    QImage Frame() const;
    // Where a movie frame of the given size is drawn.
    QRect TargetRect(const QSize& frameSize) const;

    std::function<void()> clicked;
    std::function<void(bool rightButton)> mouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    mutable std::mutex mutex_;
    QImage frame_;
    QImage pending_; // posted from a streaming thread, not yet taken
    bool pendingPosted_ = false;
    int displaySize_ = 4;
};

#include "player/PlayerBitmaps.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

#include <cstring>

namespace {

const QColor kOlive(128, 128, 0);

QPixmap Masked(QImage image) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(kOlive, Qt::MaskInColor));
    return pixmap;
}

QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kOlive);
    return image;
}

// One 16 x 9 button glyph at x offset `left` in the given colour.
void DrawButtonGlyph(QPainter& p, const char* name, int left, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    auto triangle = [&](int x, bool pointingRight) {
        QPainterPath path;
        if (pointingRight) {
            path.moveTo(x, 0);
            path.lineTo(x + 5, 4.5);
            path.lineTo(x, 9);
        } else {
            path.moveTo(x + 5, 0);
            path.lineTo(x, 4.5);
            path.lineTo(x + 5, 9);
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    if (std::strcmp(name, "BTNPLAY") == 0) {
        QPainterPath path;
        path.moveTo(left + 5, 0);
        path.lineTo(left + 11, 4.5);
        path.lineTo(left + 5, 9);
        path.closeSubpath();
        p.drawPath(path);
    } else if (std::strcmp(name, "BTNPAUSE") == 0) {
        p.drawRect(left + 5, 0, 2, 9);
        p.drawRect(left + 9, 0, 2, 9);
    } else if (std::strcmp(name, "BTNSTOP") == 0) {
        p.drawRect(left + 4, 1, 7, 7);
    } else if (std::strcmp(name, "BTNREW") == 0) {
        p.drawRect(left + 2, 0, 1, 9);
        triangle(left + 3, false);
        triangle(left + 8, false);
    } else if (std::strcmp(name, "BTNFFWD") == 0) {
        triangle(left + 3, true);
        triangle(left + 8, true);
        p.drawRect(left + 13, 0, 1, 9);
    }
}

} // namespace

QPixmap PlayerBitmap(const char* name) {
    if (std::strncmp(name, "BTN", 3) == 0) {
        QImage image = Canvas(32, 9);
        QPainter p(&image);
        DrawButtonGlyph(p, name, 0, Qt::black);
        // The disabled glyph: a white relief under a grey face.
        DrawButtonGlyph(p, name, 17, Qt::white);
        DrawButtonGlyph(p, name, 16, QColor(128, 128, 128));
        p.end();
        return Masked(image);
    }
    if (std::strcmp(name, "imgMovie") == 0) {
        QImage image = Canvas(12, 12);
        QPainter p(&image);
        p.fillRect(1, 2, 10, 8, QColor(64, 64, 64));
        for (int y : {3, 5, 7})
            for (int x : {1, 10})
                image.setPixelColor(x, y + 0, Qt::white);
        p.fillRect(3, 3, 6, 6, QColor(90, 140, 210));
        return Masked(image);
    }
    if (std::strcmp(name, "imgTime") == 0) {
        QImage image = Canvas(12, 12);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(32, 32, 32));
        p.setBrush(Qt::white);
        p.drawEllipse(0, 0, 11, 11);
        p.drawLine(6, 6, 6, 2);
        p.drawLine(6, 6, 9, 6);
        return Masked(image);
    }
    if (std::strcmp(name, "H_THUMB") == 0 || std::strcmp(name, "V_THUMB") == 0) {
        const bool horizontal = name[0] == 'H';
        const int w = horizontal ? 11 : 16, h = horizontal ? 8 : 11 / 2 * 2;
        QImage image = Canvas(horizontal ? 22 : 16, horizontal ? 8 : 11);
        QPainter p(&image);
        for (int state = 0; state < 2; ++state) {
            const QColor face = state == 0 ? QColor(212, 208, 200) : QColor(160, 170, 200);
            const QRect r = horizontal ? QRect(state * w, 0, w - 1, h - 1) : QRect(0, 0, 7, 10);
            const QRect cell = horizontal ? r : QRect(state * 8, 0, 7, 10);
            p.setPen(QColor(64, 64, 64));
            p.setBrush(face);
            p.drawRect(cell);
            p.setPen(Qt::white);
            p.drawLine(cell.left() + 1, cell.top() + 1, cell.right() - 1, cell.top() + 1);
            p.drawLine(cell.left() + 1, cell.top() + 1, cell.left() + 1, cell.bottom() - 1);
        }
        return Masked(image);
    }
    if (std::strcmp(name, "H_RULER") == 0 || std::strcmp(name, "V_RULER") == 0) {
        const bool horizontal = name[0] == 'H';
        QImage image = Canvas(horizontal ? 20 : 8, horizontal ? 10 : 22);
        QPainter p(&image);
        const QRect groove = horizontal ? QRect(0, 3, 20, 4) : QRect(2, 0, 4, 22);
        p.fillRect(groove, QColor(255, 255, 255));
        p.setPen(QColor(128, 128, 128));
        if (horizontal) {
            p.drawLine(0, 3, 19, 3);
            p.drawLine(0, 3, 0, 6);
            p.setPen(QColor(64, 64, 64));
            p.drawLine(1, 4, 18, 4);
        } else {
            p.drawLine(2, 0, 2, 21);
            p.drawLine(2, 0, 5, 0);
            p.setPen(QColor(64, 64, 64));
            p.drawLine(3, 1, 3, 20);
        }
        return Masked(image);
    }
    return QPixmap();
}

QCursor HandCursor() {
    return QCursor(Qt::PointingHandCursor);
}

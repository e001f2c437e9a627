#include "resources/Glyphs.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kSize = 16;

QPixmap Blank(int size = kSize) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.setBrush(QColor(250, 220, 120));
    QPainterPath tab;
    tab.moveTo(1.5, 4.5);
    tab.lineTo(2.5, 2.5);
    tab.lineTo(6.5, 2.5);
    tab.lineTo(7.5, 4.5);
    p.drawPath(tab);
}

void DrawGlobe(QPainter& p) {
    p.setPen(QPen(QColor(20, 80, 150), 1.2));
    p.setBrush(QColor(120, 180, 240));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
}

void DrawRescan(QPainter& p) {
    p.setPen(QPen(QColor(20, 120, 40), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(3, 3, 10, 10), 30 * 16, 270 * 16);
    p.setBrush(QColor(20, 120, 40));
    p.setPen(Qt::NoPen);
    QPolygonF head;
    head << QPointF(10, 1) << QPointF(15, 5) << QPointF(9.5, 7.5);
    p.drawPolygon(head);
}

void DrawAbout(QPainter& p) {
    p.setPen(QPen(QColor(20, 60, 160), 1));
    p.setBrush(QColor(60, 110, 220));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7, 3.5, 2, 2));
    p.drawRect(QRectF(7, 6.5, 2, 6));
}

void DrawReadMe(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 13));
    p.setPen(QPen(QColor(60, 90, 160), 1));
    for (int y = 4; y <= 12; y += 2)
        p.drawLine(QPointF(5, y + 0.5), QPointF(11, y + 0.5));
}

void DrawReset(QPainter& p) {
    p.setPen(QPen(QColor(170, 100, 20), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, -270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 100, 20));
    QPolygonF head;
    head << QPointF(2, 3) << QPointF(8, 0.5) << QPointF(8, 6);
    p.drawPolygon(head);
}

void DrawPlay(QPainter& p) {
    p.setPen(QPen(QColor(10, 100, 20), 1));
    p.setBrush(QColor(40, 180, 60));
    QPolygonF tri;
    tri << QPointF(4, 2) << QPointF(14, 8) << QPointF(4, 14);
    p.drawPolygon(tri);
}

void DrawExit(QPainter& p) {
    p.setPen(QPen(QColor(120, 70, 30), 1));
    p.setBrush(QColor(190, 130, 70));
    p.drawRect(QRectF(2.5, 1.5, 7, 13));
    p.setPen(QPen(QColor(190, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(14, 8));
    p.drawLine(QPointF(11.5, 5.5), QPointF(14, 8));
    p.drawLine(QPointF(11.5, 10.5), QPointF(14, 8));
}

void DrawOkay(QPainter& p) {
    p.setPen(QPen(QColor(20, 140, 40), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF tick;
    tick << QPointF(2.5, 8.5) << QPointF(6.5, 12.5) << QPointF(13.5, 3.5);
    p.drawPolyline(tick);
}

void DrawCancel(QPainter& p) {
    p.setPen(QPen(QColor(200, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}
} // namespace

QPixmap GlyphPixmap(Glyph glyph) {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case Glyph::Folder:
    case Glyph::Browse:
        DrawFolder(p);
        break;
    case Glyph::Language:
        DrawGlobe(p);
        break;
    case Glyph::Rescan:
        DrawRescan(p);
        break;
    case Glyph::About:
        DrawAbout(p);
        break;
    case Glyph::ReadMe:
        DrawReadMe(p);
        break;
    case Glyph::Reset:
        DrawReset(p);
        break;
    case Glyph::Play:
        DrawPlay(p);
        break;
    case Glyph::Exit:
        DrawExit(p);
        break;
    case Glyph::Okay:
        DrawOkay(p);
        break;
    case Glyph::Cancel:
        DrawCancel(p);
        break;
    }
    return pixmap;
}

QPixmap DisabledGlyph(const QPixmap& normal) {
    // The classic disabled look: the shape in grey, with a white relief one pixel down-right.
    QImage source = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    QImage shape(source.size(), QImage::Format_ARGB32);
    QImage relief(source.size(), QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            int alpha = qAlpha(source.pixel(x, y));
            shape.setPixel(x, y, qRgba(128, 128, 128, alpha));
            relief.setPixel(x, y, qRgba(255, 255, 255, alpha));
        }
    QPixmap out = Blank(normal.width());
    QPainter p(&out);
    p.drawImage(1, 1, relief);
    p.drawImage(0, 0, shape);
    return out;
}

QIcon GlyphIcon(Glyph glyph) {
    QPixmap normal = GlyphPixmap(glyph);
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(normal, QIcon::Active);
    icon.addPixmap(DisabledGlyph(normal), QIcon::Disabled);
    return icon;
}

void DecorateButton(QAbstractButton* button, Glyph glyph) {
    button->setIcon(GlyphIcon(glyph));
    button->setIconSize(QSize(kSize, kSize));
    button->setCursor(Qt::PointingHandCursor);
}

static void DrawEmblem(QPainter& p, int size) {
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, size, size);
    fill.setColorAt(0, QColor(70, 40, 20));
    fill.setColorAt(1, QColor(160, 90, 30));
    p.setPen(QPen(QColor(40, 20, 10), size / 24.0));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(size * 0.04, size * 0.04, size * 0.92, size * 0.92), size * 0.15,
                      size * 0.15);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(size * 0.7));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(250, 220, 130));
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("Z"));
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap = Blank(size);
        QPainter p(&pixmap);
        DrawEmblem(p, size);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QImage ApplicationIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawEmblem(p, size);
    return image;
}

QImage XpdFileIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A sheet with a folded corner, the emblem in its lower part.
    const qreal s = size;
    const qreal left = s * 0.14, right = s * 0.86, top = s * 0.04, bottom = s * 0.96;
    const qreal fold = s * 0.22;
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.lineTo(right - fold, top);
    sheet.lineTo(right, top + fold);
    sheet.lineTo(right, bottom);
    sheet.lineTo(left, bottom);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), qMax(1.0, s / 32.0)));
    p.setBrush(QColor(250, 250, 246));
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    p.setBrush(QColor(215, 215, 205));
    p.drawPath(corner);
    const int emblem = static_cast<int>(s * 0.56);
    p.translate((s - emblem) / 2.0, s * 0.36);
    DrawEmblem(p, emblem);
    return image;
}

QPixmap AboutPicture() {
    QPixmap pixmap = Blank(74);
    QPainter p(&pixmap);
    DrawEmblem(p, 74);
    return pixmap;
}

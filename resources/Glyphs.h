#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

class QAbstractButton;

// Button pictures drawn in code: each has a normal and a disabled look.
enum class Glyph {
    Folder,
    Language,
    Rescan,
    Browse,
    About,
    ReadMe,
    Reset,
    Play,
    Exit,
    Okay,
    Cancel
};

QPixmap GlyphPixmap(Glyph glyph);
QPixmap DisabledGlyph(const QPixmap& normal);
QIcon GlyphIcon(Glyph glyph);

// Puts the glyph on a button and gives it the hand cursor, as every button of the utility has.
void DecorateButton(QAbstractButton* button, Glyph glyph);

QIcon ApplicationIcon();
// The application's emblem and the XPD package's document picture at any size, as the desktop's
// icon theme holds them (drawn by the same code as the window icon).
QImage ApplicationIconImage(int size);
QImage XpdFileIconImage(int size);
QPixmap AboutPicture(); // 74 x 74

#pragma once

#include <QCursor>
#include <QPixmap>

// Pictures of the media components, drawn in code. Olive (128, 128, 0) is the transparent colour
// of every picture; the pixmaps returned have it masked out.
//  "BTNPLAY", "BTNPAUSE", "BTNSTOP", "BTNREW", "BTNFFWD": 32 x 9, two glyphs side by side
//  (enabled, then disabled); "imgMovie", "imgTime": 12 x 12; "H_THUMB" 22 x 8 (two thumbs),
//  "H_RULER" 20 x 10, "V_THUMB" 16 x 11, "V_RULER" 8 x 22.
QPixmap PlayerBitmap(const char* name);

// The hand pointer of the buttons and the slider thumb.
QCursor HandCursor();

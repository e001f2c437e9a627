#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

class QLabel;
class QWidget;

// The font every window was designed with: Tahoma, 8 points (11 pixels at 96 dots per inch).
QFont DesignFont(bool bold = false, int pointSize = 8);

// A label at a designed place, sized to its text.
QLabel* MakeDesignLabel(QWidget* parent, const char* name, const QString& text, QPoint at);

// Moves a window to the centre of its parent's screen (its own screen without a parent), where
// the dialogs were designed to open; Qt would centre a dialog over its parent window.
void CentreOnScreen(QWidget* window);

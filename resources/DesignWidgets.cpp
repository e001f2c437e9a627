#include "resources/DesignWidgets.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

QFont DesignFont(bool bold, int pointSize) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QLabel* MakeDesignLabel(QWidget* parent, const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, parent);
    // Captions come from language files: shown as text, never as markup ("&" still marks the
    // accelerator of a label with a buddy).
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    return label;
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->parentWidget() ? window->parentWidget()->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->geometry().center());
    window->move(frame.topLeft());
}

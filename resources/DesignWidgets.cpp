#include "resources/DesignWidgets.h"

#include <QLabel>

QFont DesignFont(bool bold, int pointSize) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QLabel* MakeDesignLabel(QWidget* parent, const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    return label;
}

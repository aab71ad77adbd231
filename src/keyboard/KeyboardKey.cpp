#include "keyboard/KeyboardKey.h"

#include <QPainter>

KeyboardKey::KeyboardKey(QWidget* parent) : QAbstractButton(parent) {
    // Clicking a key must not pull the focus away from where the learner left it.
    setFocusPolicy(Qt::NoFocus);
}

void KeyboardKey::setBackColor(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    update();
}

void KeyboardKey::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

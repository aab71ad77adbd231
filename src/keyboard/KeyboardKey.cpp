#include "keyboard/KeyboardKey.h"

#include <QPainter>

#include <algorithm>

namespace {

// The mark stands centred across the key, its lower edge at about two thirds of its height:
// above a white key's name and clear of the black keys beside, below a black key's middle.
constexpr double MarkShare = 0.6, MarkSidePixels = 15, MarkBottom = 0.68, MarkPenPixels = 2;

} // namespace

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

void KeyboardKey::setName(const QString& name) {
    m_name = name;
    if (!m_mark)
        setAccessibleName(name);
}

void KeyboardKey::setMark(std::optional<AnswerMark> mark, const QString& note) {
    m_mark = mark;
    setAccessibleName(mark ? markedNoteName(*mark, note) : m_name);
    update();
}

void KeyboardKey::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!m_mark)
        return;
    const double side = std::min(width() * MarkShare, MarkSidePixels);
    const double bottom = height() * MarkBottom;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), MarkPenPixels));
    drawBoxMark(painter, *m_mark, QRectF((width() - side) / 2, bottom - side, side, side));
}

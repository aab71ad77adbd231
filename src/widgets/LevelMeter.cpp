#include "widgets/LevelMeter.h"

#include <QPainter>

#include <algorithm>

namespace {

// Where a level lies along the bar, 0 at the floor and 1 at full scale.
double fractionOf(float db) {
    return std::clamp(double(db - LevelMeter::floorDb) / double(-LevelMeter::floorDb), 0.0, 1.0);
}

} // namespace

LevelMeter::LevelMeter(QWidget* parent) : QWidget(parent) {
    setAccessibleName(tr("Mikrofonpegel"));
}

void LevelMeter::setLevel(float db) {
    level_ = std::max(db, floorDb);
    update();
}

void LevelMeter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(frame, palette().base());
    const bool good = level_ >= goodDb;
    const int filled = int(fractionOf(level_) * frame.width());
    painter.fillRect(QRect(frame.left(), frame.top(), filled, frame.height()),
                     good ? QColor(0, 160, 0) : QColor(120, 120, 120));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(frame);
    const int mark = frame.left() + int(fractionOf(goodDb) * frame.width());
    painter.drawLine(mark, frame.top(), mark, frame.bottom());
}

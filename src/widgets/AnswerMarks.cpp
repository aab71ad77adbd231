#include "widgets/AnswerMarks.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPushButton>

#include <array>
#include <cmath>

namespace {

// Of the head's diameter: where the cross's arms begin and end, from the head's middle along
// its diagonals, and the room between the head and its ring.
constexpr double CrossInner = 0.25, CrossOuter = 0.7, RingGap = 0.12;

const QString ChosenPrefix = QStringLiteral("\u2717 ");
const QString AskedPrefix = QStringLiteral("\u2713 ");

} // namespace

void drawHeadMark(QPainter& painter, AnswerMark mark, const QRectF& head) {
    const QPointF middle = head.center();
    const double diameter = head.height();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (mark == AnswerMark::Asked) {
        const double radius = diameter * (0.5 + RingGap);
        painter.drawEllipse(middle, radius, radius);
    } else {
        const double inner = diameter * CrossInner / std::sqrt(2.0);
        const double outer = diameter * CrossOuter / std::sqrt(2.0);
        for (const QPointF direction :
             {QPointF(1, 1), QPointF(1, -1), QPointF(-1, 1), QPointF(-1, -1)})
            painter.drawLine(middle + direction * inner, middle + direction * outer);
    }
    painter.restore();
}

void drawBoxMark(QPainter& painter, AnswerMark mark, const QRectF& box) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (mark == AnswerMark::Asked) {
        painter.drawEllipse(box);
    } else {
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.bottomLeft(), box.topRight());
    }
    painter.restore();
}

QString markedNoteName(AnswerMark mark, const QString& note) {
    return mark == AnswerMark::Asked
               ? QCoreApplication::translate("AnswerMarks", "%1, gesucht").arg(note)
               : QCoreApplication::translate("AnswerMarks", "%1, gewählt, falsch").arg(note);
}

void setCaptionMark(QPushButton* button, std::optional<AnswerMark> mark, const QString& note) {
    QString caption = button->text();
    for (const QString& prefix : {ChosenPrefix, AskedPrefix})
        if (caption.startsWith(prefix))
            caption.remove(0, prefix.size());
    if (mark)
        caption.prepend(*mark == AnswerMark::Chosen ? ChosenPrefix : AskedPrefix);
    button->setText(caption);
    // A screen reader would read the signs as "check mark" or "multiplication x".
    button->setAccessibleName(mark ? markedNoteName(*mark, note) : QString());
}

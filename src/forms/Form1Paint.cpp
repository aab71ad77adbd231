// The staff, its ledger lines and the two note heads, drawn in twips.
#include "forms/Form1.h"
#include "help/ClefGlyph.h"
#include "training/ClefTable.h"
#include "training/Exercise.h"
#include "widgets/AnswerMarks.h"
#include "widgets/Twips.h"

#include <QPainter>

#include <algorithm>

QRectF headCircle(const DrawnShape& head) {
    const double diameter = head.Height;
    return {head.Left + (head.Width - diameter) / 2, head.Top, diameter, diameter};
}

namespace {

constexpr double LineWidthPixels = 3;
constexpr double MarkWidthPixels = 2.5;

void drawLine(QPainter& painter, const DrawnLine& line) {
    if (line.Visible)
        painter.drawLine(QPointF(line.X1, line.Y1), QPointF(line.X2, line.Y2));
}

// A round head, narrower than the ledger lines it sits on.
void drawHead(QPainter& painter, const DrawnShape& shape, const QColor& fill) {
    if (!shape.Visible)
        return;
    painter.setBrush(fill);
    painter.drawEllipse(headCircle(shape));
}

} // namespace

void Form1::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // Painted, not set in the palette, which the window's controls would inherit.
    painter.fillRect(rect(), staffBackground());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(1 / TwipsPerPixel, 1 / TwipsPerPixel);
    painter.setPen(QPen(palette().color(QPalette::WindowText), LineWidthPixels * TwipsPerPixel,
                        Qt::SolidLine, Qt::FlatCap));

    for (const DrawnLine* line : {&Line1, &Line2, &Line3, &Line4, &Line5})
        drawLine(painter, *line);
    drawClefSign(painter);
    drawKeySignature(painter);
    drawPhrase(painter);
    drawHead(painter, shpNote, headFill(shpNote.BackColor));
    const QColor text = palette().color(QPalette::WindowText);
    drawAccidental(painter, shpNote, m_askedSign,
                   shpNote.BackColor == VbColor::White ? text : headFill(shpNote.BackColor));
    for (int i = 0; i <= 6; ++i)
        drawLine(painter, ZusatzLinie[i]);
    drawHead(painter, shpNoteFalsch, headFill(shpNoteFalsch.BackColor));
    drawAccidental(painter, shpNoteFalsch, m_chosenSign, headFill(shpNoteFalsch.BackColor));
    for (int i = 7; i <= 13; ++i)
        drawLine(painter, ZusatzLinie[i]);
    // The chosen head shows only during the wrong-answer display.
    if (shpNoteFalsch.Visible) {
        drawMark(painter, AnswerMark::Asked, headCircle(shpNote));
        drawMark(painter, AnswerMark::Chosen, headCircle(shpNoteFalsch));
    }

    keepKeyboardAtCorner();
}

void Form1::drawMark(QPainter& painter, AnswerMark mark, const QRectF& head) const {
    painter.save();
    painter.setPen(QPen(palette().color(QPalette::WindowText), MarkWidthPixels * TwipsPerPixel,
                        Qt::SolidLine, Qt::FlatCap));
    drawHeadMark(painter, mark, head);
    painter.restore();
}

// The described clefs are told by their answer rows and show no sign, unless a key or the
// tasks' own signs are set: a signature is read from its clef. The others always show theirs.
bool Form1::clefSignOnStaff() const {
    const ClefRow* row = clefRow(m_exercise.clef());
    return row && (!row->ownButtonRow || m_exercise.alteredNotes());
}

// The clef's sign as far up and down as it reaches on the staff, from the staff's left end; a C
// clef's narrowed to fit if need be, the others as wide as their outlines make them.
const QPainterPath& Form1::placedClefSign() const {
    const ClefRow* row = clefRow(m_exercise.clef());
    const Clef clef = row ? row->clef : Clef::None;
    if (m_signClef == clef)
        return m_sign;
    m_signClef = clef;
    m_sign = clefOutline(clef);
    if (m_sign.isEmpty())
        return m_sign;
    const ClefSignReach reach = clefSignReach(*row);
    const double top = Line1.Y1 + reach.top * staffSpace();
    const double height = (reach.bottom - reach.top) * staffSpace();
    const QRectF bounds = m_sign.boundingRect();
    const double scaleY = height / bounds.height();
    const double scaleX = row->ownButtonRow
                              ? scaleY
                              : std::min(scaleY, (ClefSignRight - ClefSignLeft) / bounds.width());
    QTransform transform;
    transform.translate(ClefSignLeft, top);
    transform.scale(scaleX, scaleY);
    transform.translate(-bounds.left(), -bounds.top());
    m_sign = transform.map(m_sign);
    return m_sign;
}

void Form1::drawClefSign(QPainter& painter) {
    if (m_exercise.state() != ExerciseState::Running || !clefSignOnStaff())
        return;
    const QPainterPath& sign = placedClefSign();
    if (sign.isEmpty())
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillPath(sign, palette().color(QPalette::WindowText));
    painter.restore();
}

// The staff, its ledger lines and the two note heads, drawn in twips.
#include "forms/Form1.h"
#include "help/ClefGlyph.h"
#include "training/ClefTable.h"
#include "training/Exercise.h"
#include "widgets/Twips.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr double LineWidthPixels = 3;

void drawLine(QPainter& painter, const DrawnLine& line) {
    if (line.Visible)
        painter.drawLine(QPointF(line.X1, line.Y1), QPointF(line.X2, line.Y2));
}

// A round head as high as its box, centred in it: narrower than the ledger lines it sits on.
void drawHead(QPainter& painter, const DrawnShape& shape) {
    if (!shape.Visible)
        return;
    painter.setBrush(fromVbColor(shape.BackColor));
    const double diameter = shape.Height;
    painter.drawEllipse(
        QRectF(shape.Left + (shape.Width - diameter) / 2, shape.Top, diameter, diameter));
}

} // namespace

void Form1::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // Painted, not set in the palette, which the window's controls would inherit.
    painter.fillRect(rect(), fromVbColor(VbColor::Blue));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(1 / TwipsPerPixel, 1 / TwipsPerPixel);
    painter.setPen(QPen(palette().color(QPalette::WindowText), LineWidthPixels * TwipsPerPixel,
                        Qt::SolidLine, Qt::FlatCap));

    for (const DrawnLine* line : {&Line1, &Line2, &Line3, &Line4, &Line5})
        drawLine(painter, *line);
    drawClefSign(painter);
    drawKeySignature(painter);
    drawHead(painter, shpNote);
    const QColor text = palette().color(QPalette::WindowText);
    drawAccidental(painter, shpNote, m_askedSign,
                   shpNote.BackColor == VbColor::White ? text : fromVbColor(shpNote.BackColor));
    for (int i = 0; i <= 6; ++i)
        drawLine(painter, ZusatzLinie[i]);
    drawHead(painter, shpNoteFalsch);
    drawAccidental(painter, shpNoteFalsch, m_chosenSign, fromVbColor(shpNoteFalsch.BackColor));
    for (int i = 7; i <= 13; ++i)
        drawLine(painter, ZusatzLinie[i]);

    keepKeyboardAtCorner();
}

// The described clefs are told by their answer rows and have no sign on the staff; the others
// show theirs while their exercise runs, centred on the line it marks and four spaces high,
// narrowed to fit if need be.
void Form1::drawClefSign(QPainter& painter) {
    const ClefRow* row = clefRow(m_exercise.clef());
    if (m_exercise.state() != ExerciseState::Running || !row || row->ownButtonRow)
        return;
    if (m_signClef != row->clef) {
        m_sign = clefOutline(row->clef);
        m_signClef = row->clef;
    }
    if (m_sign.isEmpty())
        return;
    const std::array<const DrawnLine*, 5> lines = {&Line5, &Line4, &Line3, &Line2, &Line1};
    const double lineY = lines.at(std::size_t(row->glyphLine - 1))->Y1;
    const double height = Line5.Y1 - Line1.Y1;
    const QRectF bounds = m_sign.boundingRect();
    const double scaleY = height / bounds.height();
    const double scaleX = std::min(scaleY, (ClefSignRight - ClefSignLeft) / bounds.width());
    QTransform transform;
    transform.translate(ClefSignLeft, lineY - height / 2);
    transform.scale(scaleX, scaleY);
    transform.translate(-bounds.left(), -bounds.top());
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillPath(transform.map(m_sign), palette().color(QPalette::WindowText));
    painter.restore();
}

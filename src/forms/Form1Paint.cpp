// The staff, its ledger lines and the two note heads, drawn in twips.
#include "forms/Form1.h"
#include "widgets/Twips.h"

#include <QPainter>

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
    drawHead(painter, shpNote);
    for (int i = 0; i <= 6; ++i)
        drawLine(painter, ZusatzLinie[i]);
    drawHead(painter, shpNoteFalsch);
    for (int i = 7; i <= 13; ++i)
        drawLine(painter, ZusatzLinie[i]);

    keepKeyboardAtCorner();
}

#include "help/NoteChart.h"

#include "help/ClefGlyph.h"
#include "widgets/Fonts.h"

#include <QPainter>

namespace {

constexpr double HeadTilt = -20;       // degrees, as printed heads lean
constexpr double HeadInk = 0.95;       // the tilted oval stays within its line spacing
constexpr double StaffLineWidth = 0.1; // in line spacings
constexpr double StemWidth = 0.13;

// Whole pixels, as unsmoothed lines of other widths come out uneven.
int penPixels(double pixels) {
    return std::max(1, qRound(pixels));
}

void drawHead(QPainter& painter, const QRectF& head) {
    painter.save();
    painter.translate(head.center());
    painter.rotate(HeadTilt);
    const double width = head.width() * HeadInk;
    const double height = head.height() * HeadInk;
    painter.drawEllipse(QRectF(-width / 2, -height / 2, width, height));
    painter.restore();
}

// Fits the sign to the box's height, keeping its proportions, from the box's left edge.
void drawClef(QPainter& painter, const QPainterPath& outline, const QRectF& box) {
    if (outline.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = outline.boundingRect();
    const double scale = box.height() / bounds.height();
    QTransform transform;
    transform.translate(box.left(), box.top());
    transform.scale(scale, scale);
    transform.translate(-bounds.left(), -bounds.top());
    painter.fillPath(transform.map(outline), Qt::black);
    painter.restore();
}

} // namespace

NoteChart::NoteChart(Clef clef, QWidget* parent)
    : QFrame(parent), m_clef(clef), m_clefOutline(clefOutline(clef)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
}

void NoteChart::setClef(Clef clef) {
    m_clef = clef;
    m_clefOutline = clefOutline(clef);
    update();
}

NoteChartModel NoteChart::chart() const {
    return noteChart(m_clef, contentsRect().size());
}

void NoteChart::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const NoteChartModel model = chart();
    if (model.notes.empty())
        return;
    const double s = model.lineSpacing;

    // Lines stand on whole pixels and stay sharp without smoothing; heads, clef and names
    // are smoothed.
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.translate(contentsRect().topLeft());

    painter.setPen(QPen(Qt::black, penPixels(StaffLineWidth * s), Qt::SolidLine, Qt::FlatCap));
    for (const QLineF& line : model.staffLines)
        painter.drawLine(line);
    drawClef(painter, m_clefOutline, model.clefBox);

    QFont nameFont = msSansSerif(8);
    nameFont.setPixelSize(std::max(1, qRound(model.nameFontPixels)));
    painter.setFont(nameFont);
    painter.setBrush(Qt::black);
    for (const ChartNote& note : model.notes) {
        painter.setPen(QPen(Qt::black, penPixels(StaffLineWidth * s), Qt::SolidLine, Qt::FlatCap));
        for (const QLineF& ledger : note.ledgerLines)
            painter.drawLine(ledger);
        painter.setPen(QPen(Qt::black, penPixels(StemWidth * s), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(note.stem);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        drawHead(painter, note.head);
        painter.setPen(Qt::black);
        painter.drawText(note.nameBox, Qt::AlignHCenter | Qt::AlignTop, note.name);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
}

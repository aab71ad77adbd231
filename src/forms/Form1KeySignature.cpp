// The key signature after the clef and the signs of the heads' own: with altered notes both
// columns move right as far as the signs need.
#include "forms/Form1.h"
#include "training/ClefTable.h"
#include "training/Exercise.h"

#include <QPainter>

#include <algorithm>

namespace {

// Distances in staff spaces: between the signs of the signature, after it, and between a
// head's sign and the head's ledger lines.
constexpr double BetweenSigns = 0.2;
constexpr double AfterSignature = 0.6;
constexpr double BeforeLedgerLines = 0.15;
// The ladder step of the staff's lowest line.
constexpr int LowestLineStep = 6;

} // namespace

double Form1::staffSpace() const {
    return (Line5.Y1 - Line1.Y1) / 4;
}

// After the clef's sign, where the sign would stand if no font has it.
double Form1::signatureLeft() const {
    if (!clefSignOnStaff())
        return ClefSignLeft;
    const QPainterPath& sign = placedClefSign();
    const double signRight = sign.isEmpty() ? ClefSignRight : sign.boundingRect().right();
    return signRight + BetweenSigns * staffSpace();
}

double Form1::signatureAdvance(int alteration) const {
    return m_accidentalSigns->width(alteration) + BetweenSigns * staffSpace();
}

// The wrong answer's note needs a sign before its head where the signature does not spell it.
std::optional<int> Form1::chosenSign() const {
    const std::optional<SpelledNote> chosen = m_exercise.chosenSpelled();
    const KeySignature key = m_exercise.key();
    if (!chosen || chosen->alteration == key.alterationOfLetter(chosen->letter()))
        return std::nullopt;
    return chosen->alteration;
}

void Form1::showKey(KeySignature key) {
    if (!m_exercise.alteredNotes())
        return;
    if (!m_accidentalSigns)
        m_accidentalSigns.emplace(staffSpace());
    if (m_accidentalSigns->isEmpty())
        return;
    const double signatureEnd =
        signatureLeft() + key.accidentalCount() * signatureAdvance(key.fifths < 0 ? -1 : 1);
    const double ledgerLeft = signatureEnd + AfterSignature * staffSpace() +
                              m_accidentalSigns->widest() + BeforeLedgerLines * staffSpace();
    const double restingLedgerLeft = ZusatzLinie[0].X1 - m_columnShift;
    shiftColumns(std::max(0.0, ledgerLeft - restingLedgerLeft));
}

// The ledger lines carry their columns' heads; the staff grows by as much.
void Form1::shiftColumns(double shift) {
    const double by = shift - m_columnShift;
    for (DrawnLine& line : ZusatzLinie) {
        line.X1 += by;
        line.X2 += by;
    }
    for (DrawnLine* line : {&Line1, &Line2, &Line3, &Line4, &Line5})
        line->X2 += by;
    m_columnShift = shift;
}

void Form1::drawKeySignature(QPainter& painter) {
    const ClefRow* row = clefRow(m_exercise.clef());
    const KeySignature key = m_exercise.key();
    if (m_exercise.state() != ExerciseState::Running || !row || key.fifths == 0 ||
        !m_accidentalSigns || m_accidentalSigns->isEmpty())
        return;
    const bool sharps = key.fifths > 0;
    const int alteration = sharps ? 1 : -1;
    const SignatureSteps& steps = sharps ? row->sharps : row->flats;
    const double halfSpace = staffSpace() / 2;
    QPainterPath signature;
    for (int i = 0; i < key.accidentalCount(); ++i) {
        const int step = steps.at(std::size_t(i)) - ladderBaseStep(*row);
        const double y = Line5.Y1 - (step - LowestLineStep) * halfSpace;
        signature.addPath(m_accidentalSigns->placed(
            alteration, signatureLeft() + i * signatureAdvance(alteration), y));
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillPath(signature, palette().color(QPalette::WindowText));
    painter.restore();
}

// Left of the head's ledger lines, on the head's own height.
void Form1::drawAccidental(QPainter& painter, const DrawnShape& head, std::optional<int> alteration,
                           const QColor& colour) {
    if (!head.Visible || !alteration || !m_accidentalSigns)
        return;
    const double ledgerHalf = (ZusatzLinie[0].X2 - ZusatzLinie[0].X1) / 2;
    const double right = head.Left + head.Width / 2 - ledgerHalf - BeforeLedgerLines * staffSpace();
    drawSign(painter, *alteration, right, head.Top + head.Height / 2, colour);
}

// A sign ending at `right`, centred on the height `middle`.
void Form1::drawSign(QPainter& painter, int alteration, double right, double middle,
                     const QColor& colour) {
    if (!m_accidentalSigns || m_accidentalSigns->isEmpty())
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillPath(
        m_accidentalSigns->placed(alteration, right - m_accidentalSigns->width(alteration), middle),
        colour);
    painter.restore();
}

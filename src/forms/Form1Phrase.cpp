// A task of several notes on the staff: its heads side by side after the clef and signature,
// the note to answer marked by an arrow below the staff, answered notes in green and ringed, wrong
// ones with the chosen note in red and crossed right beside.
#include "forms/Form1.h"
#include "training/ClefTable.h"
#include "training/Exercise.h"
#include "training/StaffPlacement.h"
#include "widgets/BackColor.h"
#include "widgets/Twips.h"
#include "widgets/WindowPlacement.h"

#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

// In staff spaces: between a sign and its head's ledger lines, between one note and the next,
// and the staff's end after the last note.
constexpr double BeforeLedgerLines = 0.15;
constexpr double BetweenNotes = 0.6;
constexpr double AfterLastNote = 0.5;
// The arrow under the staff, in twips: above the row labels, below the lowest ledger line's head.
constexpr double ArrowTop = 4170, ArrowHeight = 230, ArrowHalfWidth = 120;

} // namespace

void Form1::showPhrase(bool headsVisible) {
    m_phraseHeadsVisible = headsVisible;
    m_phraseShown = true;
    fitPhrase();
    update();
}

void Form1::showPhraseNote(int /*place*/) {
    update();
}

void Form1::moveMark(int /*place*/) {
    update();
}

void Form1::hidePhrase() {
    m_phraseShown = false;
    m_phraseHeadsVisible = true;
    fitPhrase();
}

// Room before a head for a sign of its own, where the exercise's notes can carry one.
double Form1::phraseSignRoom() const {
    if (!m_exercise.alteredNotes() || !m_accidentalSigns || m_accidentalSigns->isEmpty())
        return 0;
    return m_accidentalSigns->widest() + BeforeLedgerLines * staffSpace();
}

double Form1::phraseSlotWidth() const {
    const double ledger = ZusatzLinie[0].X2 - ZusatzLinie[0].X1;
    return ledger + shpNote.Height + phraseSignRoom() + BetweenNotes * staffSpace();
}

// The left end of the ledger lines of the note at `place`: the first where a single note's are.
double Form1::phraseLedgerLeft(int place) const {
    return ZusatzLinie[0].X1 + place * phraseSlotWidth();
}

// As many notes as stand side by side on the window at the widest its screen leaves room for,
// at least one.
int Form1::phraseNotesOnScreen(int notes) const {
    const QScreen* shown = screen();
    if (!shown)
        return notes;
    const QMargins frame = likelyFrameMargins(*this);
    const double room =
        (shown->availableGeometry().width() - frame.left() - frame.right()) * TwipsPerPixel;
    const double beside = phraseLedgerLeft(0) + AfterLastNote * staffSpace() + shpNote.Height;
    return std::clamp(int((room - beside) / phraseSlotWidth()), 1, notes);
}

// Where the screen cannot hold the whole phrase (a large scale factor), it shows as many notes as
// it can, whole, and turns on to the next of them once those are answered.
int Form1::phraseFirstShown() const {
    const int notes = int(m_exercise.phrase().size());
    if (m_phraseNotesShown >= notes)
        return 0;
    const int place = std::clamp(m_exercise.place(), 0, notes - 1);
    return std::min(place / m_phraseNotesShown * m_phraseNotesShown, notes - m_phraseNotesShown);
}

// The staff and the window reach as far right as the exercise's phrases need, or the screen
// allows; back at rest, the window has its own size again.
void Form1::fitPhrase() {
    const int notes = m_phraseShown ? m_exercise.notesPerTask() : 1;
    m_phraseNotesShown = phraseNotesOnScreen(notes);
    const double staffEnd = notes > 1 ? phraseLedgerLeft(m_phraseNotesShown - 1) +
                                            phraseSlotWidth() + AfterLastNote * staffSpace()
                                      : 0;
    const double restingEnd = m_restingStaffEnd + m_columnShift;
    for (DrawnLine* line : {&Line1, &Line2, &Line3, &Line4, &Line5})
        line->X2 = std::max(restingEnd, staffEnd);
    const int width = std::max(m_restingSize.width(),
                               int(std::ceil((staffEnd + shpNote.Height) / TwipsPerPixel)));
    if (width == this->width())
        return;
    const bool grown = width > this->width();
    setFixedSize(width, m_restingSize.height());
    if (grown)
        keepOnScreen();
}

// A window widened to the right moves left as far as the screen needs, so that its right end
// stays on it.
void Form1::keepOnScreen() {
    const QScreen* shown = screen();
    if (!isVisible() || !shown)
        return;
    const QRect available = shown->availableGeometry();
    const QRect frame = frameGeometry();
    const int overhang = frame.right() - available.right();
    if (overhang > 0)
        move(std::max(available.left(), frame.left() - overhang), frame.top());
}

void Form1::drawPhrase(QPainter& painter) {
    if (!m_phraseShown || !m_exercise.phrases())
        return;
    const std::vector<PhraseNote>& phrase = m_exercise.phrase();
    const double ledgerWidth = ZusatzLinie[0].X2 - ZusatzLinie[0].X1;
    const QColor text = palette().color(QPalette::WindowText);
    const int first = phraseFirstShown();
    const int end = std::min(int(phrase.size()), first + m_phraseNotesShown);
    for (int place = first; place < end; ++place) {
        const PhraseNote& note = phrase[std::size_t(place)];
        const double ledgerLeft = phraseLedgerLeft(place - first);
        const bool answered = note.state != PhraseNote::State::Open;
        if (place == m_exercise.place() && !answered) {
            const double middle = ledgerLeft + ledgerWidth / 2;
            QPainterPath arrow;
            arrow.moveTo(middle, ArrowTop);
            arrow.lineTo(middle + ArrowHalfWidth, ArrowTop + ArrowHeight);
            arrow.lineTo(middle - ArrowHalfWidth, ArrowTop + ArrowHeight);
            arrow.closeSubpath();
            painter.fillPath(arrow, text);
        }
        if (!answered && !m_phraseHeadsVisible)
            continue;
        const std::uint32_t colour = answered ? VbColor::Green : VbColor::White;
        const double headLeft = ledgerLeft + ledgerWidth / 2 - shpNote.Width / 2;
        double ledgerRight = ledgerLeft + ledgerWidth;
        std::optional<DrawnShape> chosenHead;
        std::optional<int> chosenSign;
        if (note.chosen) {
            const KeySignature key = m_exercise.key();
            if (note.chosen->alteration != key.alterationOfLetter(note.chosen->letter()))
                chosenSign = note.chosen->alteration;
            const double signRoom = chosenSign ? phraseSignRoom() : 0;
            chosenHead = DrawnShape{headLeft + shpNote.Height + signRoom,
                                    0,
                                    shpNote.Width,
                                    shpNote.Height,
                                    VbColor::Red,
                                    true};
            ledgerRight += shpNote.Height + signRoom;
        }
        const double overhang = (ledgerWidth - shpNote.Height) / 2;
        const double signGap = BeforeLedgerLines * staffSpace();
        drawPhraseHead(painter, {headLeft, 0, shpNote.Width, shpNote.Height, colour, true},
                       staffStep(m_exercise.clef(), note.index), ledgerLeft,
                       ledgerLeft + ledgerWidth, note.accidental, overhang + signGap,
                       answered ? headFill(colour) : text,
                       answered ? std::optional(AnswerMark::Asked) : std::nullopt);
        if (!chosenHead)
            continue;
        // Its ledger lines run on under both heads, as under a second.
        const std::optional<int> chosenIndex =
            clefIndexOf(m_exercise.clef(), {note.chosen->step, 0});
        if (chosenIndex)
            drawPhraseHead(painter, *chosenHead, staffStep(m_exercise.clef(), *chosenIndex),
                           ledgerLeft, ledgerRight, chosenSign, signGap, headFill(VbColor::Red),
                           AnswerMark::Chosen);
    }
}

// A head on its staff step with the ledger lines it needs between `ledgerLeft` and
// `ledgerRight`, its sign `signGap` before it, and the mark of an answered note.
void Form1::drawPhraseHead(QPainter& painter, DrawnShape head, int step, double ledgerLeft,
                           double ledgerRight, std::optional<int> sign, double signGap,
                           const QColor& signColour, std::optional<AnswerMark> mark) {
    const LineLadder ladder = columnLadder(Column::Asked);
    const std::optional<Placement> placement = placeOnLadder(ladder, step);
    if (!placement)
        return;
    head.Top = placement->top;
    for (const int rung : placement->ledgerRungs)
        painter.drawLine(QPointF(ledgerLeft, ladder[std::size_t(rung)]),
                         QPointF(ledgerRight, ladder[std::size_t(rung)]));
    painter.setBrush(headFill(head.BackColor));
    const QRectF circle = headCircle(head);
    painter.drawEllipse(circle);
    if (sign)
        drawSign(painter, *sign, circle.left() - signGap, head.Top + head.Height / 2, signColour);
    if (mark)
        drawMark(painter, *mark, circle);
}

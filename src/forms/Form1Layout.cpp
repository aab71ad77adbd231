// The main window as it stands before any of its code has run.
#include "forms/Form1.h"
#include "training/NoteModel.h"
#include "widgets/BackColor.h"
#include "widgets/Fonts.h"
#include "widgets/Pictures.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr double ClientWidth = 11102;
constexpr double ClientHeight = 7336;

constexpr double StaffX1 = 3360;
constexpr double StaffX2 = 6944;
constexpr std::array<double, 5> StaffY = {1568, 1904, 2240, 2576, 2912};

struct LedgerLine {
    double x1, x2, y;
};
constexpr double AskedX1 = 4032, AskedX2 = 4592, ChosenX1 = 5922, ChosenX2 = 6482;
constexpr std::array<LedgerLine, 14> LedgerLines = {{{AskedX1, AskedX2, 3248},
                                                     {AskedX1, AskedX2, 3584},
                                                     {AskedX1, AskedX2, 3920},
                                                     {AskedX1, AskedX2, 1260},
                                                     {AskedX1, AskedX2, 882},
                                                     {AskedX1, AskedX2, 560},
                                                     {AskedX1, AskedX2, 4256},
                                                     {ChosenX1, ChosenX2, 4284},
                                                     {ChosenX1, ChosenX2, 3948},
                                                     {ChosenX1, ChosenX2, 3612},
                                                     {ChosenX1, ChosenX2, 3276},
                                                     {ChosenX1, ChosenX2, 560},
                                                     {ChosenX1, ChosenX2, 882},
                                                     {ChosenX1, ChosenX2, 1260}}};

constexpr double AnswerLeft = 120, AnswerStep = 720, AnswerWidth = 735, AnswerHeight = 495;
constexpr double ViolinRowTop = 5040, BassRowTop = 6360;

// Under the time bar, left of the staff, level with its middle line: a key signature moves the
// heads and the staff's end to the right, over the free space there.
constexpr double AccidentalLeft = 126, AccidentalStep = 600, AccidentalTop = 1992;

QPushButton* button(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

QPushButton* answerButton(QWidget* parent, Clef clef, int index, double top) {
    auto* b = button(parent, noteName(clef, index),
                     twipsRect(AnswerLeft + AnswerStep * index, top, AnswerWidth, AnswerHeight));
    setBackColor(b, VbColor::White);
    b->setEnabled(false);
    return b;
}

QLabel* rowLabel(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(geometry);
    label->setFont(msSansSerif(11.64));
    label->setEnabled(false);
    return label;
}

DrawnLine horizontalLine(double x1, double x2, double y, bool visible) {
    return {x1, y, x2, y, visible};
}

} // namespace

void Form1::LayoutAnwenden() {
    setWindowTitle(QStringLiteral("Virelo 5.50 (Build: b)"));
    setWindowIcon(staffIcon());
    setFixedSize(twipsClientSize(ClientWidth, ClientHeight));

    const QFont modeFont = msSansSerif(8, true);
    cmdViolin = button(this, tr("Violinschlüssel"), twipsRect(120, 120, 1455, 375));
    cmdViolin->setFont(modeFont);
    cmdBass = button(this, tr("Bassschlüssel"), twipsRect(1680, 120, 1455, 375));
    cmdBass->setFont(modeFont);
    cmdViolinGehör = button(this, tr("Gehör-Training"), twipsRect(120, 600, 1455, 255));
    cmdBassGehör = button(this, tr("Gehör-Training"), twipsRect(1680, 600, 1455, 255));
    cmdÜbungAbbrechen = button(this, tr("Übung abbrechen"), twipsRect(120, 960, 3015, 375));
    cmdÜbungAbbrechen->setEnabled(false);
    cmdHilfe = button(this, tr("Hilfe"), twipsRect(7080, 120, 1215, 375));
    cmdInfo = button(this, tr("Info"), twipsRect(8400, 120, 1215, 375));
    cmdEnde = button(this, tr("Ende"), twipsRect(9720, 120, 1215, 375));
    // In the left column below the accidental toggles, as wide as "Übung abbrechen": right of
    // the staff a clef and a long key signature push the heads up to the window's edge.
    cmdStatistik = button(this, tr("Statistik"), twipsRect(120, 2760, 3015, 375));
    cmdWeitereSchluessel = button(this, tr("Weitere Schlüssel…"), twipsRect(120, 3240, 3015, 375));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(twipsRect(126, 1512, 3038, 392));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);

    Line1 = horizontalLine(StaffX1, StaffX2, StaffY[0], true);
    Line2 = horizontalLine(StaffX1, StaffX2, StaffY[1], true);
    Line3 = horizontalLine(StaffX1, StaffX2, StaffY[2], true);
    Line4 = horizontalLine(StaffX1, StaffX2, StaffY[3], true);
    Line5 = horizontalLine(StaffX1, StaffX2, StaffY[4], true);
    for (std::size_t i = 0; i < LedgerLines.size(); ++i)
        ZusatzLinie[i] =
            horizontalLine(LedgerLines[i].x1, LedgerLines[i].x2, LedgerLines[i].y, false);
    shpNote = {4920, 1440, 855, 375, VbColor::White, false};
    shpNoteFalsch = {6174, 1386, 854, 378, VbColor::Red, false};

    lblViolinschlüssel = rowLabel(this, tr("Violinschlüssel:"), twipsRect(120, 4440, 2535, 495));
    lblBassschlüssel = rowLabel(this, tr("Bassschlüssel:"), twipsRect(120, 5880, 2535, 495));
    for (int i = 0; i < NoteCount; ++i) {
        cmdNoteViolin[i] = answerButton(this, Clef::Violin, i, ViolinRowTop);
        cmdNoteBass[i] = answerButton(this, Clef::Bass, i, BassRowTop);
    }

    layOutAccidentals();

    QList<QWidget*> tabOrder = {cmdViolin, cmdBass, cmdViolinGehör, cmdBassGehör,
                                cmdHilfe,  cmdInfo, cmdEnde};
    tabOrder.append(QList<QWidget*>(cmdNoteViolin.begin(), cmdNoteViolin.end()));
    tabOrder.append(QList<QWidget*>(cmdNoteBass.begin(), cmdNoteBass.end()));
    tabOrder.append({cmdÜbungAbbrechen, cmdStatistik, cmdWeitereSchluessel});
    tabOrder.append(QList<QWidget*>(cmdVorzeichen.begin(), cmdVorzeichen.end()));
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    cmdViolin->setFocus();
    m_restingSize = size();
    m_restingStaffEnd = StaffX2;
}

void Form1::layOutAccidentals() {
    const std::array<QString, 3> captions = {QStringLiteral("♭"), QStringLiteral("♮"),
                                             QStringLiteral("♯")};
    const std::array<QString, 3> tips = {tr("Die nächste Antwort mit ♭ (Taste -)"),
                                         tr("Die nächste Antwort mit ♮ (Taste = oder 0)"),
                                         tr("Die nächste Antwort mit ♯ (Taste + oder #)")};
    for (std::size_t i = 0; i < cmdVorzeichen.size(); ++i) {
        QPushButton* b = button(this, captions[i],
                                twipsRect(AccidentalLeft + AccidentalStep * double(i),
                                          AccidentalTop, AnswerHeight, AnswerHeight));
        b->setCheckable(true);
        b->setToolTip(tips[i]);
        b->setFont(msSansSerif(14));
        b->hide();
        cmdVorzeichen[i] = b;
    }
}

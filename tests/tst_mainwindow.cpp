// The main window at rest, its layout, the mode buttons, and what it shows of an exercise.
#include "AnswerMarkReading.h"
#include "FakeServices.h"
#include "KeyboardWalk.h"
#include "ScreenReach.h"
#include "forms/Form1.h"
#include "help/frmHilfe.h"
#include "keyboard/frmKeyboard.h"
#include "settings/TypingSettings.h"
#include "settings/frmEinstellungen.h"
#include "training/MistakeNaming.h"
#include "training/NoteModel.h"
#include "training/ResultText.h"
#include "widgets/Contrast.h"
#include "widgets/MessageBox.h"
#include "widgets/WindowPlacement.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>

namespace {

QRect twips(int left, int top, int width, int height) {
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

QList<QPushButton*> modeAndCommandButtons(Form1& f) {
    return {f.cmdViolin, f.cmdBass, f.cmdViolinGehör, f.cmdBassGehör, f.cmdInfo, f.cmdEnde};
}

// An exercise over a range shown by the main window; nothing waits.
struct Run : ExerciseRun<FakeWorld> {
    std::unique_ptr<Form1> form;

    explicit Run(Clef clef, int lowest = 0, int highest = 14, int zeitVorbei = 400,
                 int zeitWeg = 2000, bool earTraining = false)
        : ExerciseRun(clef, lowest, highest, zeitVorbei, zeitWeg, earTraining) {
        clearStore();
        form = std::make_unique<Form1>(world.exercise, world.services());
    }

    // A clef without a row of its own answers on the treble row where it can.
    void answer(int index) {
        if (buttonRow(index) == &form->cmdNoteBass)
            form->cmdNoteBass_Click(std::int16_t(buttonIndex(index)));
        else
            form->cmdNoteViolin_Click(std::int16_t(buttonIndex(index)));
    }
    std::array<QPushButton*, 15>* buttonRow(int index) {
        if (ex().clef() == Clef::Bass)
            return &form->cmdNoteBass;
        if (ex().clef() == Clef::Violin || clefIndexOf(Clef::Violin, *clefNote(ex().clef(), index)))
            return &form->cmdNoteViolin;
        return &form->cmdNoteBass;
    }
    int buttonIndex(int index) {
        const Clef row = buttonRow(index) == &form->cmdNoteBass ? Clef::Bass : Clef::Violin;
        return clefIndexOf(row, *clefNote(ex().clef(), index)).value_or(-1);
    }
    QList<int> visibleLedgerLines() {
        QList<int> visible;
        for (int i = 0; i < 14; ++i)
            if (form->ZusatzLinie[i].Visible)
                visible.append(i);
        return visible;
    }
    QPushButton* button(int index) { return (*buttonRow(index))[buttonIndex(index)]; }
    QColor colour(int index) { return button(index)->palette().color(QPalette::Button); }
};

const QColor White(255, 255, 255);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);

// The mark on a head of the single-note display, from its drawn element in twips.
SeenMark markOn(const QImage& shot, const DrawnShape& head) {
    const QRectF circle = headCircle(head);
    return markOnHead(shot, circle.center() / 15, circle.height() / 15);
}

// What a screen reader reads as the control's name.
QString readName(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

// The caption whole within the button's face, where the style lays out its text.
bool captionFits(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return button->fontMetrics().horizontalAdvance(button->text()) <= contents.width();
}

// The areas of one colour on the staff, above the answer rows and right of the left column,
// as boxes in pixels: the heads standing there in that colour.
QList<QRect> staffPatches(const QImage& shot, const QColor& colour) {
    const QRect staff(QPoint(3360 / 15, 500 / 15), QPoint(shot.width() - 1, 4400 / 15));
    QList<QRect> patches;
    std::vector<bool> seen(std::size_t(shot.width() * shot.height()));
    for (int y = staff.top(); y <= staff.bottom(); ++y)
        for (int x = staff.left(); x <= staff.right(); ++x) {
            if (seen[std::size_t(y * shot.width() + x)] || shot.pixelColor(x, y) != colour)
                continue;
            QRect box(x, y, 1, 1);
            int filled = 0;
            QList<QPoint> open = {{x, y}};
            seen[std::size_t(y * shot.width() + x)] = true;
            while (!open.isEmpty()) {
                const QPoint p = open.takeLast();
                box |= QRect(p, QSize(1, 1));
                ++filled;
                for (const QPoint next :
                     {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
                    if (!staff.contains(next) ||
                        seen[std::size_t(next.y() * shot.width() + next.x())] ||
                        shot.pixelColor(next) != colour)
                        continue;
                    seen[std::size_t(next.y() * shot.width() + next.x())] = true;
                    open.append(next);
                }
            }
            // Antialiased rims and the strokes of signs are not heads, which fill most of their
            // box.
            if (box.width() >= 10 && box.height() >= 10 && 2 * filled > box.width() * box.height())
                patches.append(box);
        }
    return patches;
}

void addPlacementRows() {
    QTest::addColumn<Clef>("clef");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("top");
    QTest::addColumn<QList<int>>("ledger");
    QTest::addColumn<double>("chosenTop");
    QTest::addColumn<QList<int>>("chosenLedger");
    struct Row {
        double top;
        QList<int> ledger;
        double chosenTop;
        QList<int> chosenLedger;
    };
    const QList<Row> treble = {{3752, {0, 1, 2}, 3780, {8, 9, 10}},
                               {3584, {0, 1}, 3612, {9, 10}},
                               {3416, {0, 1}, 3444, {9, 10}},
                               {3248, {0}, 3276, {10}},
                               {3080, {0}, 3094, {10}},
                               {2912, {}, 2912, {}},
                               {2744, {}, 2744, {}},
                               {2576, {}, 2576, {}},
                               {2408, {}, 2408, {}},
                               {2240, {}, 2240, {}},
                               {2072, {}, 2072, {}},
                               {1904, {}, 1904, {}},
                               {1736, {}, 1736, {}},
                               {1568, {}, 1568, {}},
                               {1414, {}, 1414, {}}};
    const QList<Row> bass = {
        {2912, {}, 2912, {}},  {2744, {}, 2744, {}},         {2576, {}, 2576, {}},
        {2408, {}, 2408, {}},  {2240, {}, 2240, {}},         {2072, {}, 2072, {}},
        {1904, {}, 1904, {}},  {1736, {}, 1736, {}},         {1568, {}, 1568, {}},
        {1414, {}, 1414, {}},  {1260, {}, 1260, {}},         {1071, {3}, 1071, {13}},
        {882, {3}, 882, {13}}, {721, {3, 4}, 721, {12, 13}}, {560, {3, 4}, 560, {12, 13}}};
    // The alto and tenor clefs' notes stand three steps above the treble clef's.
    const auto cClef = [&](int index) {
        return index + 3 <= 14 ? treble[index + 3] : bass[index - 2];
    };
    for (int i = 0; i < 15; ++i) {
        QTest::addRow("Violin %d", i) << Clef::Violin << i << treble[i].top << treble[i].ledger
                                      << treble[i].chosenTop << treble[i].chosenLedger;
        QTest::addRow("Bass %d", i) << Clef::Bass << i << bass[i].top << bass[i].ledger
                                    << bass[i].chosenTop << bass[i].chosenLedger;
        for (const auto& [name, clef] :
             {std::pair{"Alto", Clef::Alto}, std::pair{"Tenor", Clef::Tenor}})
            QTest::addRow("%s %d", name, i) << clef << i << cClef(i).top << cClef(i).ledger
                                            << cClef(i).chosenTop << cClef(i).chosenLedger;
    }
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { clearStore(); }

    void windowFrame() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        QCOMPARE(form.windowTitle(), QString("Virelo 5.50 (Build: b)"));
        QCOMPARE(form.size(), QSize(741, 490));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.grab().toImage().pixelColor(2, 2), QColor(0, 0, 255));
        // Only the window is blue: styles draw the controls' outlines from their window colour.
        const QColor platform = QApplication::palette().color(QPalette::Window);
        const QList<QWidget*> controls = {form.cmdHilfe, form.cmdNoteBass[3], form.ProgressBar1};
        for (const QWidget* control : controls)
            QCOMPARE(control->palette().color(QPalette::Window), platform);
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void controlGeometry_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::newRow("cmdViolin")
            << "cmdViolin" << twips(120, 120, 1455, 375) << "Violinschlüssel";
        QTest::newRow("cmdBassGehör")
            << "cmdBassGehör" << twips(1680, 600, 1455, 255) << "Gehör-Training";
        QTest::newRow("cmdÜbungAbbrechen")
            << "cmdÜbungAbbrechen" << twips(120, 960, 3015, 375) << "Übung abbrechen";
        QTest::newRow("cmdEnde") << "cmdEnde" << twips(9720, 120, 1215, 375) << "Ende";
        // In the free area below, the size of "Hilfe".
        QTest::newRow("cmdStatistik")
            << "cmdStatistik" << twips(120, 2760, 3015, 375) << "Statistik";
        QTest::newRow("cmdWeitereSchluessel")
            << "cmdWeitereSchluessel" << twips(120, 3240, 3015, 375) << "Weitere Schlüssel…";
        QTest::newRow("violin 0") << "violin0" << twips(120, 5040, 735, 495) << "f";
        QTest::newRow("violin 14") << "violin14" << twips(10200, 5040, 735, 495) << "f''";
        QTest::newRow("bass 0") << "bass0" << twips(120, 6360, 735, 495) << "F";
        QTest::newRow("bass 14") << "bass14" << twips(10200, 6360, 735, 495) << "f'";
        QTest::newRow("lblBassschlüssel")
            << "lblBass" << twips(120, 5880, 2535, 495) << "Bassschlüssel:";
        QTest::newRow("ProgressBar1") << "bar" << twips(126, 1512, 3038, 392) << QString();
    }
    void controlGeometry() {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        const QMap<QString, QWidget*> controls = {
            {"cmdViolin", form.cmdViolin},
            {"cmdBassGehör", form.cmdBassGehör},
            {"cmdÜbungAbbrechen", form.cmdÜbungAbbrechen},
            {"cmdEnde", form.cmdEnde},
            {"cmdStatistik", form.cmdStatistik},
            {"cmdWeitereSchluessel", form.cmdWeitereSchluessel},
            {"violin0", form.cmdNoteViolin[0]},
            {"violin14", form.cmdNoteViolin[14]},
            {"bass0", form.cmdNoteBass[0]},
            {"bass14", form.cmdNoteBass[14]},
            {"lblBass", form.lblBassschlüssel},
            {"bar", form.ProgressBar1}};
        QWidget* widget = controls.value(control);
        QCOMPARE(widget->geometry(), geometry);
        QVERIFY(form.rect().contains(widget->geometry()));
        if (auto* button = qobject_cast<QPushButton*>(widget))
            QCOMPARE(button->text(), caption);
        // The whole caption fits.
        if (auto* button = qobject_cast<QPushButton*>(widget))
            QVERIFY(button->fontMetrics().horizontalAdvance(caption) < button->width() - 8);
        if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), caption);
    }

    void rightEdgesMeet() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        QCOMPARE(form.cmdEnde->geometry().right(), form.cmdNoteViolin[14]->geometry().right());
        QCOMPARE(form.cmdEnde->geometry().right(), form.cmdNoteBass[14]->geometry().right());
    }

    void drawnElementsAtRest() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        const QList<double> staff = {form.Line1.Y1, form.Line2.Y1, form.Line3.Y1, form.Line4.Y1,
                                     form.Line5.Y1};
        QCOMPARE(staff, (QList<double>{1568, 1904, 2240, 2576, 2912}));
        QCOMPARE(form.Line1.X1, 3360.0);
        QCOMPARE(form.Line5.X2, 6944.0);
        const QList<double> ledgerY = {3248, 3584, 3920, 1260, 882, 560, 4256,
                                       4284, 3948, 3612, 3276, 560, 882, 1260};
        for (int i = 0; i < 14; ++i) {
            QCOMPARE(form.ZusatzLinie[i].Y1, ledgerY[i]);
            QCOMPARE(form.ZusatzLinie[i].Y2, ledgerY[i]);
            QCOMPARE(form.ZusatzLinie[i].X1, i < 7 ? 4032.0 : 5922.0);
            QCOMPARE(form.ZusatzLinie[i].X2, i < 7 ? 4592.0 : 6482.0);
            QVERIFY(!form.ZusatzLinie[i].Visible);
        }
        QVERIFY(!form.shpNote.Visible);
        QVERIFY(!form.shpNoteFalsch.Visible);
        QCOMPARE(form.shpNote.BackColor, VbColor::White);
        QCOMPARE(form.shpNoteFalsch.BackColor, VbColor::Red);
    }

    void idleState() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        QCOMPARE(world.exercise.state(), ExerciseState::Idle);
        for (QPushButton* b : modeAndCommandButtons(form))
            QVERIFY2(b->isEnabled(), qPrintable(b->text()));
        QVERIFY(form.cmdHilfe->isEnabled());
        QVERIFY(!form.cmdÜbungAbbrechen->isEnabled());
        QVERIFY(!form.lblViolinschlüssel->isEnabled());
        QVERIFY(!form.lblBassschlüssel->isEnabled());
        for (int i = 0; i < 15; ++i) {
            QVERIFY(!form.cmdNoteViolin[i]->isEnabled());
            QVERIFY(!form.cmdNoteBass[i]->isEnabled());
        }
        QVERIFY(!world.exercise.tmrVorbei->isActive());
        QVERIFY(!world.exercise.tmrWeg->isActive());
        QVERIFY(!world.exercise.tmrNoteFalsch->isActive());
        QVERIFY(!world.exercise.keyboardPractice());
        QCOMPARE(world.exercise.clef(), Clef::None);
    }

    void runningState_data() {
        QTest::addColumn<Clef>("clef");
        QTest::newRow("treble") << Clef::Violin;
        QTest::newRow("bass") << Clef::Bass;
    }
    void runningState() {
        QFETCH(Clef, clef);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        world.exercise.chooseMode(clef, false);
        world.exercise.Start({0, 14, 2000, 400, false});
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        for (QPushButton* b : modeAndCommandButtons(form))
            QVERIFY2(!b->isEnabled(), qPrintable(b->text()));
        QVERIFY(form.cmdHilfe->isEnabled());
        QVERIFY(form.cmdÜbungAbbrechen->isEnabled());
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(form.cmdNoteViolin[i]->isEnabled(), clef == Clef::Violin);
            QCOMPARE(form.cmdNoteBass[i]->isEnabled(), clef == Clef::Bass);
        }
        QCOMPARE(world.exercise.task(), 1);
        QCOMPARE(world.exercise.errors(), 0);
        QCOMPARE(world.exercise.tmrWeg->interval(), 2000);
        QCOMPARE(form.ProgressBar1->maximum(), 400);
    }

    void closeRequestRefused() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        form.show();
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCloseEvent event;
        QCoreApplication::sendEvent(&form, &event);
        QVERIFY(!event.isAccepted());
        QVERIFY(form.isVisible());
    }

    void endeCloses() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        form.show();
        form.cmdEnde->click();
        QVERIFY(!form.isVisible());
    }

    void modeButtons_data() {
        QTest::addColumn<QString>("cancelledFirst");
        QTest::addColumn<QString>("button");
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<bool>("earTraining");
        QTest::newRow("cmdViolin") << ""
                                   << "cmdViolin" << Clef::Violin << false;
        QTest::newRow("cmdBass") << ""
                                 << "cmdBass" << Clef::Bass << false;
        QTest::newRow("cmdViolinGehör") << ""
                                        << "cmdViolinGehör" << Clef::Violin << true;
        QTest::newRow("cmdBassGehör") << ""
                                      << "cmdBassGehör" << Clef::Bass << true;
        QTest::newRow("cmdViolin after a cancelled cmdViolinGehör")
            << "cmdViolinGehör"
            << "cmdViolin" << Clef::Violin << false;
        QTest::newRow("cmdBass after a cancelled cmdViolinGehör")
            << "cmdViolinGehör"
            << "cmdBass" << Clef::Bass << false;
    }
    void modeButtons() {
        QFETCH(QString, cancelledFirst);
        QFETCH(QString, button);
        QFETCH(Clef, clef);
        QFETCH(bool, earTraining);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        Clef clefSeen = Clef::None;
        bool earTrainingSeen = false;
        ExerciseState stateSeen = ExerciseState::Idle;
        QWidget* owner = nullptr;
        world.onDialog = [&](QDialog& dialog) {
            clefSeen = world.exercise.clef();
            earTrainingSeen = world.exercise.earTraining();
            stateSeen = world.exercise.state();
            owner = dialog.parentWidget();
            dialog.reject();
        };
        const QMap<QString, QPushButton*> buttons = {{"cmdViolin", form.cmdViolin},
                                                     {"cmdBass", form.cmdBass},
                                                     {"cmdViolinGehör", form.cmdViolinGehör},
                                                     {"cmdBassGehör", form.cmdBassGehör}};
        if (!cancelledFirst.isEmpty())
            buttons.value(cancelledFirst)->click();
        buttons.value(button)->click();
        QCOMPARE(world.dialogsShown, cancelledFirst.isEmpty() ? 1 : 2);
        QCOMPARE(clefSeen, clef);
        QCOMPARE(earTrainingSeen, earTraining);
        QCOMPARE(stateSeen, ExerciseState::Choosing);
        QCOMPARE(owner, &form);
        // Cancelled: back at rest, and no ear training is left for the next mode.
        QCOMPARE(world.exercise.state(), ExerciseState::Idle);
        QVERIFY(!world.exercise.earTraining());
        QVERIFY(form.cmdViolin->isEnabled());
        QVERIFY(!form.cmdÜbungAbbrechen->isEnabled());
    }

    // The statistics window may stay open beside an exercise: its button stays usable.
    void statisticsOpenDuringAnExercise() {
        Run e(Clef::Violin);
        e.start();
        QVERIFY(e.form->cmdStatistik->isEnabled());
        e.form->cmdStatistik->click();
        QCOMPARE(e.world.statisticsOpened, 1);
    }

    // The statistics window's frame beside the main window's where a side has room for it at
    // the least size it reads well at, else where it hides least of it; always on the screen.
    void statisticsBesideTheMainWindow_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("mainWindow");
        QTest::addColumn<QRect>("statistics");
        const QRect wide(0, 0, 1920, 1080);
        QTest::newRow("centred, narrowed on the right")
            << wide << QRect(588, 284, 743, 511) << QRect(1331, 284, 589, 765);
        QTest::newRow("at the right edge: on the left")
            << wide << QRect(1100, 100, 743, 511) << QRect(238, 100, 862, 765);
        QTest::newRow("low on the screen: raised to stay on it")
            << wide << QRect(0, 700, 743, 380) << QRect(743, 315, 862, 765);
        QTest::newRow("as wide as the screen: below")
            << QRect(0, 0, 1280, 1024) << QRect(0, 0, 1280, 380) << QRect(0, 380, 862, 644);
        QTest::newRow("no room: hides least of it")
            << QRect(0, 0, 1280, 1024) << QRect(268, 256, 743, 511) << QRect(700, 256, 580, 625);
        QTest::newRow("screen smaller than the window")
            << QRect(0, 0, 800, 600) << QRect(0, 0, 743, 511) << QRect(220, 0, 580, 600);
    }
    void statisticsBesideTheMainWindow() {
        QFETCH(QRect, screen);
        QFETCH(QRect, mainWindow);
        QFETCH(QRect, statistics);
        QCOMPARE(frameBeside(screen, mainWindow, QSize(862, 765), QSize(580, 625)), statistics);
    }

    void tabOrderStartsAtViolin() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        QCOMPARE(form.cmdViolin->nextInFocusChain(), form.cmdBass);
        QCOMPARE(form.cmdEnde->nextInFocusChain(), form.cmdNoteViolin[0]);
        QCOMPARE(form.cmdNoteViolin[14]->nextInFocusChain(), form.cmdNoteBass[0]);
        QCOMPARE(form.cmdNoteBass[14]->nextInFocusChain(), form.cmdÜbungAbbrechen);
        QCOMPARE(form.cmdÜbungAbbrechen->nextInFocusChain(), form.cmdStatistik);
        QCOMPARE(form.cmdStatistik->nextInFocusChain(), form.cmdWeitereSchluessel);
    }

    void askedNotePlacement_data() { addPlacementRows(); }
    void askedNotePlacement() {
        QFETCH(Clef, clef);
        QFETCH(int, index);
        QFETCH(double, top);
        QFETCH(QList<int>, ledger);
        Run e(clef);
        e.ask(index);
        e.start();
        QCOMPARE(e.ex().askedIndex(), index);
        QCOMPARE(e.form->shpNote.Top, top);
        QCOMPARE(e.form->shpNote.Left, 3884.5);
        QVERIFY(e.form->shpNote.Visible);
        QCOMPARE(e.visibleLedgerLines(), ledger);
        // Alto and tenor notes sound from the treble clef's files, below f from the bass clef's.
        const int belowTreble = clef == Clef::Alto ? 3 : clef == Clef::Tenor ? 5 : 0;
        const bool bassFile = clef == Clef::Bass || index < belowTreble;
        const int file = clef == Clef::Bass || clef == Clef::Violin ? index
                         : bassFile                                 ? index + 7 - belowTreble
                                                                    : index - belowTreble;
        QCOMPARE(e.world.player.played, QStringList{QString("/opt/virelo/sound/%1/%2.mid")
                                                        .arg(bassFile ? "bass" : "violin")
                                                        .arg(file)});
    }

    void chosenNotePlacement_data() { addPlacementRows(); }
    void chosenNotePlacement() {
        QFETCH(Clef, clef);
        QFETCH(int, index);
        QFETCH(double, chosenTop);
        QFETCH(QList<int>, chosenLedger);
        Run e(clef);
        const int asked = index == 7 ? 8 : 7; // no ledger lines of its own
        e.ask(asked);
        e.start();
        e.answer(index);
        QCOMPARE(e.form->shpNoteFalsch.Top, chosenTop);
        QCOMPARE(e.form->shpNoteFalsch.Left, 5774.5);
        QVERIFY(e.form->shpNoteFalsch.Visible);
        QCOMPARE(e.visibleLedgerLines(), chosenLedger);
        QCOMPARE(e.colour(index), Red);
        QCOMPARE(e.colour(asked), Green);
        // Told apart by shape too: the chosen head crossed, the asked one ringed, and their
        // buttons' captions marked likewise, still whole on the face.
        const QImage shot = e.form->grab().toImage();
        QCOMPARE(markOn(shot, e.form->shpNoteFalsch), SeenMark::Cross);
        QCOMPARE(markOn(shot, e.form->shpNote), SeenMark::Ring);
        QVERIFY(e.button(index)->text().startsWith(QStringLiteral("\u2717 ")));
        QVERIFY(e.button(asked)->text().startsWith(QStringLiteral("\u2713 ")));
        // A screen reader reads the marks as words, not as the signs' names.
        QCOMPARE(e.button(index)->accessibleName(), noteName(clef, index) + ", gewählt, falsch");
        QCOMPARE(e.button(asked)->accessibleName(), noteName(clef, asked) + ", gesucht");
        QVERIFY2(captionFits(e.button(index)) && captionFits(e.button(asked)),
                 qPrintable(e.button(index)->text() + " / " + e.button(asked)->text()));
    }

    // Both rows answer for a clef without its own, each button that names one of its notes; a
    // wrong answer is marked in every row that has the chosen or the asked note.
    void cClefAnswersOnEitherRow_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("asked"); // c'
        QTest::addColumn<QList<int>>("trebleEnabled");
        QTest::addColumn<QList<int>>("bassEnabled");
        QTest::newRow("Alto") << Clef::Alto << 7 << QList<int>{0, 11} << QList<int>{4, 14};
        QTest::newRow("Tenor") << Clef::Tenor << 9 << QList<int>{0, 9} << QList<int>{2, 14};
    }
    void cClefAnswersOnEitherRow() {
        QFETCH(Clef, clef);
        QFETCH(int, asked);
        QFETCH(QList<int>, trebleEnabled);
        QFETCH(QList<int>, bassEnabled);
        Run e(clef);
        e.ask(asked);
        e.start();
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(e.form->cmdNoteViolin[i]->isEnabled(),
                     i >= trebleEnabled[0] && i <= trebleEnabled[1]);
            QCOMPARE(e.form->cmdNoteBass[i]->isEnabled(),
                     i >= bassEnabled[0] && i <= bassEnabled[1]);
        }
        // c' in the bass row (index 11) is right; e' in the treble row (index 6) is wrong.
        e.form->cmdNoteBass_Click(11);
        QCOMPARE(e.ex().task(), 2);
        QCOMPARE(e.ex().errors(), 0);
        e.form->cmdNoteViolin_Click(6);
        QCOMPARE(e.ex().errors(), 1);
        const auto colour = [](QPushButton* b) { return b->palette().color(QPalette::Button); };
        QCOMPARE(colour(e.form->cmdNoteViolin[6]), Red);
        QCOMPARE(colour(e.form->cmdNoteBass[13]), Red);
        QCOMPARE(colour(e.form->cmdNoteViolin[4]), Green);
        QCOMPARE(colour(e.form->cmdNoteBass[11]), Green);
        QVERIFY(!e.form->cmdNoteBass[11]->isEnabled() && !e.form->cmdNoteViolin[4]->isEnabled());
        e.ex().tmrNoteFalsch_Timer();
        QCOMPARE(colour(e.form->cmdNoteBass[13]), White);
        QVERIFY(e.form->cmdNoteBass[11]->isEnabled() && !e.form->cmdNoteBass[0]->isEnabled());

        // The clef's sign stands left of the asked column while the exercise runs, and only then.
        const auto signShown = [&] {
            const QImage shot = e.form->grab().toImage();
            for (int y = 2300 / 15; y <= 2520 / 15; ++y)
                for (int x = 3420 / 15; x <= 3990 / 15; ++x)
                    if (QColor(shot.pixel(x, y)).lightness() < 60)
                        return true;
            return false;
        };
        QVERIFY(signShown());
        e.form->cmdÜbungAbbrechen->click();
        QVERIFY(!signShown());
    }

    void timeBarFollowsTheCount() {
        Run e(Clef::Bass, 0, 14, 500);
        e.start();
        QCOMPARE(e.form->ProgressBar1->minimum(), 0);
        QCOMPARE(e.form->ProgressBar1->maximum(), 500);
        QCOMPARE(e.form->ProgressBar1->value(), 0);
        e.ex().ZeitVergangen(1);
        QCOMPARE(e.form->ProgressBar1->value(), 1);
        e.ex().ZeitVergangen(250);
        QCOMPARE(e.form->ProgressBar1->value(), 250);
        // A late tick jumps to the real time; the bar never runs past its end.
        e.ex().ZeitVergangen(900);
        QCOMPARE(e.ex().errors(), 1);
        QCOMPARE(e.form->ProgressBar1->value(), 500);
        e.ex().ZeitVergangen(1);
        QCOMPARE(e.form->ProgressBar1->value(), 1);
        e.form->cmdÜbungAbbrechen->click();
        QCOMPARE(e.form->ProgressBar1->value(), 0);
    }

    void noTimeLimit() {
        Run e(Clef::Violin, 0, 14, 0, 0);
        e.start();
        QVERIFY(!e.ex().tmrVorbei->isActive());
        QVERIFY(!e.ex().tmrWeg->isActive());
        QVERIFY(e.form->ProgressBar1->maximum() > e.form->ProgressBar1->minimum());
        e.ex().ZeitVergangen(100000);
        QCOMPARE(e.world.messages.size(), 0);
        QCOMPARE(e.form->ProgressBar1->value(), 0);
        QVERIFY(e.form->shpNote.Visible);
    }

    void noteDisappears() {
        Run e(Clef::Violin, 0, 14, 400, 1000);
        e.start();
        QVERIFY(e.ex().tmrWeg->isActive());
        QCOMPARE(e.ex().tmrWeg->interval(), 1000);
        e.ex().tmrWeg_Timer();
        QVERIFY(!e.form->shpNote.Visible);
        // Answering after the head vanished still shows the asked note in the display.
        e.answer((e.ex().askedIndex() + 3) % 15);
        QVERIFY(e.form->shpNote.Visible);
        QCOMPARE(e.form->shpNote.BackColor, VbColor::Green);
    }

    // The result's details as the message box shows them: no line wraps, and up to ten lines
    // stand without scrolling, so the count line is in sight.
    void resultDetailsReadWhole_data() {
        QTest::addColumn<int>("missedTasks");
        QTest::newRow("three missed") << 3;
        QTest::newRow("nine missed and the count") << 9;
        QTest::newRow("all missed") << 25;
    }
    void resultDetailsReadWhole() {
        QFETCH(int, missedTasks);
        // A bass-clef F read as the treble clef's d' names the longest mistake there is.
        QList<MissedTask> missed;
        for (int task = 1; task <= missedTasks; ++task)
            missed.append({task, 0, 12});
        const QString details = mistakeDetails(Clef::Bass, missed);
        int wrapped = -1;
        bool scrolls = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
                if (box->buttonRole(button) != QMessageBox::AcceptRole)
                    button->click();
            const auto* area = box->findChild<QTextEdit*>();
            QVERIFY(area && area->isVisible());
            wrapped = 0;
            for (QTextBlock line = area->document()->begin(); line.isValid(); line = line.next())
                wrapped += line.layout()->lineCount() - 1;
            scrolls = area->verticalScrollBar()->maximum() > 0;
            box->accept();
        });
        showMessageBox(nullptr, resultText(false, missedTasks), QString(), MessageIcon::Information,
                       details);
        QCOMPARE(wrapped, 0);
        QCOMPARE(scrolls, details.count(QLatin1Char('\n')) + 1 > 10);
    }

    // Every message is a box a screen reader reads as an alert, with its text, and the keys close
    // it: Return, Space (the time-out asks for it) and Escape.
    void messagesReachScreenReaders_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("key");
        QTest::newRow("result, Return") << resultText(false, 3) << QString() << int(Qt::Key_Return);
        QTest::newRow("time-out, Space") << timeOutText("f") << QString() << int(Qt::Key_Space);
        QTest::newRow("notice, Escape") << QString("Das Mikrofon ist nicht mehr da.")
                                        << QString("Hinweis") << int(Qt::Key_Escape);
    }
    void messagesReachScreenReaders() {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, key);
        QAccessible::Role role = QAccessible::NoRole;
        bool textRead = false;
        bool closedByKey = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
            role = accessible->role();
            for (int i = 0; i < accessible->childCount(); ++i)
                textRead = textRead || accessible->child(i)->text(QAccessible::Name) == text;
            QTest::keyClick(box->focusWidget(), Qt::Key(key));
            closedByKey = !box->isVisible();
            if (!closedByKey)
                box->reject();
        });
        showMessageBox(nullptr, text, title, MessageIcon::Information, QString());
        QCOMPARE(role, QAccessible::AlertMessage);
        QVERIFY(textRead);
        QVERIFY(closedByKey);
    }

    void wrongAnswerDisplayAndItsEnd() {
        Run e(Clef::Violin);
        e.form->show();
        e.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.form.get()));
        e.ask(9);
        e.start();
        e.ask(4);
        e.button(0)->setFocus();
        e.answer(0);
        // The next space must not land on "Übung abbrechen".
        QVERIFY(e.form->focusWidget() != e.form->cmdÜbungAbbrechen);
        QCOMPARE(e.ex().errors(), 1);
        QVERIFY(e.ex().tmrNoteFalsch->isActive());
        QCOMPARE(e.ex().tmrNoteFalsch->interval(), 3000);
        QVERIFY(!e.ex().tmrVorbei->isActive());
        QCOMPARE(e.colour(0), Red);
        QCOMPARE(e.colour(9), Green);
        for (int i = 0; i < 15; ++i)
            QVERIFY(!e.form->cmdNoteViolin[i]->isEnabled());
        QCOMPARE(e.visibleLedgerLines(), (QList<int>{8, 9, 10}));
        QCOMPARE(e.button(0)->accessibleName(), QString("f, gewählt, falsch"));
        QCOMPARE(e.button(9)->accessibleName(), QString("a', gesucht"));
        // The window, which holds the focus meanwhile, tells a screen reader the outcome.
        QCOMPARE(e.form->accessibleDescription(), QString("Falsch: f gewählt, a' gesucht"));

        // Answers that arrive during the display are ignored.
        e.answer(9);
        e.answer(3);
        QCOMPARE(e.ex().errors(), 1);
        QCOMPARE(e.ex().task(), 1);

        // While the next note sounds, no head stands without its ledger lines: the staff is empty.
        bool headDuringSound = true;
        e.world.player.whilePlaying = [&] { headDuringSound = e.form->shpNote.Visible; };
        e.ex().tmrNoteFalsch_Timer();
        QVERIFY(!headDuringSound);
        QCOMPARE(e.form->focusWidget(), e.button(0));
        QCOMPARE(e.form->accessibleDescription(),
                 QString("Notenzeile, Aufgabe 2 von 25, Violinschlüssel"));
        QVERIFY(!e.ex().tmrNoteFalsch->isActive());
        QCOMPARE(e.ex().task(), 2);
        QCOMPARE(e.ex().askedIndex(), 4);
        QCOMPARE(e.form->shpNote.BackColor, VbColor::White);
        QVERIFY(!e.form->shpNoteFalsch.Visible);
        QCOMPARE(e.visibleLedgerLines(), (QList<int>{0}));
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(e.colour(i), White);
            QCOMPARE(e.form->cmdNoteViolin[i]->text(), noteName(Clef::Violin, i));
            QCOMPARE(readName(e.form->cmdNoteViolin[i]), noteName(Clef::Violin, i));
            QVERIFY(e.form->cmdNoteViolin[i]->isEnabled());
        }
        QVERIFY(e.ex().tmrVorbei->isActive());
    }

    // The staff, its background and the display's colours on the rendered window: as described
    // by default; in high contrast black on white, the answer buttons thickly bordered, and the
    // red and green darkened until each reads on the white at least 4.5:1.
    void displayColours_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("chosen");
        QTest::addColumn<QColor>("asked");
        QTest::newRow("default") << "" << QColor(0, 0, 255) << Red << Green;
        QTest::newRow("high contrast") << "1" << White << QColor(192, 0, 0) << QColor(0, 128, 0);
        QTest::newRow("junk reads as off") << "ja" << QColor(0, 0, 255) << Red << Green;
    }
    void displayColours() {
        QFETCH(QString, stored);
        QFETCH(QColor, background);
        QFETCH(QColor, chosen);
        QFETCH(QColor, asked);
        Run e(Clef::Violin);
        QVERIFY(e.world.store->SaveSetting("Darstellung", "HoherKontrast", stored));
        e.ask(9);
        e.start();
        e.answer(0);
        const QImage shot = e.form->grab().toImage();
        QCOMPARE(shot.pixelColor(2, 2), background);
        QCOMPARE(shot.pixelColor(3500 / 15, qRound(e.form->Line3.Y1 / 15)), QColor(Qt::black));
        QCOMPARE(staffPatches(shot, chosen).size(), 1);
        QCOMPARE(staffPatches(shot, asked).size(), 1);
        QCOMPARE(e.colour(0), chosen);
        QCOMPARE(e.colour(9), asked);
        const bool highContrast = background == White;
        if (highContrast)
            for (const QColor& colour : {chosen, asked})
                QVERIFY2(contrastRatio(colour, background) >= 4.5,
                         qPrintable(QString::number(contrastRatio(colour, background))));
        const QImage face = e.button(9)->grab().toImage();
        for (const int x : {0, 2})
            QCOMPARE(QColor(face.pixel(x, face.height() / 2)).lightness() < 60, highContrast);
    }

    void abortDuringDisplayLeavesRest() {
        Run e(Clef::Violin, 0, 14, 400, 2000, true);
        e.ask(0);
        e.start();
        e.answer(14);
        bool restDuringMessage = false;
        e.world.onMessage = [&](const ShownMessage&) {
            restDuringMessage = !e.ex().tmrNoteFalsch->isActive() &&
                                !e.ex().tmrVorbei->isActive() && !e.ex().tmrWeg->isActive() &&
                                !e.form->shpNote.Visible && !e.form->shpNoteFalsch.Visible &&
                                e.visibleLedgerLines().isEmpty() && e.form->cmdViolin->isEnabled();
        };
        e.form->cmdÜbungAbbrechen->click();
        QVERIFY(restDuringMessage);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text,
                 QString("Du hast die Übung abgebrochen. Es erfolgt keine Wertung."));
        QCOMPARE(e.world.messages[0].icon, MessageIcon::Information);
        QCOMPARE(e.world.messages[0].details, QString());
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(e.colour(i), White);
            QCOMPARE(e.form->cmdNoteViolin[i]->text(), noteName(Clef::Violin, i));
            QCOMPARE(readName(e.form->cmdNoteViolin[i]), noteName(Clef::Violin, i));
            QVERIFY(!e.form->cmdNoteViolin[i]->isEnabled());
            QVERIFY(!e.form->cmdNoteBass[i]->isEnabled());
        }
        QCOMPARE(e.form->shpNote.BackColor, VbColor::White);
        QVERIFY(!e.ex().earTraining());
        QCOMPARE(e.ex().clef(), Clef::None);
        QCOMPARE(e.ex().state(), ExerciseState::Idle);
        QCOMPARE(e.world.player.played.size(), 1);
        QCOMPARE(e.ex().errors(), 1);

        // Nothing of the ended exercise answers any more.
        e.ex().answer(3);
        e.ex().ZeitVergangen(400);
        e.ex().tmrNoteFalsch_Timer();
        QCOMPARE(e.world.player.played.size(), 1);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.ex().errors(), 1);
    }

    // Tab and Shift+Tab reach every control a mouse user can work, at rest and during an
    // exercise in a key (its toggles shown), and come back around.
    void tabReachesEveryControl_data() {
        QTest::addColumn<bool>("running");
        QTest::newRow("at rest") << false;
        QTest::newRow("G major exercise") << true;
    }
    void tabReachesEveryControl() {
        QFETCH(bool, running);
        Run e(Clef::Violin, 0, 14, 0, 0);
        e.settings.keyFifths = 1;
        QVERIFY(activate(e.form.get()));
        if (running)
            e.start();
        QWidget* first = running ? static_cast<QWidget*>(e.form->cmdÜbungAbbrechen)
                                 : static_cast<QWidget*>(e.form->cmdViolin);
        const QString fault = tabRoundTrip(*e.form, first);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // A toggle, clicked or by its key, sets the accidental of the next answer button's click or
    // typed letter, one at a time, and all are released after it. A letter typed answers as the
    // button of its place nearest the asked note.
    void accidentalTogglesAnswer_data() {
        QTest::addColumn<int>("fifths");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QString>("signs"); // ♭ ♮ ♯ click a toggle; other characters are keys
        QTest::addColumn<int>("clicked");   // -1: the last key typed answered
        QTest::addColumn<QString>("details"); // empty: answered right
        QTest::addColumn<bool>("typeOctave");
        const QString forgotten("Aufgabe 1: gesucht fis', gewählt f' (Vorzeichen vergessen)");
        QTest::newRow("G major: ♯ and f' is fis'") << 1 << 7 << "♯" << 7 << QString() << false;
        QTest::newRow("G major: key + and f'") << 1 << 7 << "+" << 7 << QString() << false;
        QTest::newRow("G major: key # and f'") << 1 << 7 << "#" << 7 << QString() << false;
        QTest::newRow("G major: f' without ♯") << 1 << 7 << "" << 7 << forgotten << false;
        QTest::newRow("G major: ♯ pressed twice is released")
            << 1 << 7 << "##" << 7 << forgotten << false;
        QTest::newRow("G major: key 0 gives ♮") << 1 << 7 << "0" << 7 << forgotten << false;
        QTest::newRow("G major: key = and g' is g'") << 1 << 8 << "=" << 8 << QString() << false;
        QTest::newRow("F major: key - and h' is b'") << -1 << 10 << "-" << 10 << QString() << false;
        QTest::newRow("F major: ♭ then ♯, the last counts")
            << -1 << 10 << "♭♯" << 10
            << QString("Aufgabe 1: gesucht b', gewählt his' (falsches Vorzeichen)") << false;
        QTest::newRow("G major: key + and letter f is fis'")
            << 1 << 7 << "+f" << -1 << QString() << false;
        QTest::newRow("G major: letter f alone") << 1 << 7 << "f" << -1 << forgotten << false;
        QTest::newRow("F major: letter b is b'") << -1 << 10 << "b" << -1 << QString() << false;
        QTest::newRow("C major: letter h, the nearest h")
            << 0 << 10 << "h" << -1 << QString() << false;
        QTest::newRow("C major: capital H") << 0 << 3 << "H" << -1 << QString() << false;
        QTest::newRow("C major: letter c, the nearest c")
            << 0 << 10 << "c" << -1
            << QString("Aufgabe 1: gesucht h', gewählt c'' (eine Sekunde zu hoch)") << false;
        QTest::newRow("C major: a key that names no note, then the button")
            << 0 << 10 << "x" << 10 << QString() << false;
        QTest::newRow("octave typed: c'' needs no Return")
            << 0 << 10 << "c''" << -1
            << QString("Aufgabe 1: gesucht h', gewählt c'' (eine Sekunde zu hoch)") << true;
        QTest::newRow("octave typed: h' confirmed, not the nearest h")
            << 0 << 3 << "h'\r" << -1
            << QString("Aufgabe 1: gesucht h, gewählt h' (eine Oktave zu hoch)") << true;
        QTest::newRow("octave typed: G major, key + and f1")
            << 1 << 7 << "+f1" << -1 << QString() << true;
    }
    void accidentalTogglesAnswer() {
        QFETCH(int, fifths);
        QFETCH(int, asked);
        QFETCH(QString, signs);
        QFETCH(int, clicked);
        QFETCH(QString, details);
        QFETCH(bool, typeOctave);
        Run e(Clef::Violin);
        e.settings.keyFifths = fifths;
        saveTypeOctave(*e.world.store, typeOctave);
        e.form->show();
        e.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.form.get()));
        e.ask(asked);
        e.start();
        for (const QChar sign : signs) {
            const qsizetype toggle = QString("♭♮♯").indexOf(sign);
            // Typed where a learner's focus is: on an answer button, say.
            QWidget* focus = QApplication::focusWidget();
            if (toggle >= 0)
                e.form->cmdVorzeichen[std::size_t(toggle)]->click();
            else
                QTest::keyClick(focus ? focus : e.form.get(), sign.toLatin1());
        }
        if (clicked >= 0)
            e.button(clicked)->click();
        QVERIFY2(e.ex().task() == 2 || e.ex().tmrNoteFalsch->isActive(), "nothing answered");
        QCOMPARE(e.ex().errors(), details.isEmpty() ? 0 : 1);
        for (QPushButton* toggle : e.form->cmdVorzeichen)
            QVERIFY(!toggle->isChecked());

        if (e.ex().tmrNoteFalsch->isActive())
            e.ex().tmrNoteFalsch_Timer();
        while (e.ex().state() == ExerciseState::Running)
            e.ex().answerSpelled(e.ex().askedSpelled());
        QCOMPARE(e.world.messages.last().details, details);
    }

    // Only an exercise with altered notes shows the toggles, and their keys work only then.
    void accidentalTogglesOnlyWithAlteredNotes() {
        Run e(Clef::Violin);
        e.form->show();
        e.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.form.get()));
        const auto shown = [&e] {
            return std::ranges::all_of(e.form->cmdVorzeichen,
                                       [](QPushButton* b) { return b->isVisible(); });
        };
        QVERIFY(std::ranges::none_of(e.form->cmdVorzeichen,
                                     [](QPushButton* b) { return b->isVisible(); }));
        e.ask(7);
        e.start();
        QVERIFY(!shown());
        QTest::keyClick(e.form.get(), '#');
        e.answer(7);
        QCOMPARE(e.ex().task(), 2);
        QCOMPARE(e.ex().errors(), 0);
        e.ex().abort();

        e.settings.keyFifths = 1;
        e.ex().chooseMode(Clef::Violin, false);
        e.start();
        QVERIFY(shown());
        // In the tab order after the described controls, past the ones that take no focus.
        QWidget* next = e.form->cmdWeitereSchluessel->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        QCOMPARE(next, e.form->cmdVorzeichen[0]);
        QCOMPARE(e.form->cmdVorzeichen[0]->nextInFocusChain(), e.form->cmdVorzeichen[1]);
        e.form->cmdVorzeichen[2]->setFocus();
        e.answer(9);
        // During the wrong-answer display the toggles rest with the row, focus held.
        for (QPushButton* toggle : e.form->cmdVorzeichen)
            QVERIFY(!toggle->isEnabled());
        QVERIFY(e.form->focusWidget() != e.form->cmdÜbungAbbrechen);
        e.ex().tmrNoteFalsch_Timer();
        QCOMPARE(e.form->focusWidget(), e.form->cmdVorzeichen[2]);
        e.ex().abort();
        QVERIFY(std::ranges::none_of(e.form->cmdVorzeichen,
                                     [](QPushButton* b) { return b->isVisible(); }));
    }

    // The described clefs show their sign only beside a key's signs or the tasks' own, before
    // the signature: the treble clef's tail below the staff, the bass clef's head between the
    // top two lines, where no sign of a signature reaches.
    void clefSignBesideKeys_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("fifths");
        QTest::addColumn<OwnAccidentals>("accidentals");
        QTest::addColumn<bool>("shown");
        QTest::newRow("treble, C major") << Clef::Violin << 0 << OwnAccidentals::None << false;
        QTest::newRow("treble, E-flat major") << Clef::Violin << -3 << OwnAccidentals::None << true;
        QTest::newRow("bass, C major") << Clef::Bass << 0 << OwnAccidentals::None << false;
        QTest::newRow("bass, own signs") << Clef::Bass << 0 << OwnAccidentals::Both << true;
    }
    void clefSignBesideKeys() {
        QFETCH(Clef, clef);
        QFETCH(int, fifths);
        QFETCH(OwnAccidentals, accidentals);
        Run e(clef);
        e.settings.keyFifths = fifths;
        e.settings.accidentals = accidentals;
        e.ask(7);
        e.start();
        const QRect area = clef == Clef::Violin ? QRect(QPoint(3420, 3050), QPoint(3990, 3450))
                                                : QRect(QPoint(3420, 1620), QPoint(3990, 1850));
        const QImage shot = e.form->grab().toImage();
        bool inked = false;
        for (int y = area.top() / 15; y <= area.bottom() / 15; ++y)
            for (int x = area.left() / 15; x <= area.right() / 15; ++x)
                inked = inked || QColor(shot.pixel(x, y)).lightness() < 60;
        QTEST(inked, "shown");
    }

    // A phrase's heads side by side on the staff, all within the window, which grows for them
    // and no further: white until answered, then green; a wrong one with the chosen head in red
    // beside it until the phrase ends; the next phrase white again. At rest, the window's size.
    void phraseOnTheStaff_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("notes");
        QTest::addColumn<int>("fifths");
        QTest::addColumn<OwnAccidentals>("accidentals");
        QTest::newRow("treble, four") << Clef::Violin << 4 << 0 << OwnAccidentals::None;
        QTest::newRow("bass, eight, E-flat major, own signs")
            << Clef::Bass << 8 << -3 << OwnAccidentals::Both;
        QTest::newRow("alto, eight") << Clef::Alto << 8 << 0 << OwnAccidentals::None;
        QTest::newRow("treble, eight, C-sharp major")
            << Clef::Violin << 8 << 7 << OwnAccidentals::None;
    }
    void phraseOnTheStaff() {
        QFETCH(Clef, clef);
        QFETCH(int, notes);
        QFETCH(int, fifths);
        QFETCH(OwnAccidentals, accidentals);
        Run e(clef);
        const QSize resting = e.form->size();
        e.settings.notesPerTask = notes;
        e.settings.keyFifths = fifths;
        e.settings.accidentals = accidentals;
        e.world.randomScript = {0.1, 0.9, 0.5, 0.2, 0.8, 0.4, 0.6, 0.3, 0.7, 0.5, 0.5};
        e.world.randomValue = 0.55;
        // At the screen's right edge, as a learner may have left it.
        e.form->show();
        const QRect screen = e.form->screen()->availableGeometry();
        e.form->move(screen.right() - e.form->frameGeometry().width(), screen.top());
        e.start();
        QVERIFY2(screen.contains(e.form->frameGeometry()),
                 "the widened window runs off the screen");
        // In logical pixels, whatever the scale: each device pixel's colour as it is.
        const auto shot = [&] {
            return e.form->grab().toImage().scaled(e.form->size(), Qt::IgnoreAspectRatio,
                                                   Qt::FastTransformation);
        };
        QList<QRect> heads = staffPatches(shot(), White);
        // A screen too narrow for the whole phrase (a large scale factor) shows what it holds.
        const int shown = int(heads.size());
        QVERIFY(shown >= 3);
        QVERIFY2(shown == notes || e.form->frameGeometry().width() * 7 > screen.width() * 6,
                 "fewer heads than the screen has room for");
        std::sort(heads.begin(), heads.end(),
                  [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
        for (int i = 1; i < shown; ++i)
            QVERIFY2(heads[i].left() > heads[i - 1].right(), "two heads overlap");
        QVERIFY2(heads.last().right() + 10 < e.form->width(), "the last head stands at the edge");
        QVERIFY(e.form->width() >= resting.width());
        QCOMPARE(e.form->height(), resting.height());

        // Right answers as the toggles give them, for the keys' notes.
        const auto answerRightly = [&] { e.ex().answerSpelled(e.ex().askedSpelled()); };
        answerRightly();
        QCOMPARE(staffPatches(shot(), Green).size(), 1);
        const int asked = e.ex().askedIndex();
        e.answer(asked == 0 ? 2 : asked - 1);
        QCOMPARE(staffPatches(shot(), Green).size(), 2);
        QCOMPARE(staffPatches(shot(), Red).size(), 1);
        QCOMPARE(staffPatches(shot(), White).size(), shown - 2);
        // Answered heads ringed, the chosen one crossed: by shape as well as by colour.
        const double diameter = e.form->shpNote.Height / 15;
        for (const auto& [colour, mark] :
             {std::pair{Green, SeenMark::Ring}, std::pair{Red, SeenMark::Cross}})
            for (const QRect& head : staffPatches(shot(), colour))
                QCOMPARE(markOnHead(shot(), QRectF(head).center(), diameter), mark);
        // The answer buttons show it for its second, as a single note's.
        const int chosen = asked == 0 ? 2 : asked - 1;
        QCOMPARE(e.colour(chosen), Red);
        QVERIFY(!e.button(asked)->isEnabled());
        e.ex().tmrNoteFalsch_Timer();
        QCOMPARE(e.colour(chosen), White);
        QVERIFY(e.button(asked)->isEnabled());
        QCOMPARE(staffPatches(shot(), Red).size(), 1);
        // The note to answer always stands on the window, unanswered and whole.
        for (int place = 2; place < notes; ++place) {
            QVERIFY2(!staffPatches(shot(), White).isEmpty(),
                     qPrintable(QStringLiteral("note %1 not shown").arg(place + 1)));
            answerRightly();
        }
        QCOMPARE(e.ex().task(), 2);
        QCOMPARE(staffPatches(shot(), White).size(), shown);
        QCOMPARE(staffPatches(shot(), Red).size(), 0);
        if (qEnvironmentVariableIsSet("VIRELO_PHRASE_SHOTS"))
            shot().save(QStringLiteral("%1/%2.png")
                            .arg(qEnvironmentVariable("VIRELO_PHRASE_SHOTS"),
                                 QString::fromLatin1(QTest::currentDataTag())));

        e.ex().abort();
        QCOMPARE(e.form->size(), resting);
        QCOMPARE(staffPatches(shot(), White).size(), 0);
    }

    // The staff keeps its proportions at twice the size: its lines and a head on its line or in
    // its space where they are at once, scaled, to a device pixel.
    void staffProportions_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("linesBelowTop"); // of the head's centre, in staff spaces
        QTest::newRow("e' on the lowest line") << 6 << 4.0;
        QTest::newRow("f' in the lowest space") << 7 << 3.5;
        QTest::newRow("h' on the middle line") << 10 << 2.0;
        QTest::newRow("e'' in the highest space") << 13 << 0.5;
        QTest::newRow("f'' on the highest line") << 14 << 0.0;
    }
    void staffProportions() {
        QFETCH(int, index);
        QFETCH(double, linesBelowTop);
        Run e(Clef::Violin);
        e.ask(index);
        e.start();
        QVERIFY(e.form->shpNote.Visible);
        struct Seen {
            QList<double> lines; // from the top, in logical pixels
            double head = 0;     // its centre
        };
        // The window rendered at a device pixel ratio, read at the staff's right end, where
        // nothing else is drawn at rest, and through the middle of the head.
        const auto seenAt = [&](int ratio) {
            QImage shot(e.form->size() * ratio, QImage::Format_RGB32);
            shot.setDevicePixelRatio(ratio);
            e.form->render(&shot);
            const auto dark = [&](int x, int y) {
                return QColor(shot.pixel(x, y)).lightness() < 60;
            };
            Seen seen;
            const int lineColumn = 6800 * ratio / 15;
            for (int y = 0; y < 3100 * ratio / 15; ++y) {
                if (!dark(lineColumn, y))
                    continue;
                int end = y;
                while (dark(lineColumn, end + 1))
                    ++end;
                seen.lines.append((y + end) / 2.0 / ratio);
                y = end;
            }
            const QPointF middle = headCircle(e.form->shpNote).center() * ratio / 15;
            const int x = qRound(middle.x());
            // Its white inside, whose outline and the lines around it are ink.
            const auto inHead = [&](int y) { return QColor(shot.pixel(x, y)) == White; };
            int top = qRound(middle.y()), bottom = top;
            while (inHead(top - 1))
                --top;
            while (inHead(bottom + 1))
                ++bottom;
            seen.head = (top + bottom) / 2.0 / ratio;
            return seen;
        };
        const Seen once = seenAt(1), twice = seenAt(2);
        QCOMPARE(once.lines.size(), 5);
        QCOMPARE(twice.lines.size(), 5);
        // Half a logical pixel: one device pixel at twice the size, a rounding at once.
        for (qsizetype i = 0; i < 5; ++i)
            QVERIFY2(std::abs(twice.lines[i] - once.lines[i]) <= 0.75,
                     qPrintable(QStringLiteral("line %1 at %2 once, at %3 twice")
                                    .arg(i + 1)
                                    .arg(once.lines[i])
                                    .arg(twice.lines[i])));
        QVERIFY2(
            std::abs(twice.head - once.head) <= 0.75,
            qPrintable(
                QStringLiteral("head at %1 once, at %2 twice").arg(once.head).arg(twice.head)));
        const double space = (once.lines[4] - once.lines[0]) / 4;
        QVERIFY(std::abs(once.head - (once.lines[0] + linesBelowTop * space)) < space / 4);
    }

    // Every window the program opens fits the available area of its screen, or lets the
    // learner scroll to each of its controls: also run at twice the size on a full HD screen.
    void everyWindowWithinReach_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("notes");
        QTest::addColumn<int>("fifths");
        QTest::newRow("main window, one note") << "main" << 1 << 0;
        QTest::newRow("main window, four notes") << "main" << 4 << 0;
        QTest::newRow("main window, eight notes") << "main" << 8 << 0;
        QTest::newRow("main window, eight notes, C-sharp major") << "main" << 8 << 7;
        QTest::newRow("settings") << "settings" << 1 << 0;
        QTest::newRow("settings, more clefs") << "more clefs" << 1 << 0;
        QTest::newRow("help") << "help" << 1 << 0;
        QTest::newRow("about") << "about" << 1 << 0;
        QTest::newRow("keyboard") << "keyboard" << 1 << 0;
        QTest::newRow("message") << "message" << 1 << 0;
        QTest::newRow("message with the details of 25 wrong notes") << "message" << 25 << 0;
    }
    void everyWindowWithinReach() {
        QFETCH(QString, window);
        QFETCH(int, notes);
        QFETCH(int, fifths);
        QStringList problems;
        int checked = 0;
        const auto check = [&](QWidget* shown) {
            QVERIFY(shown);
            shown->show();
            problems += outOfReach(*shown);
            ++checked;
        };
        const auto shownWindow = [](const QMetaObject& kind) -> QWidget* {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && kind.cast(w))
                    return w;
            return nullptr;
        };
        if (window == "main") {
            Run e(Clef::Violin);
            e.form->show();
            e.settings.notesPerTask = notes;
            e.settings.keyFifths = fifths;
            e.start();
            check(e.form.get());
            QCOMPARE(checked, 1);
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
            return;
        }
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        form.show();
        if (window == "settings" || window == "more clefs" || window == "about") {
            world.onDialog = [&](QDialog& dialog) {
                check(&dialog);
                dialog.reject();
            };
            QPushButton* opener = window == "settings"     ? form.cmdViolin
                                  : window == "more clefs" ? form.cmdWeitereSchluessel
                                                           : form.cmdInfo;
            opener->click();
        } else if (window == "help") {
            form.cmdHilfe->click();
            QWidget* help = shownWindow(frmHilfe::staticMetaObject);
            check(help);
            delete help;
        } else if (window == "keyboard") {
            world.onDialog = [](QDialog& dialog) {
                auto& d = static_cast<frmEinstellungen&>(dialog);
                d.chkTonViolin[0]->click();
                d.chkTonViolin[14]->click();
                d.cmdKeyboard->click();
            };
            QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
            form.cmdViolin->click();
            check(shownWindow(frmKeyboard::staticMetaObject));
            world.exercise.abort();
        } else {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                // Its details open, as a learner reads them.
                for (QPushButton* b : box->findChildren<QPushButton*>())
                    if (b != box->button(QMessageBox::Ok))
                        b->click();
                const auto* details = box->findChild<QTextEdit*>();
                QCOMPARE(details && details->isVisible(), notes > 1);
                check(box);
                box->close();
            });
            QStringList details;
            for (int task = 1; task <= notes && notes > 1; ++task)
                details.append(
                    QStringLiteral("Aufgabe %1, Note 8: gesucht cis'' (Violinschlüssel), "
                                   "gewählt ces' nach 12,5 Sekunden")
                        .arg(task));
            showMessageBox(&form, resultText(false, notes > 1 ? notes : 3),
                           QStringLiteral("Ergebnis"), MessageIcon::Information,
                           details.join(QLatin1Char('\n')));
        }
        QCOMPARE(checked, 1);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }

    void earTrainingShowsHeadOnlyWhenTold() {
        Run e(Clef::Bass, 0, 14, 400, 2000, true);
        e.ask(13);
        e.start();
        QVERIFY(!e.form->shpNote.Visible);
        QCOMPARE(e.visibleLedgerLines(), (QList<int>{3, 4}));
        e.answer(2);
        QVERIFY(e.form->shpNote.Visible);
        e.ex().tmrNoteFalsch_Timer();
        QVERIFY(!e.form->shpNote.Visible);
        e.answer(e.ex().askedIndex());
        QVERIFY(!e.form->shpNote.Visible);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

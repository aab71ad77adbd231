// Whole exercises through the seams: task generation, placement, timers, answers and the end.
#include "FakeServices.h"
#include "training/Form1.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct Exercise {
    FakeWorld world;
    std::unique_ptr<Form1> form;

    explicit Exercise(const QString& clef, int lowest = 0, int highest = 14, int zeitVorbei = 400,
                      int zeitWeg = 2000, bool earTraining = false) {
        clearStore();
        form = std::make_unique<Form1>(world.services());
        form->AusgewählterSchlüssel = clef;
        form->Gehörtraining = earTraining;
        form->NiedrigsterTon = std::int16_t(lowest);
        form->HöchsterTon = std::int16_t(highest);
        form->ZeitVorbei = std::int16_t(zeitVorbei);
        form->ZeitWeg = std::int16_t(zeitWeg);
    }

    // r that draws `note` from the range.
    void ask(int note) {
        const int size = form->HöchsterTon - form->NiedrigsterTon + 1;
        world.randomValue = (note - form->NiedrigsterTon + 0.5) / size;
    }
    void answer(int index) {
        if (form->AusgewählterSchlüssel == "Bass")
            form->cmdNoteBass_Click(std::int16_t(index));
        else
            form->cmdNoteViolin_Click(std::int16_t(index));
    }
    QList<int> visibleLedgerLines() const {
        QList<int> visible;
        for (int i = 0; i < 14; ++i)
            if (form->ZusatzLinie[i].Visible)
                visible.append(i);
        return visible;
    }
    QPushButton* button(int index) const {
        return form->AusgewählterSchlüssel == "Bass" ? form->cmdNoteBass[index]
                                                     : form->cmdNoteViolin[index];
    }
    QColor colour(int index) const { return button(index)->palette().color(QPalette::Button); }
};

const QColor White(255, 255, 255);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);

void addPlacementRows() {
    QTest::addColumn<QString>("clef");
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
    for (int i = 0; i < 15; ++i) {
        QTest::addRow("Violin %d", i) << "Violin" << i << treble[i].top << treble[i].ledger
                                      << treble[i].chosenTop << treble[i].chosenLedger;
        QTest::addRow("Bass %d", i) << "Bass" << i << bass[i].top << bass[i].ledger
                                    << bass[i].chosenTop << bass[i].chosenLedger;
    }
}

} // namespace

class ExerciseTest : public QObject {
    Q_OBJECT

private slots:
    void askedNotePlacement_data() { addPlacementRows(); }
    void askedNotePlacement() {
        QFETCH(QString, clef);
        QFETCH(int, index);
        QFETCH(double, top);
        QFETCH(QList<int>, ledger);
        Exercise e(clef);
        e.ask(index);
        e.form->Start();
        QCOMPARE(e.form->Note, index);
        QCOMPARE(e.form->shpNote.Top, top);
        QCOMPARE(e.form->shpNote.Left, 3884.5);
        QVERIFY(e.form->shpNote.Visible);
        QCOMPARE(e.visibleLedgerLines(), ledger);
        const QString folder = clef == "Bass" ? "bass" : "violin";
        QCOMPARE(e.world.player.played,
                 QStringList{QString("/opt/virelo/sound/%1/%2.mid").arg(folder).arg(index)});
    }

    void chosenNotePlacement_data() { addPlacementRows(); }
    void chosenNotePlacement() {
        QFETCH(QString, clef);
        QFETCH(int, index);
        QFETCH(double, chosenTop);
        QFETCH(QList<int>, chosenLedger);
        Exercise e(clef);
        const int asked = index == 7 ? 8 : 7; // no ledger lines of its own
        e.ask(asked);
        e.form->Start();
        e.answer(index);
        QCOMPARE(e.form->shpNoteFalsch.Top, chosenTop);
        QCOMPARE(e.form->shpNoteFalsch.Left, 5774.5);
        QVERIFY(e.form->shpNoteFalsch.Visible);
        QCOMPARE(e.visibleLedgerLines(), chosenLedger);
        QCOMPARE(e.colour(index), Red);
        QCOMPARE(e.colour(asked), Green);
    }

    void drawCoversTheRange_data() {
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::addColumn<int>("note");
        const double belowOne = std::nextafter(1.0, 0.0);
        QTest::newRow("r = 0") << 0.0 << 3 << 7 << 3;
        QTest::newRow("r just below 1") << belowOne << 3 << 7 << 7;
        QTest::newRow("r middle") << 0.5 << 3 << 7 << 5;
        // Where the product rounds up to the next whole number.
        QTest::newRow("r just below 1, 1..2") << belowOne << 1 << 2 << 2;
        QTest::newRow("r just below 1, 2..9") << belowOne << 2 << 9 << 9;
        QTest::newRow("r just below 1, 13..14") << belowOne << 13 << 14 << 14;
    }
    void drawCoversTheRange() {
        QFETCH(double, r);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        QFETCH(int, note);
        Exercise e("Violin", lowest, highest);
        e.world.randomValue = r;
        e.form->Start();
        QCOMPARE(e.form->Note, note);
    }

    void allRightGivesZero() {
        Exercise e("Bass", 2, 9);
        e.form->Start();
        for (int task = 1; task <= 25; ++task) {
            QCOMPARE(e.form->Aufgabe, task);
            e.ask(task % 8 + 2);
            e.answer(e.form->Note);
        }
        QCOMPARE(e.world.player.played.size(), 25);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text, QString("Du hast von 25 Aufgaben 0 falsch gemacht."));
        QCOMPARE(e.world.messages[0].title, QString());
        QCOMPARE(e.world.messages[0].icon, MessageIcon::Information);
        QCOMPARE(e.form->state(), ExerciseState::Idle);
    }

    void wrongAnswersAndTimeOutsCount() {
        Exercise e("Violin", 0, 14, 300);
        e.form->Start();
        for (int task = 1; task <= 25; ++task) {
            if (task % 5 == 0) {
                e.answer((e.form->Note + 1) % 15);
                e.form->tmrNoteFalsch_Timer();
            } else if (task % 7 == 0) {
                e.form->ZeitVergangen(300);
            } else {
                e.answer(e.form->Note);
            }
        }
        // Tasks 5, 10, 15, 20, 25 wrong; 7, 14, 21 timed out.
        QCOMPARE(e.world.messages.last().text,
                 QString("Du hast von 25 Aufgaben 8 falsch gemacht."));
        QCOMPARE(e.world.messages.size(), 4);
    }

    void timeOutMessageAndNextTask() {
        Exercise e("Violin", 9, 10, 400, 2000, true);
        e.ask(9);
        e.form->Start();
        QVERIFY(!e.form->shpNote.Visible);
        bool headShownDuringMessage = false;
        bool timersOffDuringMessage = false;
        e.world.onMessage = [&](const ShownMessage&) {
            headShownDuringMessage = e.form->shpNote.Visible;
            timersOffDuringMessage = !e.form->tmrVorbei->isActive() && !e.form->tmrWeg->isActive();
        };
        e.form->ZeitVergangen(399);
        QCOMPARE(e.world.messages.size(), 0);
        QCOMPARE(e.form->ProgressBar1->value(), 399);
        e.form->ZeitVergangen(400);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text,
                 QString("Zeit vorbei. Gesucht wurde: a'\n"
                         "( Leertaste drücken, um diese Meldung zu schließen )"));
        QCOMPARE(e.world.messages[0].icon, MessageIcon::None);
        QVERIFY(headShownDuringMessage);
        QVERIFY(timersOffDuringMessage);
        QCOMPARE(e.form->fehler, 1);
        QCOMPARE(e.form->Aufgabe, 2);
        QCOMPARE(e.form->zeitZaehler(), 0);
        QVERIFY(e.form->tmrVorbei->isActive());
    }

    void timeBarFollowsTheCount() {
        Exercise e("Bass", 0, 14, 500);
        e.form->Start();
        QCOMPARE(e.form->ProgressBar1->minimum(), 0);
        QCOMPARE(e.form->ProgressBar1->maximum(), 500);
        QCOMPARE(e.form->ProgressBar1->value(), 0);
        e.form->ZeitVergangen(1);
        QCOMPARE(e.form->ProgressBar1->value(), 1);
        e.form->ZeitVergangen(250);
        QCOMPARE(e.form->ProgressBar1->value(), 250);
        // A late tick jumps to the real time; the bar never runs past its end.
        e.form->ZeitVergangen(900);
        QCOMPARE(e.form->fehler, 1);
        QCOMPARE(e.form->ProgressBar1->value(), 500);
        e.form->ZeitVergangen(1);
        QCOMPARE(e.form->ProgressBar1->value(), 1);
        e.form->cmdÜbungAbbrechen->click();
        QCOMPARE(e.form->ProgressBar1->value(), 0);
    }

    void noTimeLimit() {
        Exercise e("Violin", 0, 14, 0, 0);
        e.form->Start();
        QVERIFY(!e.form->tmrVorbei->isActive());
        QVERIFY(!e.form->tmrWeg->isActive());
        QVERIFY(e.form->ProgressBar1->maximum() > e.form->ProgressBar1->minimum());
        e.form->ZeitVergangen(100000);
        QCOMPARE(e.world.messages.size(), 0);
        QCOMPARE(e.form->ProgressBar1->value(), 0);
        QVERIFY(e.form->shpNote.Visible);
    }

    void noteDisappears() {
        Exercise e("Violin", 0, 14, 400, 1000);
        e.form->Start();
        QVERIFY(e.form->tmrWeg->isActive());
        QCOMPARE(e.form->tmrWeg->interval(), 1000);
        e.form->tmrWeg_Timer();
        QVERIFY(!e.form->shpNote.Visible);
        // Answering after the head vanished still shows the asked note in the display.
        e.answer((e.form->Note + 3) % 15);
        QVERIFY(e.form->shpNote.Visible);
        QCOMPARE(e.form->shpNote.BackColor, VbColor::Green);
    }

    void wrongAnswerDisplayAndItsEnd() {
        Exercise e("Violin");
        e.ask(9);
        e.form->Start();
        e.ask(4);
        e.answer(0);
        QCOMPARE(e.form->fehler, 1);
        QVERIFY(e.form->tmrNoteFalsch->isActive());
        QCOMPARE(e.form->tmrNoteFalsch->interval(), 3000);
        QVERIFY(!e.form->tmrVorbei->isActive());
        QCOMPARE(e.colour(0), Red);
        QCOMPARE(e.colour(9), Green);
        for (int i = 0; i < 15; ++i)
            QVERIFY(!e.form->cmdNoteViolin[i]->isEnabled());
        QCOMPARE(e.visibleLedgerLines(), (QList<int>{8, 9, 10}));

        // Answers that arrive during the display are ignored.
        e.answer(9);
        e.answer(3);
        QCOMPARE(e.form->fehler, 1);
        QCOMPARE(e.form->Aufgabe, 1);

        e.form->tmrNoteFalsch_Timer();
        QVERIFY(!e.form->tmrNoteFalsch->isActive());
        QCOMPARE(e.form->Aufgabe, 2);
        QCOMPARE(e.form->Note, 4);
        QCOMPARE(e.form->shpNote.BackColor, VbColor::White);
        QVERIFY(!e.form->shpNoteFalsch.Visible);
        QCOMPARE(e.visibleLedgerLines(), (QList<int>{0}));
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(e.colour(i), White);
            QVERIFY(e.form->cmdNoteViolin[i]->isEnabled());
        }
        QVERIFY(e.form->tmrVorbei->isActive());
    }

    void wrongAnswerOnLastTaskShowsDisplayFirst() {
        Exercise e("Bass");
        e.form->Start();
        for (int task = 1; task < 25; ++task)
            e.answer(e.form->Note);
        e.answer((e.form->Note + 1) % 15);
        QVERIFY(e.world.messages.isEmpty());
        QVERIFY(e.form->shpNoteFalsch.Visible);
        e.form->tmrNoteFalsch_Timer();
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text, QString("Du hast von 25 Aufgaben 1 falsch gemacht."));
    }

    void abortDuringDisplayLeavesRest() {
        Exercise e("Violin", 0, 14, 400, 2000, true);
        e.ask(0);
        e.form->Start();
        e.answer(14);
        bool restDuringMessage = false;
        e.world.onMessage = [&](const ShownMessage&) {
            restDuringMessage = !e.form->tmrNoteFalsch->isActive() &&
                                !e.form->tmrVorbei->isActive() && !e.form->tmrWeg->isActive() &&
                                !e.form->shpNote.Visible && !e.form->shpNoteFalsch.Visible &&
                                e.visibleLedgerLines().isEmpty() && e.form->cmdViolin->isEnabled();
        };
        e.form->cmdÜbungAbbrechen->click();
        QVERIFY(restDuringMessage);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text,
                 QString("Du hast die Übung abgebrochen. Es erfolgt keine Wertung."));
        QCOMPARE(e.world.messages[0].icon, MessageIcon::Information);
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(e.colour(i), White);
            QVERIFY(!e.form->cmdNoteViolin[i]->isEnabled());
            QVERIFY(!e.form->cmdNoteBass[i]->isEnabled());
        }
        QCOMPARE(e.form->shpNote.BackColor, VbColor::White);
        QVERIFY(!e.form->Gehörtraining);
        QCOMPARE(e.form->AusgewählterSchlüssel, QString());
        QCOMPARE(e.form->state(), ExerciseState::Idle);
        QCOMPARE(e.world.player.played.size(), 1);
        QCOMPARE(e.form->fehler, 1);

        // Nothing of the ended exercise answers any more.
        e.form->cmdNoteViolin_Click(3);
        e.form->ZeitVergangen(400);
        e.form->tmrNoteFalsch_Timer();
        QCOMPARE(e.world.player.played.size(), 1);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.form->fehler, 1);
    }

    void answersOutsideTheRowIgnored() {
        Exercise e("Bass");
        e.form->Start();
        for (int index : {-1, 15, 32767}) {
            e.answer(index);
            QCOMPARE(e.form->fehler, 0);
            QVERIFY(!e.form->tmrNoteFalsch->isActive());
        }
        e.answer(e.form->Note);
        QCOMPARE(e.form->Aufgabe, 2);
    }

    void earTrainingShowsHeadOnlyWhenTold() {
        Exercise e("Bass", 0, 14, 400, 2000, true);
        e.ask(13);
        e.form->Start();
        QVERIFY(!e.form->shpNote.Visible);
        QCOMPARE(e.visibleLedgerLines(), (QList<int>{3, 4}));
        e.answer(2);
        QVERIFY(e.form->shpNote.Visible);
        e.form->tmrNoteFalsch_Timer();
        QVERIFY(!e.form->shpNote.Visible);
        e.answer(e.form->Note);
        QVERIFY(!e.form->shpNote.Visible);
    }

    // The real timers, at a short time per note: the time-out really comes.
    void realTimeOutComes() {
        Exercise e("Violin", 0, 14, 5, 0);
        e.form->Start();
        QTRY_COMPARE_WITH_TIMEOUT(e.world.messages.size(), 1, 5000);
        QVERIFY(e.world.messages[0].text.startsWith("Zeit vorbei. Gesucht wurde: "));
    }
};

QTEST_MAIN(ExerciseTest)
#include "tst_exercise.moc"

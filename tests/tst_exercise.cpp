// Whole exercises through the seams: task generation, placement, timers, answers and the end.
#include "FakeServices.h"
#include "feedback/ResultText.h"
#include "forms/Form1.h"
#include "input/MidiAnswers.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <thread>

namespace {

// An exercise over a range, alone or shown by the main window; nothing waits.
struct Run {
    FakeWorld world;
    std::unique_ptr<Form1> form;
    std::unique_ptr<Exercise> alone;
    ExerciseSettings settings;

    enum class Shown { Alone, InWindow };
    explicit Run(const QString& clef, int lowest = 0, int highest = 14, int zeitVorbei = 400,
                 int zeitWeg = 2000, bool earTraining = false, Shown shown = Shown::InWindow) {
        clearStore();
        if (shown == Shown::InWindow)
            form = std::make_unique<Form1>(world.services());
        else
            alone = std::make_unique<Exercise>(world.exerciseServices());
        ex().chooseMode(clef, earTraining);
        settings = {std::int16_t(lowest), std::int16_t(highest), std::int16_t(zeitWeg),
                    std::int16_t(zeitVorbei), false};
    }
    Exercise& ex() const { return form ? form->exercise() : *alone; }
    void start() { ex().Start(settings); }

    // r that draws `note` from the range.
    void ask(int note) {
        const int size = settings.HöchsterTon - settings.NiedrigsterTon + 1;
        world.randomValue = (note - settings.NiedrigsterTon + 0.5) / size;
    }
    void answer(int index) {
        if (form && ex().clef() == "Bass")
            form->cmdNoteBass_Click(std::int16_t(index));
        else if (form)
            form->cmdNoteViolin_Click(std::int16_t(index));
        else
            ex().answer(index);
    }
    QList<int> visibleLedgerLines() const {
        QList<int> visible;
        for (int i = 0; i < 14; ++i)
            if (form->ZusatzLinie[i].Visible)
                visible.append(i);
        return visible;
    }
    QPushButton* button(int index) const {
        return ex().clef() == "Bass" ? form->cmdNoteBass[index] : form->cmdNoteViolin[index];
    }
    QColor colour(int index) const { return button(index)->palette().color(QPalette::Button); }
};

constexpr auto Alone = Run::Shown::Alone;

// A MIDI input without a MIDI system: the test presses the keys, on a thread of their own as a
// real input's arrive.
struct TestMidiInput final : MidiInput {
    void open(const Received& r) override { received = &r; }
    void connectHardware() override { ++connects; }
    void press(int pitch, int velocity = 100) const {
        const unsigned char message[] = {0x90, (unsigned char)pitch, (unsigned char)velocity};
        std::thread([&] { (*received)(message, sizeof message); }).join();
    }
    const Received* received = nullptr;
    int connects = 0;
};

// The treble clef's keys, index 0..14.
constexpr int TrebleKeys[15] = {53, 55, 57, 59, 60, 62, 64, 65, 67, 69, 71, 72, 74, 76, 77};

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
        Run e(clef);
        e.ask(index);
        e.start();
        QCOMPARE(e.ex().askedNote(), index);
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
        Run e("Violin", lowest, highest, 400, 2000, false, Alone);
        e.world.randomValue = r;
        e.start();
        QCOMPARE(e.ex().askedNote(), note);
    }

    void allRightGivesZero() {
        Run e("Bass", 2, 9, 400, 2000, false, Alone);
        e.start();
        for (int task = 1; task <= 25; ++task) {
            QCOMPARE(e.ex().task(), task);
            e.ask(task % 8 + 2);
            e.answer(e.ex().askedNote());
        }
        QCOMPARE(e.world.player.played.size(), 25);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text, QString("Du hast von 25 Aufgaben 0 falsch gemacht."));
        QCOMPARE(e.world.messages[0].title, QString());
        QCOMPARE(e.world.messages[0].icon, MessageIcon::Information);
        QCOMPARE(e.ex().state(), ExerciseState::Idle);
    }

    void wrongAnswersAndTimeOutsCount() {
        Run e("Violin", 0, 14, 300, 2000, false, Alone);
        e.start();
        for (int task = 1; task <= 25; ++task) {
            if (task % 5 == 0) {
                e.answer((e.ex().askedNote() + 1) % 15);
                e.ex().tmrNoteFalsch_Timer();
            } else if (task % 7 == 0) {
                e.ex().ZeitVergangen(300);
            } else {
                e.answer(e.ex().askedNote());
            }
        }
        // Tasks 5, 10, 15, 20, 25 wrong; 7, 14, 21 timed out.
        QCOMPARE(e.world.messages.last().text,
                 QString("Du hast von 25 Aufgaben 8 falsch gemacht."));
        QCOMPARE(e.world.messages.size(), 4);
        QCOMPARE(e.world.messages.last().details,
                 QString("Aufgabe 5: gesucht f, gewählt g (eine Sekunde zu hoch)\n"
                         "Aufgabe 7: gesucht f (Zeit vorbei)\n"
                         "Aufgabe 10: gesucht f, gewählt g (eine Sekunde zu hoch)\n"
                         "Aufgabe 14: gesucht f (Zeit vorbei)\n"
                         "Aufgabe 15: gesucht f, gewählt g (eine Sekunde zu hoch)\n"
                         "Aufgabe 20: gesucht f, gewählt g (eine Sekunde zu hoch)\n"
                         "Aufgabe 21: gesucht f (Zeit vorbei)\n"
                         "Aufgabe 25: gesucht f, gewählt g (eine Sekunde zu hoch)\n"
                         "Oktave verwechselt: 0, Nachbarton: 5, anderer Schlüssel: 0, "
                         "Zeit vorbei: 3, sonst: 0"));
        for (const ShownMessage& timeOut : e.world.messages.first(3))
            QCOMPARE(timeOut.details, QString());

        // The next exercise starts with a clean slate.
        e.ex().chooseMode("Violin", false);
        e.start();
        for (int task = 1; task <= 25; ++task)
            e.answer(e.ex().askedNote());
        QCOMPARE(e.world.messages.last().text,
                 QString("Du hast von 25 Aufgaben 0 falsch gemacht."));
        QCOMPARE(e.world.messages.last().details, QString());
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
        const QString details = mistakeDetails(ClefBass, missed);
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

    void timeOutMessageAndNextTask() {
        Run e("Violin", 9, 10, 400, 2000, true, Alone);
        QSignalSpy headShown(&e.ex(), &Exercise::timedOut);
        e.ask(9);
        e.start();
        bool headShownDuringMessage = false;
        bool timersOffDuringMessage = false;
        e.world.onMessage = [&](const ShownMessage&) {
            headShownDuringMessage = headShown.count() == 1;
            timersOffDuringMessage = !e.ex().tmrVorbei->isActive() && !e.ex().tmrWeg->isActive();
        };
        e.ex().ZeitVergangen(399);
        QCOMPARE(e.world.messages.size(), 0);
        e.ex().ZeitVergangen(400);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text,
                 QString("Zeit vorbei. Gesucht wurde: a'\n"
                         "( Leertaste drücken, um diese Meldung zu schließen )"));
        QCOMPARE(e.world.messages[0].icon, MessageIcon::None);
        QVERIFY(headShownDuringMessage);
        QVERIFY(timersOffDuringMessage);
        QCOMPARE(e.ex().errors(), 1);
        QCOMPARE(e.ex().task(), 2);
        QCOMPARE(e.ex().zeitZaehler(), 0);
        QVERIFY(e.ex().tmrVorbei->isActive());
    }

    void timeBarFollowsTheCount() {
        Run e("Bass", 0, 14, 500);
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
        Run e("Violin", 0, 14, 0, 0);
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
        Run e("Violin", 0, 14, 400, 1000);
        e.start();
        QVERIFY(e.ex().tmrWeg->isActive());
        QCOMPARE(e.ex().tmrWeg->interval(), 1000);
        e.ex().tmrWeg_Timer();
        QVERIFY(!e.form->shpNote.Visible);
        // Answering after the head vanished still shows the asked note in the display.
        e.answer((e.ex().askedNote() + 3) % 15);
        QVERIFY(e.form->shpNote.Visible);
        QCOMPARE(e.form->shpNote.BackColor, VbColor::Green);
    }

    void wrongAnswerDisplayAndItsEnd() {
        Run e("Violin");
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
        QVERIFY(!e.ex().tmrNoteFalsch->isActive());
        QCOMPARE(e.ex().task(), 2);
        QCOMPARE(e.ex().askedNote(), 4);
        QCOMPARE(e.form->shpNote.BackColor, VbColor::White);
        QVERIFY(!e.form->shpNoteFalsch.Visible);
        QCOMPARE(e.visibleLedgerLines(), (QList<int>{0}));
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(e.colour(i), White);
            QVERIFY(e.form->cmdNoteViolin[i]->isEnabled());
        }
        QVERIFY(e.ex().tmrVorbei->isActive());
    }

    void wrongAnswerOnLastTaskShowsDisplayFirst() {
        Run e("Bass", 0, 14, 400, 2000, false, Alone);
        e.start();
        for (int task = 1; task < 25; ++task)
            e.answer(e.ex().askedNote());
        e.answer((e.ex().askedNote() + 1) % 15);
        QVERIFY(e.world.messages.isEmpty());
        QVERIFY(e.ex().tmrNoteFalsch->isActive());
        e.ex().tmrNoteFalsch_Timer();
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text, QString("Du hast von 25 Aufgaben 1 falsch gemacht."));
    }

    void abortDuringDisplayLeavesRest() {
        Run e("Violin", 0, 14, 400, 2000, true);
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
            QVERIFY(!e.form->cmdNoteViolin[i]->isEnabled());
            QVERIFY(!e.form->cmdNoteBass[i]->isEnabled());
        }
        QCOMPARE(e.form->shpNote.BackColor, VbColor::White);
        QVERIFY(!e.ex().earTraining());
        QCOMPARE(e.ex().clef(), QString());
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

    void answersOutsideTheRowIgnored() {
        Run e("Bass", 0, 14, 400, 2000, false, Alone);
        e.start();
        for (int index : {-1, 15, 32767}) {
            e.answer(index);
            QCOMPARE(e.ex().errors(), 0);
            QVERIFY(!e.ex().tmrNoteFalsch->isActive());
        }
        e.answer(e.ex().askedNote());
        QCOMPARE(e.ex().task(), 2);
    }

    void earTrainingShowsHeadOnlyWhenTold() {
        Run e("Bass", 0, 14, 400, 2000, true);
        e.ask(13);
        e.start();
        QVERIFY(!e.form->shpNote.Visible);
        QCOMPARE(e.visibleLedgerLines(), (QList<int>{3, 4}));
        e.answer(2);
        QVERIFY(e.form->shpNote.Visible);
        e.ex().tmrNoteFalsch_Timer();
        QVERIFY(!e.form->shpNote.Visible);
        e.answer(e.ex().askedNote());
        QVERIFY(!e.form->shpNote.Visible);
    }

    // Whatever the exercise is doing, an abort ends it at once with the abort message, and no
    // answer, tick or display end of the ended exercise does anything afterwards.
    void abortInEveryState_data() {
        QTest::addColumn<QString>("when");
        QTest::newRow("while choosing") << "choosing";
        QTest::newRow("while the first note sounds") << "sound";
        QTest::newRow("task open") << "task";
        QTest::newRow("note disappeared") << "hidden";
        QTest::newRow("wrong-answer display") << "display";
        QTest::newRow("time-out message open") << "timeout";
    }
    void abortInEveryState() {
        QFETCH(QString, when);
        Run e("Violin", 0, 14, 400, 2000, false, Alone);
        e.ask(5);
        if (when == "sound")
            e.world.player.whilePlaying = [&] { e.ex().abort(); };
        if (when == "timeout")
            e.world.onMessage = [&](const ShownMessage& m) {
                if (m.text.startsWith("Zeit vorbei"))
                    e.ex().abort();
            };
        if (when != "choosing")
            e.start();
        if (when == "hidden")
            e.ex().tmrWeg_Timer();
        if (when == "display")
            e.answer(6);
        if (when == "timeout")
            e.ex().ZeitVergangen(400);
        e.world.player.whilePlaying = nullptr;
        e.ex().abort();

        const qsizetype played = e.world.player.played.size();
        const int errors = e.ex().errors();
        const QStringList expected =
            when == "choosing"
                ? QStringList()
                : QStringList{"Du hast die Übung abgebrochen. Es erfolgt keine Wertung."};
        QStringList results;
        for (const ShownMessage& m : e.world.messages)
            if (!m.text.startsWith("Zeit vorbei"))
                results.append(m.text);
        QCOMPARE(results, expected);
        QCOMPARE(e.ex().state(),
                 when == "choosing" ? ExerciseState::Choosing : ExerciseState::Idle);
        for (const QTimer* t : {e.ex().tmrVorbei, e.ex().tmrWeg, e.ex().tmrNoteFalsch})
            QVERIFY(!t->isActive());
        e.ex().answer(5);
        e.ex().answer(6);
        e.ex().ZeitVergangen(400);
        e.ex().tmrNoteFalsch_Timer();
        e.ex().abort();
        QCOMPARE(e.world.player.played.size(), played);
        QCOMPARE(e.ex().errors(), errors);
        QCOMPARE(e.world.messages.size(), results.size() + (when == "timeout" ? 1 : 0));
    }

    // Keys answer as clicks do, only an open task takes one, and a key pressed while a note
    // sounds answers the task that note opens, the last one pressed.
    void midiKeysAnswer() {
        Run e("Violin", 0, 14, 0, 2000, false, Alone);
        auto owned = std::make_unique<TestMidiInput>();
        TestMidiInput& keys = *owned;
        MidiAnswers answers(e.ex(), std::move(owned));
        answers.open();
        e.ask(3);
        e.start();
        QCOMPARE(keys.connects, 1);

        e.ask(7);
        keys.press(TrebleKeys[3]);
        QTRY_COMPARE(e.ex().task(), 2);
        keys.press(TrebleKeys[7] + 1); // a black key
        keys.press(TrebleKeys[7], 0);  // a release
        keys.press(48);                // outside the clef
        QTest::qWait(50);
        QCOMPARE(e.ex().task(), 2);
        QVERIFY(e.ex().taskOpen());

        keys.press(TrebleKeys[8]);
        QTRY_COMPARE(e.ex().errors(), 1);
        keys.press(TrebleKeys[7]); // during the wrong-answer display: dropped
        QTest::qWait(50);
        QCOMPARE(e.ex().task(), 2);
        QCOMPARE(e.ex().errors(), 1);

        // While task 3's note sounds, in the sound's own event loop as the player runs it, a
        // wrong key and then the right one.
        e.ask(11);
        e.world.player.whilePlaying = [&] {
            keys.press(TrebleKeys[2]);
            keys.press(TrebleKeys[11]);
            QTest::qWait(20);
            QVERIFY(!e.ex().taskOpen());
        };
        e.ex().tmrNoteFalsch_Timer();
        e.world.player.whilePlaying = nullptr;
        QCOMPARE(e.ex().task(), 3);
        QTRY_COMPARE(e.ex().task(), 4);
        QCOMPARE(e.ex().errors(), 1);

        e.ex().abort();
        e.ex().chooseMode("Violin", false);
        e.start();
        QCOMPARE(keys.connects, 2);
    }

    // The real timers, at a short time per note: the time-out really comes.
    void realTimeOutComes() {
        Run e("Violin", 0, 14, 5, 0, false, Alone);
        e.start();
        QTRY_COMPARE_WITH_TIMEOUT(e.world.messages.size(), 1, 5000);
        QVERIFY(e.world.messages[0].text.startsWith("Zeit vorbei. Gesucht wurde: "));
    }
};

QTEST_MAIN(ExerciseTest)
#include "tst_exercise.moc"

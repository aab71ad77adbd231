// Whole exercises through the seams, without a window: task generation, timers, answers and the
// end.
#include "FakeExercise.h"
#include "input/MicrophoneAnswers.h"
#include "input/MidiAnswers.h"
#include "training/Exercise.h"
#include "training/NoteNaming.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <map>
#include <random>
#include <thread>

namespace {

// An exercise over a range, without a window; nothing waits.
struct Run : ExerciseRun<FakeExerciseWorld> {
    using ExerciseRun::ExerciseRun;
    void answer(int index) { ex().answer(index); }
};

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

// Whether a library of that name is mapped into this process.
bool mapped(const QByteArray& library) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

// The treble clef's keys, index 0..14.
constexpr int TrebleKeys[15] = {53, 55, 57, 59, 60, 62, 64, 65, 67, 69, 71, 72, 74, 76, 77};

} // namespace

class ExerciseTest : public QObject {
    Q_OBJECT

private slots:

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
        Run e(Clef::Violin, lowest, highest, 400, 2000);
        e.world.randomValue = r;
        // A record that would shift every draw, were weak notes practised.
        e.world.records[lowest] = {100, 100};
        e.start();
        QCOMPARE(e.ex().askedIndex(), note);
        QCOMPARE(e.world.recordsAsked, 0);
    }

    // Weights 1 + 4 × share of misses: a note missed half the time 3, one never missed 1, one
    // never asked 3. A staff place weighs the notes it is asked as in the exercise's key, each by
    // its share of the place's tasks (a third for signs of the task's own): in G major the f line
    // by fis alone, whatever f's record.
    void weakNotesDrawnMoreOften_data() {
        QTest::addColumn<int>("fifths");
        QTest::addColumn<int>("own");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("weakStep");
        QTest::addColumn<int>("weakAlteration");
        QTest::addColumn<double>("weakRatio");
        QTest::addColumn<double>("unaskedRatio");
        // c', d', e' (steps 28..30): c' missed half the time, d' never missed, e' never asked.
        QTest::newRow("natural notes")
            << 0 << int(OwnAccidentals::None) << 4 << 28 << 0 << 3.0 << 3.0;
        // f', g', a' in G major: fis' missed half the time, g' never missed, a' never asked.
        QTest::newRow("G major") << 1 << int(OwnAccidentals::None) << 7 << 31 << 1 << 3.0 << 3.0;
        // f', g', a' with sharps of their own, every note but fis' and a' never missed: f' 2/3 ×
        // 1 + fis' 1/3 × 3, a' 2/3 × 3 (never asked) + ais' 1/3 × 1.
        QTest::newRow("own sharps")
            << 0 << int(OwnAccidentals::Sharps) << 7 << 31 << 1 << 5.0 / 3 << 7.0 / 3;
    }
    void weakNotesDrawnMoreOften() {
        QFETCH(int, fifths);
        QFETCH(int, own);
        QFETCH(int, lowest);
        QFETCH(int, weakStep);
        QFETCH(int, weakAlteration);
        QFETCH(double, weakRatio);
        QFETCH(double, unaskedRatio);
        Run e(Clef::Violin, lowest, lowest + 2, 400, 2000);
        e.settings.SchwacheNotenOefter = true;
        e.settings.keyFifths = fifths;
        e.settings.accidentals = OwnAccidentals(own);
        auto& records = e.world.records;
        records[lowest] = {200, weakAlteration == 0 ? 100 : 0};
        records[lowest + 1] = {200, 0};
        for (int step = 28; step < 36; ++step)
            e.world.alteredRecords[{step, 1}] = {200, 0};
        e.world.alteredRecords[{weakStep, weakAlteration}] = {200, 100};
        std::mt19937 engine(2023);
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        std::map<int, int> asked;
        for (int exercise = 0; exercise < 80; ++exercise) {
            e.world.randomValue = uniform(engine);
            e.ex().chooseMode(Clef::Violin, false);
            e.start();
            while (e.ex().state() == ExerciseState::Running) {
                ++asked[e.ex().askedIndex()];
                e.world.randomValue = uniform(engine);
                e.ex().answerSpelled(e.ex().askedSpelled());
            }
        }
        QCOMPARE(e.world.recordsAsked, 80);
        const double weak = double(asked[lowest]) / asked[lowest + 1];
        const double unasked = double(asked[lowest + 2]) / asked[lowest + 1];
        QVERIFY2(std::abs(weak / weakRatio - 1) < 0.13, qPrintable(QString::number(weak)));
        QVERIFY2(std::abs(unasked / unaskedRatio - 1) < 0.13, qPrintable(QString::number(unasked)));
    }

    // Tasks in a key: the note as the signature (and a sign of its own) spells it, what it
    // sounds, and how each kind of answer is judged. Draws: the note, then whether it carries a
    // sign of its own, then which.
    void alteredTasks_data() {
        QTest::addColumn<int>("fifths");
        QTest::addColumn<int>("own");
        QTest::addColumn<bool>("earTraining");
        QTest::addColumn<QList<double>>("draws");
        QTest::addColumn<QString>("answerKind");
        QTest::addColumn<int>("answer"); // index, step or pitch
        QTest::addColumn<int>("alteration");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("sign"); // drawn before the head; 9 for none
        QTest::addColumn<QString>("details");
        const int None = int(OwnAccidentals::None);
        const int Sharps = int(OwnAccidentals::Sharps);
        const int Flats = int(OwnAccidentals::Flats);
        const double fLine = 7.5 / 15;     // index 7, f'
        const double eSpace = 13.5 / 15;   // index 13, e''
        const double hLine = 10.5 / 15;    // index 10, h'
        const double fTopLine = 14.5 / 15; // index 14, f''
        const int f1 = 4 * 7 + 3;
        QTest::newRow("G: button f forgets the sharp")
            << 1 << None << false << QList<double>{fLine} << "index" << 7 << 0 << "fis'" << 9
            << "Aufgabe 1: gesucht fis', gewählt f' (Vorzeichen vergessen)";
        QTest::newRow("G: button f with sharp") << 1 << None << false << QList<double>{fLine}
                                                << "spelled" << f1 << 1 << "fis'" << 9 << "";
        QTest::newRow("G: button g flat is enharmonic")
            << 1 << None << false << QList<double>{fLine} << "spelled" << f1 + 1 << -1 << "fis'"
            << 9 << "Aufgabe 1: gesucht fis', gewählt ges' (enharmonisch verwechselt)";
        QTest::newRow("G, ear training: g flat sounds right")
            << 1 << None << true << QList<double>{fLine} << "spelled" << f1 + 1 << -1 << "fis'" << 9
            << "";
        QTest::newRow("G: MIDI f sharp") << 1 << None << false << QList<double>{fLine} << "pitch"
                                         << 66 << 0 << "fis'" << 9 << "";
        QTest::newRow("G: MIDI f forgets the sharp")
            << 1 << None << false << QList<double>{fLine} << "pitch" << 65 << 0 << "fis'" << 9
            << "Aufgabe 1: gesucht fis', gewählt f' (Vorzeichen vergessen)";
        QTest::newRow("G: white key f by the piano window")
            << 1 << None << false << QList<double>{fLine} << "piano" << 7 << 0 << "fis'" << 9
            << "Aufgabe 1: gesucht fis', gewählt f' (Vorzeichen vergessen)";
        QTest::newRow("Es, sharps: e natural cancels the key")
            << -3 << Sharps << false << QList<double>{eSpace, 0.1, 0.9} << "index" << 13 << 0
            << "e''" << 0 << "";
        QTest::newRow("Es, sharps: e sharp")
            << -3 << Sharps << false << QList<double>{eSpace, 0.1, 0.0} << "spelled" << f1 + 6 << 1
            << "eis''" << 1 << "";
        QTest::newRow("Es, sharps: es for e sharp forgets its own sign")
            << -3 << Sharps << false << QList<double>{eSpace, 0.1, 0.0} << "spelled" << f1 + 6 << -1
            << "eis''" << 1 << "Aufgabe 1: gesucht eis'', gewählt es'' (Vorzeichen vergessen)";
        QTest::newRow("Es, sharps: MIDI es for e sharp forgets its own sign")
            << -3 << Sharps << false << QList<double>{eSpace, 0.1, 0.0} << "pitch" << 75 << 0
            << "eis''" << 1 << "Aufgabe 1: gesucht eis'', gewählt es'' (Vorzeichen vergessen)";
        QTest::newRow("G, flats: MIDI f sharp forgets the natural sign")
            << 1 << Flats << false << QList<double>{fLine, 0.1, 0.9} << "pitch" << 66 << 0 << "f'"
            << 0 << "Aufgabe 1: gesucht f', gewählt fis' (Vorzeichen vergessen)";
        QTest::newRow("F: MIDI c'' above b' is c''")
            << -1 << None << false << QList<double>{hLine} << "pitch" << 72 << 0 << "b'" << 9
            << "Aufgabe 1: gesucht b', gewählt c'' (eine Sekunde zu hoch)";
        QTest::newRow("F: white key c'' by the piano window")
            << -1 << None << false << QList<double>{hLine} << "piano" << 11 << 0 << "b'" << 9
            << "Aufgabe 1: gesucht b', gewählt c'' (eine Sekunde zu hoch)";
        QTest::newRow("G: MIDI e'' below fis'' is e''")
            << 1 << None << false << QList<double>{fTopLine} << "pitch" << 76 << 0 << "fis''" << 9
            << "Aufgabe 1: gesucht fis'', gewählt e'' (eine Sekunde zu tief)";
        QTest::newRow("G: MIDI fis'' for fis' is an octave")
            << 1 << None << false << QList<double>{fLine} << "pitch" << 78 << 0 << "fis'" << 9
            << "Aufgabe 1: gesucht fis', gewählt fis'' (eine Oktave zu hoch)";
        QTest::newRow("C, flats: a black key away from the asked step is flat")
            << 0 << Flats << false << QList<double>{hLine, 0.5} << "pitch" << 66 << 0 << "h'" << 9
            << "Aufgabe 1: gesucht h', gewählt ges' (eine Terz zu tief)";
        QTest::newRow("Es: no sign of its own two draws in three")
            << -3 << Sharps << false << QList<double>{eSpace, 0.34} << "spelled" << f1 + 6 << -1
            << "es''" << 9 << "";
        QTest::newRow("C, flats: b' forgotten on the h line")
            << 0 << Flats << false << QList<double>{hLine, 0.2, 0.5} << "index" << 10 << 0 << "b'"
            << -1 << "Aufgabe 1: gesucht b', gewählt h' (Vorzeichen vergessen)";
        QTest::newRow("Cis: his' sounds c''") << 7 << None << false << QList<double>{hLine}
                                              << "pitch" << 72 << 0 << "his'" << 9 << "";
        QTest::newRow("Ces: ces'' sounds h'") << -7 << None << false << QList<double>{11.5 / 15}
                                              << "pitch" << 71 << 0 << "ces''" << 9 << "";
    }
    void alteredTasks() {
        QFETCH(int, fifths);
        QFETCH(int, own);
        QFETCH(bool, earTraining);
        QFETCH(QList<double>, draws);
        QFETCH(QString, answerKind);
        QFETCH(int, answer);
        QFETCH(int, alteration);
        QFETCH(QString, asked);
        QFETCH(int, sign);
        QFETCH(QString, details);
        Run e(Clef::Violin, 0, 14, 400, 2000, earTraining);
        e.settings.keyFifths = fifths;
        e.settings.accidentals = OwnAccidentals(own);
        e.world.randomScript = draws;
        QSignalSpy key(&e.ex(), &Exercise::keyChosen);
        e.start();
        QCOMPARE(key.size(), 1);
        QCOMPARE(key[0][0].value<KeySignature>(), KeySignature{fifths});
        QCOMPARE(noteName(e.ex().askedSpelled()), asked);
        QCOMPARE(e.ex().askedAccidental().value_or(9), sign);
        QCOMPARE(e.world.player.shifts.first(), e.ex().askedSpelled().alteration);
        if (answerKind == "index")
            e.ex().answer(answer);
        else if (answerKind == "piano")
            e.ex().answer(answer, AnswerInput::ScreenKeyboard);
        else if (answerKind == "spelled")
            e.ex().answerSpelled({answer, alteration});
        else
            e.ex().answerPitch(answer, AnswerInput::Midi);
        QCOMPARE(e.ex().errors(), details.isEmpty() ? 0 : 1);
        if (!details.isEmpty()) {
            QVERIFY(e.ex().chosenSpelled());
            e.ex().tmrNoteFalsch_Timer();
        }
        while (e.ex().state() == ExerciseState::Running)
            e.ex().answerSpelled(e.ex().askedSpelled());
        QCOMPARE(e.world.messages.last().details, details);
        QCOMPARE(e.ex().key(), KeySignature{});
    }

    // Without a key or signs of their own a pitch has no say: the inputs answer with indices.
    void pitchIgnoredWithNaturalNotes() {
        Run e(Clef::Violin);
        e.start();
        e.ex().answerPitch(66, AnswerInput::Midi);
        QVERIFY(e.ex().taskOpen());
        QVERIFY(!e.ex().alteredNotes());
    }

    // A key drawn for each exercise stays within the chosen number of signs.
    void keyEachExercise_data() {
        QTest::addColumn<int>("most");
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("fifths");
        QTest::newRow("lowest of 2") << 2 << 0.0 << -2;
        QTest::newRow("highest of 2") << 2 << std::nextafter(1.0, 0.0) << 2;
        QTest::newRow("middle of 7") << 7 << 0.5 << 0;
        QTest::newRow("none allowed") << 0 << 0.9 << 0;
        QTest::newRow("junk above 7") << 40 << std::nextafter(1.0, 0.0) << 7;
    }
    void keyEachExercise() {
        QFETCH(int, most);
        QFETCH(double, r);
        QFETCH(int, fifths);
        Run e(Clef::Bass);
        e.settings.keyEachExercise = true;
        e.settings.keyMostAccidentals = most;
        e.world.randomScript = {r};
        e.start();
        QCOMPARE(e.ex().key().fifths, fifths);
        QVERIFY(e.ex().alteredNotes());
    }

    void allRightGivesZero() {
        Run e(Clef::Bass, 2, 9, 400, 2000);
        e.start();
        for (int task = 1; task <= 25; ++task) {
            QCOMPARE(e.ex().task(), task);
            e.ask(task % 8 + 2);
            e.answer(e.ex().askedIndex());
        }
        QCOMPARE(e.world.player.played.size(), 25);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text, QString("Du hast von 25 Aufgaben 0 falsch gemacht."));
        QCOMPARE(e.world.messages[0].title, QString());
        QCOMPARE(e.world.messages[0].icon, MessageIcon::Information);
        QCOMPARE(e.ex().state(), ExerciseState::Idle);
    }

    void wrongAnswersAndTimeOutsCount() {
        Run e(Clef::Violin, 0, 14, 300, 2000);
        e.start();
        for (int task = 1; task <= 25; ++task) {
            if (task % 5 == 0) {
                e.answer((e.ex().askedIndex() + 1) % 15);
                e.ex().tmrNoteFalsch_Timer();
            } else if (task % 7 == 0) {
                e.ex().ZeitVergangen(300);
            } else {
                e.answer(e.ex().askedIndex());
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
        e.ex().chooseMode(Clef::Violin, false);
        e.start();
        for (int task = 1; task <= 25; ++task)
            e.answer(e.ex().askedIndex());
        QCOMPARE(e.world.messages.last().text,
                 QString("Du hast von 25 Aufgaben 0 falsch gemacht."));
        QCOMPARE(e.world.messages.last().details, QString());
    }

    // Phrases: answered note by note in order, the mark moving on; a wrong note and a timed-out
    // one stay marked a second without a message and without stopping the phrase; the result
    // counts notes, the details name each note's task and place.
    void phrasesAnsweredInOrder_data() {
        QTest::addColumn<int>("notesPerTask");
        QTest::addColumn<bool>("earTraining");
        QTest::newRow("four, read") << 4 << false;
        QTest::newRow("eight, heard") << 8 << true;
    }
    void phrasesAnsweredInOrder() {
        QFETCH(int, notesPerTask);
        QFETCH(bool, earTraining);
        Run e(Clef::Violin, 0, 14, 400, 2000, earTraining);
        e.settings.notesPerTask = notesPerTask;
        e.world.randomValue = 0.3;
        QSignalSpy shown(&e.ex(), &Exercise::phraseShown);
        QSignalSpy judged(&e.ex(), &Exercise::phraseNoteJudged);
        QSignalSpy moved(&e.ex(), &Exercise::markMoved);
        QSignalSpy outcomes(&e.ex(), &Exercise::taskEnded);
        QSignalSpy singleShown(&e.ex(), &Exercise::taskShown);
        e.start();
        for (int task = 1; task <= 25; ++task) {
            QCOMPARE(e.ex().task(), task);
            QCOMPARE(int(e.ex().phrase().size()), notesPerTask);
            QCOMPARE(shown.count(), task);
            QCOMPARE(shown.last().at(0).toBool(), !earTraining);
            for (int place = 0; place < notesPerTask; ++place) {
                QCOMPARE(e.ex().place(), place);
                QVERIFY(e.ex().taskOpen());
                const int asked = e.ex().askedIndex();
                QCOMPARE(asked, e.ex().phrase()[std::size_t(place)].index);
                if ((task == 3 && place == 1) || (task == 5 && place == notesPerTask - 1)) {
                    if (task == 3)
                        e.answer((asked + 1) % 15);
                    else
                        e.ex().ZeitVergangen(400);
                    QVERIFY(!e.ex().taskOpen());
                    QCOMPARE(e.ex().tmrNoteFalsch->interval(), 1000);
                    QCOMPARE(e.ex().phrase()[std::size_t(place)].state,
                             task == 3 ? PhraseNote::State::Wrong : PhraseNote::State::TimedOut);
                    e.ex().tmrNoteFalsch_Timer();
                } else {
                    e.answer(asked);
                }
            }
        }
        QCOMPARE(singleShown.count(), 0);
        QCOMPARE(judged.count(), 25 * notesPerTask);
        QCOMPARE(moved.count(), 25 * (notesPerTask - 1));
        QCOMPARE(outcomes.count(), 25 * notesPerTask);
        const auto outcome = [&](int i) { return outcomes.at(i).at(0).value<TaskOutcome>(); };
        QCOMPARE(outcome(notesPerTask * 2 + 1).task, 3);
        QCOMPARE(outcome(notesPerTask * 2 + 1).place, 1);
        QVERIFY(!outcome(notesPerTask * 2 + 1).right);
        QCOMPARE(outcome(notesPerTask * 25 - 1).place, notesPerTask - 1);
        // Heard, each phrase sounds before it is answered; read, each answer sounds as it is
        // given, the wrong one as chosen, the one that timed out not at all.
        QCOMPARE(e.world.player.played.size(), 0);
        QCOMPARE(e.world.player.phrases.size(), earTraining ? 25 : 0);
        if (earTraining) {
            QCOMPARE(int(e.world.player.phrases[0].first.size()), notesPerTask);
            QCOMPARE(e.world.player.phrases[0].second, 600);
        }
        QCOMPARE(e.world.player.started.size(), earTraining ? 0 : 25 * notesPerTask - 1);
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text,
                 QStringLiteral("Du hast von %1 Noten 2 falsch gemacht.").arg(25 * notesPerTask));
        const QStringList details = e.world.messages[0].details.split(QLatin1Char('\n'));
        QVERIFY2(details.value(0).startsWith(QStringLiteral("Aufgabe 3, Note 2: gesucht ")),
                 qPrintable(details.value(0)));
        QVERIFY2(details.value(1).startsWith(
                     QStringLiteral("Aufgabe 5, Note %1: gesucht ").arg(notesPerTask)),
                 qPrintable(details.value(1)));
        QVERIFY(details.value(1).endsWith(QStringLiteral(" (Zeit vorbei)")));
        QCOMPARE(e.ex().state(), ExerciseState::Idle);
    }

    void timeOutMessageAndNextTask() {
        Run e(Clef::Violin, 9, 10, 400, 2000, true);
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

    void wrongAnswerOnLastTaskShowsDisplayFirst() {
        Run e(Clef::Bass, 0, 14, 400, 2000);
        e.start();
        for (int task = 1; task < 25; ++task)
            e.answer(e.ex().askedIndex());
        e.answer((e.ex().askedIndex() + 1) % 15);
        QVERIFY(e.world.messages.isEmpty());
        QVERIFY(e.ex().tmrNoteFalsch->isActive());
        e.ex().tmrNoteFalsch_Timer();
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(e.world.messages[0].text, QString("Du hast von 25 Aufgaben 1 falsch gemacht."));
    }

    void answersOutsideTheRowIgnored() {
        Run e(Clef::Bass, 0, 14, 400, 2000);
        e.start();
        for (int index : {-1, 15, 32767}) {
            e.answer(index);
            QCOMPARE(e.ex().errors(), 0);
            QVERIFY(!e.ex().tmrNoteFalsch->isActive());
        }
        e.answer(e.ex().askedIndex());
        QCOMPARE(e.ex().task(), 2);
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
        Run e(Clef::Violin, 0, 14, 400, 2000);
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
        Run e(Clef::Violin, 0, 14, 0, 2000);
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
        e.ex().chooseMode(Clef::Violin, false);
        e.start();
        QCOMPARE(keys.connects, 2);

        // In D major black keys answer too, by pitch: cis' asked, c' pressed forgets the sign.
        e.ex().abort();
        e.settings.keyFifths = 2;
        e.ex().chooseMode(Clef::Violin, false);
        e.ask(4);
        e.start();
        keys.press(TrebleKeys[4] + 1);
        QTRY_COMPARE(e.ex().task(), 2);
        QCOMPARE(e.ex().errors(), 0);
        keys.press(TrebleKeys[0] - 2); // below the clef and its signs
        QTest::qWait(50);
        QCOMPARE(e.ex().task(), 2);
        keys.press(TrebleKeys[4]);
        QTRY_COMPARE(e.ex().errors(), 1);
        QVERIFY(e.ex().chosenSpelled() == (SpelledNote{e.ex().askedSpelled().step, 0}));
        e.ex().abort();
    }

    // The microphone's libraries are opened only for an exercise the learner chose it for, and
    // a device that cannot be opened is told once the exercise has ended and its result shown,
    // never over a task whose time runs.
    void microphoneOnlyWhenChosen_data() {
        QTest::addColumn<bool>("chosen");
        // In this order: a library once opened stays for the rest of the run.
        QTest::newRow("not chosen: nothing opened, nothing told") << false;
        QTest::newRow("chosen, no device: told after the result") << true;
    }
    void microphoneOnlyWhenChosen() {
        QFETCH(bool, chosen);
        // No sound server, and ALSA without any device.
        QTemporaryFile noAlsaConfiguration;
        QVERIFY(noAlsaConfiguration.open());
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(noAlsaConfiguration.fileName()));
        qputenv("PULSE_SERVER", "unix:/nonexistent/native");
        Run e(Clef::Violin, 0, 14, 400, 2000);
        MicrophoneAnswers microphone(e.ex(), [&] {
            return MicrophoneAnswers::Choice{chosen, false};
        });
        QList<qsizetype> noticeAfterMessages;
        connect(&microphone, &MicrophoneAnswers::notice,
                [&] { noticeAfterMessages.append(e.world.messages.size()); });
        e.start();
        for (int task = 1; task <= 25; ++task) {
            QCoreApplication::processEvents();
            QVERIFY(noticeAfterMessages.isEmpty());
            e.answer(e.ex().askedIndex());
        }
        QCoreApplication::processEvents();
        QTRY_COMPARE(noticeAfterMessages, chosen ? QList<qsizetype>{1} : QList<qsizetype>{});
        QCOMPARE(e.world.messages.size(), 1);
        QCOMPARE(mapped("libaubio"), chosen);
        QCOMPARE(mapped("librtaudio"), chosen);
        qunsetenv("ALSA_CONFIG_PATH");
        qunsetenv("PULSE_SERVER");
    }

    // The real timers, at a short time per note: the time-out really comes.
    void realTimeOutComes() {
        Run e(Clef::Violin, 0, 14, 5, 0);
        e.start();
        QTRY_COMPARE_WITH_TIMEOUT(e.world.messages.size(), 1, 5000);
        QVERIFY(e.world.messages[0].text.startsWith("Zeit vorbei. Gesucht wurde: "));
    }
};

QTEST_MAIN(ExerciseTest)
#include "tst_exercise.moc"

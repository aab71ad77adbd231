// Whole exercises through the seams, without a window: task generation, timers, answers and the
// end.
#include "FakeExercise.h"
#include "input/MicrophoneAnswers.h"
#include "input/MidiAnswers.h"
#include "training/Exercise.h"

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
        QCOMPARE(e.ex().askedNote(), note);
        QCOMPARE(e.world.recordsAsked, 0);
    }

    // Weights 1 + 4 × share of misses: a note missed half the time 3, one never missed 1, one
    // never asked 3.
    void weakNotesDrawnMoreOften() {
        Run e(Clef::Violin, 4, 6, 400, 2000);
        e.settings.SchwacheNotenOefter = true;
        e.world.records[4] = {200, 100};
        e.world.records[5] = {200, 0};
        std::mt19937 engine(2023);
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        std::map<int, int> asked;
        for (int exercise = 0; exercise < 80; ++exercise) {
            e.world.randomValue = uniform(engine);
            e.ex().chooseMode(Clef::Violin, false);
            e.start();
            while (e.ex().state() == ExerciseState::Running) {
                ++asked[e.ex().askedNote()];
                e.world.randomValue = uniform(engine);
                e.answer(e.ex().askedNote());
            }
        }
        QCOMPARE(e.world.recordsAsked, 80);
        const double missedHalf = double(asked[4]) / asked[5];
        const double neverAsked = double(asked[6]) / asked[5];
        QVERIFY2(missedHalf > 2.6 && missedHalf < 3.4, qPrintable(QString::number(missedHalf)));
        QVERIFY2(neverAsked > 2.6 && neverAsked < 3.4, qPrintable(QString::number(neverAsked)));
    }

    void allRightGivesZero() {
        Run e(Clef::Bass, 2, 9, 400, 2000);
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
        Run e(Clef::Violin, 0, 14, 300, 2000);
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
        e.ex().chooseMode(Clef::Violin, false);
        e.start();
        for (int task = 1; task <= 25; ++task)
            e.answer(e.ex().askedNote());
        QCOMPARE(e.world.messages.last().text,
                 QString("Du hast von 25 Aufgaben 0 falsch gemacht."));
        QCOMPARE(e.world.messages.last().details, QString());
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
            e.answer(e.ex().askedNote());
        e.answer((e.ex().askedNote() + 1) % 15);
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
        e.answer(e.ex().askedNote());
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
            e.answer(e.ex().askedNote());
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

// The real program on an X server of the test's own, driven only by the mouse and keys as a
// learner drives it. What it shows is read from screenshots, its messages over the
// accessibility bus as a screen reader reads them, its sound from a private sound server and
// what it keeps from its settings file.
#include "HeardPitch.h"
#include "MonitorCapture.h"
#include "OwnDisplay.h"
#include "ProgramSession.h"
#include "ScreenReading.h"
#include "WindowLayout.h"
#include "Xdotool.h"
#include "feedback/NotePitches.h"

#include <QColor>
#include <QSettings>
#include <QTest>

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace {

const QString Violin = QStringLiteral("Violin");
const QString Bass = QStringLiteral("Bass");

const QColor red(255, 0, 0);
const QColor green(0, 255, 0);
const QColor white(255, 255, 255);

constexpr int tasksPerExercise = 25;
constexpr double pitchToleranceCents = 35;

QString noteName(const QString& clef, int index) {
    static const QStringList treble = {"f",  "g",  "a",  "h",   "c'",  "d'",  "e'", "f'",
                                       "g'", "a'", "h'", "c''", "d''", "e''", "f''"};
    static const QStringList bass = {"F", "G", "A", "H",  "c",  "d",  "e", "f",
                                     "g", "a", "h", "c'", "d'", "e'", "f'"};
    return (clef == Bass ? bass : treble).at(index);
}

double midiNoteFrequency(int note) {
    return 440.0 * std::exp2((note - 69) / 12.0);
}

int midiNoteOf(const QString& clef, int index) {
    return clefPitches[clef == Bass ? 1 : 0].midiNotes[std::size_t(index)];
}

// A wrong answer next to the right one.
int neighbourOf(int note) {
    return note == 14 ? 13 : note + 1;
}

} // namespace

class EndToEndTest : public OwnDisplayTest {
    Q_OBJECT

public:
    using OwnDisplayTest::OwnDisplayTest;

private:
    std::unique_ptr<MonitorCapture> capture_;
    MonitorCapture::Clock::time_point captureSettled_;
    // When the test had read each task's note from the screen: the note had sounded by then,
    // and the next one sounds only after the answer.
    std::vector<MonitorCapture::Clock::time_point> soundedBy_;
    quint64 mainWindow_ = 0;

    QImage mainWindowShot() const { return session_->mainWindowShot(); }

    std::optional<int> watchAskedNote(const QString& clef, bool untilGone) {
        const std::optional<int> note = session_->watchAskedNote(clef, untilGone);
        if (note)
            soundedBy_.push_back(MonitorCapture::Clock::now());
        return note;
    }

    // The chosen note red beside the asked note green, on the buttons and on the staff, each in
    // its exact colour: the disabled row is neither shaded nor paled.
    void checkWrongAnswerShown(const QString& clef, int asked, int chosen) const {
        QImage shot;
        const bool marked = QTest::qWaitFor([&] {
            shot = mainWindowShot();
            return tintAt(shot, layout::answerFace(clef, chosen)) == Tint::Red;
        });
        QVERIFY2(marked, "the chosen answer button did not turn red");
        for (const auto& [index, colour] : {std::pair{chosen, red}, std::pair{asked, green}}) {
            QCOMPARE(QColor(shot.pixel(layout::answerFace(clef, index))), colour);
            for (const QPoint corner : layout::answerFaceCorners(clef, index))
                QCOMPARE(QColor(shot.pixel(corner)), colour);
        }

        const Head askedHead = headInColumn(shot, layout::askedColumnX);
        QCOMPARE(askedHead.state, Head::State::Shown);
        QCOMPARE(noteAtHeadTop(clef, askedHead.top).value_or(-1), asked);
        QCOMPARE(QColor(shot.pixel(headInside(layout::askedColumnX, askedHead))), green);
        const Head chosenHead = headInColumn(shot, layout::chosenColumnX);
        QCOMPARE(chosenHead.state, Head::State::Shown);
        QCOMPARE(noteAtHeadTop(clef, chosenHead.top).value_or(-1), chosen);
        QCOMPARE(QColor(shot.pixel(headInside(layout::chosenColumnX, chosenHead))), red);
    }

    // The wrong-answer display ends with an empty staff while the next note sounds: no stale
    // head is left standing without its ledger lines.
    bool waitForDisplayEnd() const {
        return QTest::qWaitFor([&] {
            return headInColumn(mainWindowShot(), layout::askedColumnX).state ==
                   Head::State::Hidden;
        });
    }

    // A point of a head's filling above its middle, where no ledger line runs.
    static QPoint headInside(int columnX, const Head& head) {
        return {columnX, int(std::lround((head.top + layout::headDiameter / 2 - 90) / 15))};
    }

    // A listener makes the null sink play in real time; before, it may have rendered ahead.
    void startCapture() {
        capture_ = std::make_unique<MonitorCapture>();
        QVERIFY2(capture_->isRunning(), "parec did not start");
        QTest::qWait(2100);
        captureSettled_ = MonitorCapture::Clock::now();
        soundedBy_.clear();
    }

    // Each task's note was heard at the pitch asked, after the previous task's head and before
    // its own, and nothing sounded after the last task.
    void checkNotesHeard(const QString& clef, const QList<int>& asked) {
        capture_->stop();
        QCOMPARE(qsizetype(soundedBy_.size()), asked.size());
        const std::span<const std::int16_t> recorded(capture_->samples());
        std::size_t from = capture_->firstArrivedAfter(captureSettled_);
        for (qsizetype task = 0; task < asked.size(); ++task) {
            const std::size_t to = capture_->firstArrivedAfter(soundedBy_[std::size_t(task)]);
            const std::size_t onset = onsetFrom(recorded.first(to), from);
            const QString note = noteName(clef, asked[task]);
            QVERIFY2(
                onset < to,
                qPrintable(QStringLiteral("task %1 (%2) was not heard").arg(task + 1).arg(note)));
            // Past the attack, where the tone is steady.
            const std::size_t steady = onset + MonitorCapture::sampleRate / 10;
            const double heard = heardPitch(recorded, steady, to, MonitorCapture::sampleRate);
            const double wanted = midiNoteFrequency(midiNoteOf(clef, asked[task]));
            const double cents = 1200.0 * std::log2(heard / wanted);
            QVERIFY2(std::abs(cents) < pitchToleranceCents,
                     qPrintable(QStringLiteral("task %1 asked %2 (%3 Hz) but %4 Hz sounded")
                                    .arg(task + 1)
                                    .arg(note)
                                    .arg(wanted)
                                    .arg(heard)));
            from = to;
        }
        // The last note's end may still have been on its way.
        const std::size_t afterLast =
            capture_->firstArrivedAfter(soundedBy_.back() + std::chrono::milliseconds(500));
        QVERIFY2(onsetFrom(recorded, afterLast) == recorded.size(),
                 "something sounded after the last task");
    }

    static QColor keyColour(quint64 keyboard, int key) {
        const QImage shot = grabWindow(keyboard);
        const QPoint face = layout::whiteKeyFace(key);
        return shot.valid(face) ? QColor(shot.pixel(face)) : QColor();
    }

private slots:
    void initTestCase() {
        openSession();
        if (!session_)
            return;
        QVERIFY2(session_->start(), "the main window did not show");
        mainWindow_ = session_->mainWindow();
    }

    void cleanupTestCase() {
        capture_.reset();
        closeSession();
    }

    // Treble clef c' to e'': one wrong answer, one time-out, the rest right, to the result and
    // its details.
    void trebleExercise() {
        startCapture();
        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("4"), QStringLiteral("1")));
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the settings dialog stayed open");

        const QSettings saved(session_->settingsFile(), QSettings::IniFormat);
        QCOMPARE(saved.value(QStringLiteral("Einstellungen/Zeitvorbei")).toString(),
                 QStringLiteral("4"));
        QCOMPARE(saved.value(QStringLiteral("Einstellungen/Zeitweg")).toString(),
                 QStringLiteral("1"));
        QCOMPARE(saved.value(QStringLiteral("Reg/Started")).toString(), QStringLiteral("1"));

        QList<int> asked;
        int mistakes = 0;
        QStringList missed;
        for (int task = 1; task <= tasksPerExercise; ++task) {
            const std::optional<int> note = watchAskedNote(Violin, true);
            QVERIFY2(note, qPrintable(QStringLiteral("task %1: no note came and went").arg(task)));
            QVERIFY2(*note >= 4 && *note <= 13,
                     qPrintable(QStringLiteral("task %1 asked %2, outside the range chosen")
                                    .arg(task)
                                    .arg(noteName(Violin, *note))));
            asked.append(*note);
            if (task == 2) {
                QVERIFY(
                    xdotool::click(mainWindow_, layout::answerButton(Violin, neighbourOf(*note))));
                checkWrongAnswerShown(Violin, *note, neighbourOf(*note));
                if (QTest::currentTestFailed())
                    return;
                // The key that closes the time-out message must not abort from the button the
                // focus would otherwise fall to; the result below counts all 25 tasks.
                QVERIFY(xdotool::key(QStringLiteral("space")));
                QVERIFY2(waitForDisplayEnd(), "the wrong-answer display did not end");
                ++mistakes;
                missed.append(
                    QStringLiteral("Aufgabe 2: gesucht %1, gewählt %2 (eine Sekunde zu hoch)")
                        .arg(noteName(Violin, *note), noteName(Violin, neighbourOf(*note))));
            } else if (task == 3) {
                QCOMPARE(session_->readAndCloseMessage(titles::message),
                         QStringLiteral("Zeit vorbei. Gesucht wurde: %1\n( Leertaste drücken, "
                                        "um diese Meldung zu schließen )")
                             .arg(noteName(Violin, *note)));
                ++mistakes;
                missed.append(QStringLiteral("Aufgabe 3: gesucht %1 (Zeit vorbei)")
                                  .arg(noteName(Violin, *note)));
            } else {
                QVERIFY(xdotool::click(mainWindow_, layout::answerButton(Violin, *note)));
            }
        }
        QString details;
        QCOMPARE(session_->readAndCloseMessage(titles::message, &details),
                 QStringLiteral("Du hast von 25 Aufgaben %1 falsch gemacht.").arg(mistakes));
        missed.append(QStringLiteral("Oktave verwechselt: 0, Nachbarton: 1, anderer Schlüssel: 0, "
                                     "Zeit vorbei: 1, sonst: 0"));
        QCOMPARE(details, missed.join(QLatin1Char('\n')));
        checkNotesHeard(Violin, asked);
    }

    // Bass clef A to d' answered on the keyboard window, one answer wrong, aborted.
    void bassExerciseOnKeyboard() {
        startCapture();
        const quint64 dialog = session_->openSettings(layout::bassButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Bass, 2)));
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Bass, 12)));
        QVERIFY(xdotool::click(dialog, layout::startWithKeyboardButton));
        const quint64 keyboard = waitForWindow(titles::keyboard);
        QVERIFY2(keyboard != 0, "the keyboard window did not show");
        QVERIFY2(waitForNoWindow(titles::settings), "the settings dialog stayed open");

        const std::optional<QRect> main = xdotool::geometry(mainWindow_);
        QVERIFY(main);
        QVERIFY2(QTest::qWaitFor([&] {
                     const std::optional<QRect> keys = xdotool::geometry(keyboard);
                     return keys && keys->bottomLeft() == main->bottomLeft();
                 }),
                 "the keyboard window is not at the main window's lower left corner");

        QList<int> asked;
        const auto nextNote = [&](bool untilGone) {
            const std::optional<int> note = watchAskedNote(Bass, untilGone);
            if (note)
                asked.append(*note);
            return note;
        };

        std::optional<int> note = nextNote(true);
        QVERIFY2(note && *note >= 2 && *note <= 12, "no note in the range chosen was asked");
        QVERIFY(xdotool::click(keyboard, layout::whiteKey(*note)));

        note = nextNote(true);
        QVERIFY2(note && *note >= 2 && *note <= 12, "no note in the range chosen was asked");
        const int wrong = neighbourOf(*note);
        QVERIFY(xdotool::click(keyboard, layout::whiteKey(wrong)));
        QVERIFY2(QTest::qWaitFor([&] { return keyColour(keyboard, wrong) == red; }),
                 "the key chosen did not turn red");
        QCOMPARE(keyColour(keyboard, *note), green);
        const int askedAfterWrong = *note;
        QVERIFY2(waitForDisplayEnd(), "the wrong-answer display did not end");

        note = nextNote(true);
        QVERIFY2(note && *note >= 2 && *note <= 12, "no note in the range chosen was asked");
        QCOMPARE(keyColour(keyboard, wrong), white);
        QCOMPARE(keyColour(keyboard, askedAfterWrong), white);
        QVERIFY(xdotool::click(keyboard, layout::whiteKey(*note)));

        // Aborted while the fourth note is shown.
        note = nextNote(false);
        QVERIFY2(note, "the fourth note was not shown");
        QCOMPARE(session_->abortExercise(), abortedText);
        QVERIFY2(waitForNoWindow(titles::keyboard),
                 "the keyboard window stayed after the exercise");
        checkNotesHeard(Bass, asked);
    }

    // Ear training shows no note; starting without a range is refused first.
    void earTrainingAborted() {
        const quint64 dialog = session_->openSettings(layout::violinEarTrainingButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(xdotool::click(dialog, layout::startButton));
        QCOMPARE(session_->readAndCloseMessage(titles::error),
                 QStringLiteral("Im Violinschlüssel muss ein tiefster UND ein höchster Ton "
                                "ausgewählt werden."));
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the settings dialog stayed open");

        // Once the time bar runs, the task is on.
        QVERIFY2(QTest::qWaitFor(
                     [&] { return tintAt(mainWindowShot(), layout::progressStart) != Tint::White; },
                     10000),
                 "the time bar did not start");
        QCOMPARE(headInColumn(mainWindowShot(), layout::askedColumnX).state, Head::State::Hidden);
        QCOMPARE(session_->abortExercise(), abortedText);
    }

    void endButtonEndsProgram() { endWithEndButton(); }
};

int main(int argc, char* argv[]) {
    return runOnOwnDisplay<EndToEndTest>(argc, argv);
}

#include "tst_endtoend.moc"

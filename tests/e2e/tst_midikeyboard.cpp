// Whole exercises answered on instruments. On a MIDI keyboard: the real program on an X server of
// the test's own joins a JACK server of the test's own, and a test client plays the keys into its
// port "Virelo:Eingang", connected as a patchbay connects it. On a cello: rendered notes are
// played into the "mic" sink of the session's sound server, which the program hears as its
// microphone. The asked note is read off the screen.
#include "AMajor.h"
#include "JackTestKeyboard.h"
#include "MonitorCapture.h"
#include "NeededServer.h"
#include "OwnDisplay.h"
#include "PrivateJackServer.h"
#include "ProgramSession.h"
#include "RenderedNotes.h"
#include "ScreenReading.h"
#include "WindowLayout.h"
#include "Xdotool.h"
#include "training/NoteModel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace {

const QString Violin = QStringLiteral("Violin");
const QString Bass = QStringLiteral("Bass");
const std::string input = "Virelo:Eingang";

const QString notice = QStringLiteral("Hinweis");
const QString microphoneNotice = QStringLiteral(
    "Das Mikrofon war während der Übung nicht erreichbar. Die Übung lief ohne Mikrofon.");

constexpr int tasksPerExercise = 25;
constexpr int phraseNotes = 4;
// After the head has gone: the program's own note has died away at the microphone.
constexpr qint64 deafAfterSound = 700;

int keyOf(int index) {
    return clefNote(Clef::Violin, index)->midiPitch();
}

// The black key beside a note's: above it, unless a white key follows (after e and h).
int blackKeyBeside(int index) {
    const int key = keyOf(index);
    return SpelledNote::naturalOf(key + 1) ? key - 1 : key + 1;
}

// Cello notes of the bass clef, rendered once, played into the microphone.
class Cello {
public:
    static constexpr double rate = 44100;

    bool isReady() const { return renderer_.isLoaded() && folder_.isValid(); }

    // Starts playing the note of `index`, raised by `semitones`, held for `seconds`; the
    // process ends with the sound.
    std::unique_ptr<QProcess> play(int index, double seconds, int semitones = 0) {
        const QString file =
            folder_.filePath(QStringLiteral("%1-%2-%3.raw").arg(index).arg(semitones).arg(seconds));
        if (!QFile::exists(file)) {
            const std::vector<float> samples = renderer_.render(
                {instrument::cello, clefNote(Clef::Bass, index)->midiPitch() + semitones, seconds},
                0.05);
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly))
                return nullptr;
            out.write(reinterpret_cast<const char*>(samples.data()),
                      qint64(samples.size() * sizeof(float)));
        }
        auto player = std::make_unique<QProcess>();
        player->start(QStringLiteral("paplay"),
                      {QStringLiteral("--device=mic"), QStringLiteral("--raw"),
                       QStringLiteral("--format=float32le"), QStringLiteral("--rate=44100"),
                       QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20"), file});
        return player;
    }

    // Plays the note to its end.
    bool playToEnd(int index, double seconds = 0.5, int semitones = 0) {
        const std::unique_ptr<QProcess> player = play(index, seconds, semitones);
        return player && player->waitForFinished() && player->exitCode() == 0;
    }

private:
    NoteRenderer renderer_{largeSoundFont, rate};
    QTemporaryDir folder_;
};

// The tenor clef's notes A..a', and where each stands in the answer rows: on the bass row from
// A, on the treble row from f.
constexpr std::array<int, 15> tenorKeys = {45, 47, 48, 50, 52, 53, 55, 57,
                                           59, 60, 62, 64, 65, 67, 69};
QPoint tenorAnswerFace(int index) {
    return index <= 12 ? layout::answerFace(Bass, index + 2)
                       : layout::answerFace(Violin, index - 5);
}

// A wrong answer next to the right one.
int neighbourOf(int note) {
    return note == 14 ? 13 : note + 1;
}

} // namespace

class MidiKeyboardTest : public OwnDisplayTest {
    Q_OBJECT

public:
    using OwnDisplayTest::OwnDisplayTest;

private:
    std::unique_ptr<PrivateJackServer> jack_;
    std::unique_ptr<JackTestKeyboard> keyboard_;
    bool replayed_ = false; // a note played again in the exercise under way

    QImage mainWindowShot() const { return session_->mainWindowShot(); }

    // The staff shows nothing for `milliseconds`: no task has been answered, neither rightly
    // (the next note would show) nor wrongly (both heads would).
    bool staffStaysEmpty(int milliseconds) const {
        QElapsedTimer watched;
        watched.start();
        while (watched.elapsed() < milliseconds) {
            const QImage shot = mainWindowShot();
            if (headInColumn(shot, layout::askedColumnX).state != Head::State::Hidden ||
                headInColumn(shot, layout::chosenColumnX).state != Head::State::Hidden)
                return false;
            QTest::qWait(50);
        }
        return true;
    }

    // Plays a task's note into the microphone. Played again, once an exercise, when the program
    // showed nothing of it within six seconds (neither the next head nor the result), as a
    // learner plays again a note that went unheard: under the sanitizers a last note went
    // unheard once in many runs. The replay is told; a second one fails.
    bool playUntilHeard(Cello& cello, int note) {
        return playUntilHeard(cello, note, [](const QImage& shot) {
            return headInColumn(shot, layout::askedColumnX).state == Head::State::Shown;
        });
    }
    // The same, where `taken` tells from the main window that the note was.
    bool playUntilHeard(Cello& cello, int note, const std::function<bool(const QImage&)>& taken) {
        if (!cello.playToEnd(note))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 6000) {
            if (taken(mainWindowShot()) ||
                !xdotool::visibleWindows(QStringLiteral("^%1$").arg(titles::message)).isEmpty())
                return true;
            QTest::qWait(50);
        }
        qWarning("the note of index %d went unheard: played again", note);
        return !std::exchange(replayed_, true) && cello.playToEnd(note);
    }

    // Reads and closes the message boxes with these titles, each once, in the order they stand:
    // the one on top first. Their texts by title.
    QMap<QString, QString> readAndCloseMessages(const QStringList& titles) const {
        QMap<QString, QString> texts;
        while (texts.size() < titles.size()) {
            QString onTop;
            const bool shown = QTest::qWaitFor([&] {
                const quint64 focused = xdotool::focusedWindow();
                for (const QString& title : titles)
                    if (!texts.contains(title) &&
                        xdotool::visibleWindows(QStringLiteral("^%1$").arg(title))
                            .contains(focused))
                        onTop = title;
                return !onTop.isEmpty();
            });
            if (!shown)
                break;
            texts[onTop] = session_->readAndCloseMessage(onTop);
        }
        return texts;
    }

    // What the JACK server shows of the way the keys take, for a failure's message.
    QString midiPath() const {
        if (!keyboard_->portExists(input))
            return QStringLiteral("the program's MIDI input has gone");
        return keyboard_->connected(keyboard_->outputName(), input)
                   ? QStringLiteral("the test's client is connected to the program's input")
                   : QStringLiteral("the connection to the program's input has gone");
    }

private slots:
    void initTestCase() {
        // Before the session, whose program takes the server's name from this process.
        jack_ = std::make_unique<PrivateJackServer>();
        NEEDS_SERVER(jack_->isRunning(), "jackd is not installed or would not start");
        openSession();
        if (!session_)
            return;
        QVERIFY2(session_->start(), "the main window did not show");
        keyboard_ = std::make_unique<JackTestKeyboard>();
        QVERIFY2(keyboard_->isOpen(), "the test's MIDI client did not open");
        QVERIFY2(QTest::qWaitFor([&] { return keyboard_->portExists(input); }, 20000),
                 "the program's MIDI input did not show");
        QVERIFY(keyboard_->connect(keyboard_->outputName(), input));
    }

    void cleanupTestCase() {
        closeSession();
        keyboard_.reset();
        jack_.reset();
    }

    // Treble clef, whole range: one key wrong, a black key and one outside the clef that change
    // nothing, one answer from a keyboard plugged in after the program started.
    void trebleExerciseOnKeys() {
        QVERIFY(keyboard_->plugInHardware());
        QVERIFY(!keyboard_->connected(keyboard_->hardwareName(), input));

        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        QVERIFY2(session_->startRange(dialog, Violin, 0, 14), "the settings dialog stayed open");
        QVERIFY2(
            QTest::qWaitFor([&] { return keyboard_->connected(keyboard_->hardwareName(), input); }),
            "the keyboard plugged in was not connected when the exercise started");

        for (int task = 1; task <= tasksPerExercise; ++task) {
            const std::optional<int> note = session_->watchAskedNote(Violin, true);
            QVERIFY2(note, qPrintable(QStringLiteral("task %1: no note came and went; %2")
                                          .arg(task)
                                          .arg(midiPath())));
            if (task == 2) {
                const int wrong = neighbourOf(*note);
                keyboard_->press(keyOf(wrong));
                QVERIFY2(QTest::qWaitFor([&] {
                             return tintAt(mainWindowShot(), layout::answerFace(Violin, wrong)) ==
                                    Tint::Red;
                         }),
                         "the key played did not turn its answer red");
                QCOMPARE(tintAt(mainWindowShot(), layout::answerFace(Violin, *note)), Tint::Green);
                // The display ends with the staff empty while the next note sounds.
                QVERIFY2(QTest::qWaitFor([&] {
                             return headInColumn(mainWindowShot(), layout::askedColumnX).state ==
                                    Head::State::Hidden;
                         }),
                         "the wrong-answer display did not end");
                continue;
            }
            if (task == 3) {
                const QImage before = mainWindowShot();
                keyboard_->press(blackKeyBeside(*note));
                keyboard_->press(keyOf(14) + 2); // above the clef's notes
                QTest::qWait(500);
                QVERIFY2(mainWindowShot() == before, "a key without a note changed the window");
            }
            keyboard_->press(keyOf(*note), task == 4);
        }
        QCOMPARE(session_->readAndCloseMessage(titles::message),
                 QStringLiteral("Du hast von 25 Aufgaben 1 falsch gemacht."));
    }

    // Tenor clef, chosen in the list of "Weitere Schlüssel…", its whole range answered on the
    // keys: one key wrong, marked in a row that has it.
    void tenorExerciseOnKeys() {
        const quint64 dialog = session_->openSettings(layout::moreClefsButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(xdotool::click(dialog, layout::clefList));
        QTest::qWait(300);
        QVERIFY(xdotool::key(QStringLiteral("Down")));
        QVERIFY(xdotool::key(QStringLiteral("Return")));
        QTest::qWait(300);
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        QVERIFY(xdotool::click(dialog, layout::startButton));
        QVERIFY2(waitForNoWindow(titles::settings), "the settings dialog stayed open");

        const QString tenor = QStringLiteral("Tenor");
        for (int task = 1; task <= tasksPerExercise; ++task) {
            const std::optional<int> note = session_->watchAskedNote(tenor, true);
            QVERIFY2(note, qPrintable(QStringLiteral("task %1: no note came and went; %2")
                                          .arg(task)
                                          .arg(midiPath())));
            if (task == 2) {
                const int wrong = neighbourOf(*note);
                keyboard_->press(tenorKeys[std::size_t(wrong)]);
                QVERIFY2(QTest::qWaitFor([&] {
                             return tintAt(mainWindowShot(), tenorAnswerFace(wrong)) == Tint::Red;
                         }),
                         "the key played did not turn its answer red");
                QCOMPARE(tintAt(mainWindowShot(), tenorAnswerFace(*note)), Tint::Green);
                QVERIFY2(QTest::qWaitFor([&] {
                             return headInColumn(mainWindowShot(), layout::askedColumnX).state ==
                                    Head::State::Hidden;
                         }),
                         "the wrong-answer display did not end");
                continue;
            }
            keyboard_->press(tenorKeys[std::size_t(*note)]);
        }
        QCOMPARE(session_->readAndCloseMessage(titles::message),
                 QStringLiteral("Du hast von 25 Aufgaben 1 falsch gemacht."));
    }

    // Bass clef, whole range, answered on a cello into the microphone: one note wrong; the
    // program's own note played into the microphone, as a loud loudspeaker would; a note held on
    // into the next task; a note played as soon as the head shows.
    void bassExerciseOnCello() {
        Cello cello;
        QVERIFY2(cello.isReady(), "FluidR3_GM is missing; ./test installs fluid-soundfont-gm");
        PrivatePulseServer& pulse = session_->pulse();
        // Someone listening makes the loudspeaker play in real time, as a sound card does, so the
        // program learns in time when its note has ended.
        const MonitorCapture loudspeaker;
        QVERIFY2(loudspeaker.isRunning(), "parec did not start");
        const quint64 dialog = session_->openSettings(layout::bassButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        QVERIFY(xdotool::click(dialog, layout::microphoneBox));
        QVERIFY2(session_->startRange(dialog, Bass, 0, 14), "the settings dialog stayed open");
        QElapsedTimer sinceStart;
        sinceStart.start();
        replayed_ = false;

        for (int task = 1; task <= tasksPerExercise; ++task) {
            const bool quick = task == 8;
            const std::optional<int> note = session_->watchAskedNote(Bass, !quick);
            QVERIFY2(note, qPrintable(QStringLiteral("task %1: no note came and went").arg(task)));
            if (quick) {
                // Begun 0.1 s after the head shows and held, while the program's own note may
                // still ring. Unanswered, the head goes after its second. Answered, it stands
                // until the next task's, which shows after the program's next note, has stood for
                // its second.
                QElapsedTimer shown;
                shown.start();
                QTest::qWait(100);
                const std::unique_ptr<QProcess> held = cello.play(*note, 2.0);
                const std::optional<int> next = session_->watchAskedNote(Bass, true);
                QVERIFY2(next && shown.elapsed() > 1300,
                         "a note begun 0.1 s after the head showed did not answer its task");
                QVERIFY(held->waitForFinished());
                ++task;
                QVERIFY(playUntilHeard(cello, *next));
                continue;
            }
            // The null sink records in real time only once someone has listened for 2 s; the
            // program listens again once its note has died away at the microphone.
            QTest::qWait(int(std::max<qint64>(deafAfterSound, 2500 - sinceStart.elapsed())));
            if (task == 2) {
                const int wrong = neighbourOf(*note);
                QVERIFY(cello.playToEnd(wrong));
                QVERIFY2(QTest::qWaitFor([&] {
                             return tintAt(mainWindowShot(), layout::answerFace(Bass, wrong)) ==
                                    Tint::Red;
                         }),
                         "the note played did not turn its answer red");
                QVERIFY2(QTest::qWaitFor([&] {
                             return headInColumn(mainWindowShot(), layout::askedColumnX).state ==
                                    Head::State::Hidden;
                         }),
                         "the wrong-answer display did not end");
                continue;
            }
            if (task == 4) {
                QVERIFY2(staffStaysEmpty(2000),
                         "the program's own note, played into the microphone, answered a task");
                QVERIFY(pulse.pactl({QStringLiteral("set-default-sink"), QStringLiteral("test")}));
            }
            if (task == 5) {
                // Held on while the next note sounds, shows and goes.
                const std::unique_ptr<QProcess> held = cello.play(*note, 4.0);
                const std::optional<int> next = session_->watchAskedNote(Bass, true);
                QVERIFY2(next, "the held note did not answer its task");
                QVERIFY(held->waitForFinished());
                QVERIFY2(staffStaysEmpty(1000), "the held note answered the next task as well");
                ++task;
                QVERIFY(playUntilHeard(cello, *next));
                continue;
            }
            // The program's next note must still be to come when the sink changes.
            QVERIFY(task == 3 ? cello.playToEnd(*note) : playUntilHeard(cello, *note));
            // The notes to come sound into the microphone, as from a loud loudspeaker.
            if (task == 3)
                QVERIFY(pulse.pactl({QStringLiteral("set-default-sink"), QStringLiteral("mic")}));
        }
        QCOMPARE(session_->readAndCloseMessage(titles::message),
                 QStringLiteral("Du hast von 25 Aufgaben 1 falsch gemacht."));
    }

    // A major in the bass clef, answered on the cello into the microphone that the exercise
    // before left chosen: the f, c and g that its signature sharpens, played a semitone above
    // their staff places, answer their tasks. Aborted once two have.
    void aMajorExerciseOnCello() {
        Cello cello;
        QVERIFY2(cello.isReady(), "FluidR3_GM is missing; ./test installs fluid-soundfont-gm");
        const MonitorCapture loudspeaker;
        QVERIFY2(loudspeaker.isRunning(), "parec did not start");
        const quint64 dialog = session_->openSettings(layout::bassButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        QVERIFY(session_->chooseKey(dialog, 3));
        QVERIFY2(session_->startRange(dialog, Bass, 0, 14), "the settings dialog stayed open");
        QElapsedTimer sinceStart;
        sinceStart.start();
        const std::optional<int> column = session_->askedColumn();
        QVERIFY2(column && *column > layout::askedColumnX,
                 "no head showed right of the key signature");

        int sharpsAnswered = 0;
        for (int task = 1; sharpsAnswered < 2; ++task) {
            QVERIFY2(task <= tasksPerExercise, "fewer than two sharps were asked");
            const std::optional<int> note = session_->watchAskedNote(Bass, true, *column);
            QVERIFY2(note, qPrintable(QStringLiteral("task %1: no note came and went").arg(task)));
            QTest::qWait(int(std::max<qint64>(deafAfterSound, 2500 - sinceStart.elapsed())));
            const bool sharp = aMajor::sharpened(*note);
            QVERIFY(cello.playToEnd(*note, 0.5, sharp ? 1 : 0));
            // Answered rightly, the next task's head shows alone.
            QImage shot;
            QVERIFY2(
                QTest::qWaitFor([&] {
                    shot = mainWindowShot();
                    return headInColumn(shot, *column).state == Head::State::Shown;
                }),
                qPrintable(QStringLiteral("task %1: the note played answered nothing").arg(task)));
            QVERIFY2(
                !headColumnAfter(shot, *column + 20),
                qPrintable(QStringLiteral("task %1: the note played (%2 %3) was taken as wrong")
                               .arg(task)
                               .arg(*note)
                               .arg(sharp ? QStringLiteral("sharpened") : QString())));
            sharpsAnswered += sharp ? 1 : 0;
        }
        QCOMPARE(session_->abortExercise(), abortedText);
    }

    // A major, chosen in the dialog, treble clef's whole range: the f, c and g that its signature
    // sharpens answered on the black keys above them, one of them on its white key, a forgotten
    // sign. Chosen back, C major shows its heads in their own column again.
    void aMajorExerciseOnKeys() {
        quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        QVERIFY(session_->chooseKey(dialog, 3));
        QVERIFY2(session_->startRange(dialog, Violin, 0, 14), "the settings dialog stayed open");
        QCOMPARE(QSettings(session_->settingsFile(), QSettings::IniFormat)
                     .value(QStringLiteral("Tonart/Tonart"))
                     .toString(),
                 QStringLiteral("3"));
        const std::optional<int> column = session_->askedColumn();
        QVERIFY2(column && *column > layout::askedColumnX,
                 "no head showed right of the key signature");

        QString missed;
        int blackKeys = 0;
        for (int task = 1; task <= tasksPerExercise; ++task) {
            const std::optional<int> note = session_->watchAskedNote(Violin, true, *column);
            QVERIFY2(note, qPrintable(QStringLiteral("task %1: no note came and went; %2")
                                          .arg(task)
                                          .arg(midiPath())));
            const bool sharp = aMajor::sharpened(*note);
            if (sharp && missed.isEmpty()) {
                keyboard_->press(keyOf(*note));
                const QString fault = session_->wrongAnswerCameAndWent(*column);
                QVERIFY2(fault.isEmpty(),
                         qPrintable(QStringLiteral("the natural's key: ") + fault));
                missed = aMajor::forgottenSign(task, *note);
                continue;
            }
            blackKeys += sharp ? 1 : 0;
            keyboard_->press(keyOf(*note) + (sharp ? 1 : 0));
        }
        QString details;
        QCOMPARE(session_->readAndCloseMessage(titles::message, &details),
                 QStringLiteral("Du hast von 25 Aufgaben 1 falsch gemacht."));
        QCOMPARE(details, missed);
        QVERIFY2(blackKeys > 0, "no black key answered");

        dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->chooseKey(dialog, 0));
        QVERIFY2(session_->startRange(dialog, Violin, 0, 14), "the settings dialog stayed open");
        QVERIFY2(session_->watchAskedNote(Violin, false), "C major's head stood elsewhere");
        QCOMPARE(session_->abortExercise(), abortedText);
    }

    // Four notes per task, chosen in the dialog, treble clef c' to e'' in C major, played
    // legato on the keys: each key pressed while the one before is still held, which is let go
    // once the new note has been taken. Every note is right.
    void phraseExerciseOnKeysLegato() {
        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("0")));
        QVERIFY(session_->chooseKey(dialog, 0));
        QVERIFY(session_->chooseNotesPerTask(dialog, phraseNotes));
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the settings dialog stayed open");

        std::optional<int> held;
        const auto release = [&] {
            if (held)
                keyboard_->send({0x80, static_cast<unsigned char>(*held), 64});
            held.reset();
        };
        for (int task = 1; task <= tasksPerExercise; ++task) {
            const std::optional<QList<int>> phrase = session_->watchPhrase(Violin, phraseNotes);
            QVERIFY2(
                phrase,
                qPrintable(
                    QStringLiteral("task %1: no phrase showed; %2").arg(task).arg(midiPath())));
            for (int place = 0; place < phraseNotes; ++place) {
                const int key = keyOf(phrase->at(place));
                // A repeated note is struck again.
                if (held == key)
                    release();
                const std::optional<int> before = std::exchange(held, key);
                keyboard_->send({0x90, static_cast<unsigned char>(key), 100});
                if (place + 1 < phraseNotes)
                    QVERIFY2(session_->phraseNoteAnswered(place, phraseNotes),
                             qPrintable(QStringLiteral("task %1, note %2 played legato was not "
                                                       "taken as right; %3")
                                            .arg(task)
                                            .arg(place + 1)
                                            .arg(midiPath())));
                if (before)
                    keyboard_->send({0x80, static_cast<unsigned char>(*before), 64});
            }
        }
        release();
        QCOMPARE(session_->readAndCloseMessage(titles::message),
                 QStringLiteral("Du hast von %1 Noten 0 falsch gemacht.")
                     .arg(tasksPerExercise * phraseNotes));
    }

    // Four notes per task on the cello into the microphone, the bass clef's whole range, each
    // note played detached: three phrases answered rightly, then the learner stops and goes
    // back to one note per task.
    void phraseExerciseOnCello() {
        Cello cello;
        QVERIFY2(cello.isReady(), "FluidR3_GM is missing; ./test installs fluid-soundfont-gm");
        const MonitorCapture loudspeaker;
        QVERIFY2(loudspeaker.isRunning(), "parec did not start");
        quint64 dialog = session_->openSettings(layout::bassButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("0")));
        QVERIFY(session_->chooseKey(dialog, 0));
        // Chosen by the exercises on the cello before, unless this runs alone.
        if (QSettings(session_->settingsFile(), QSettings::IniFormat)
                .value(QStringLiteral("Einstellungen/Mikrofon"))
                .toString() != QStringLiteral("1"))
            QVERIFY(xdotool::click(dialog, layout::microphoneBox));
        QVERIFY(session_->chooseNotesPerTask(dialog, phraseNotes));
        QVERIFY2(session_->startRange(dialog, Bass, 0, 14), "the settings dialog stayed open");
        QElapsedTimer sinceStart;
        sinceStart.start();
        replayed_ = false;

        for (int task = 1; task <= 3; ++task) {
            const std::optional<QList<int>> phrase = session_->watchPhrase(Bass, phraseNotes);
            QVERIFY2(phrase, qPrintable(QStringLiteral("task %1: no phrase showed").arg(task)));
            // The null sink records in real time only once someone has listened for 2 s.
            QTest::qWait(int(std::max<qint64>(0, 2500 - sinceStart.elapsed())));
            for (int place = 0; place < phraseNotes; ++place) {
                const bool last = place + 1 == phraseNotes;
                QVERIFY2(
                    playUntilHeard(cello, phrase->at(place),
                                   [&](const QImage& shot) {
                                       return last ? newPhrase(shot, Bass, phraseNotes).has_value()
                                                   : phraseNoteRight(shot, place, phraseNotes);
                                   }),
                    qPrintable(QStringLiteral("task %1, note %2 played was not taken")
                                   .arg(task)
                                   .arg(place + 1)));
            }
        }
        QCOMPARE(session_->abortExercise(), abortedText);

        dialog = session_->openSettings(layout::bassButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->chooseNotesPerTask(dialog, 1));
        QVERIFY2(session_->startRange(dialog, Bass, 0, 14), "the settings dialog stayed open");
        QVERIFY2(session_->watchAskedNote(Bass, false), "no single note showed");
        QCOMPARE(session_->abortExercise(), abortedText);
    }

    // The sound server hangs: the settings open at once, an exercise runs silently beside it
    // with the microphone still chosen, and "Ende" ends the program at once. The program is
    // started again for what follows.
    void soundServerHangs() {
        PrivatePulseServer& pulse = session_->pulse();
        pulse.freeze();
        QElapsedTimer clock;
        clock.start();
        const quint64 dialog = session_->openSettings(layout::violinButton);
        const qint64 dialogShown = clock.elapsed();
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        QVERIFY2(session_->startRange(dialog, Violin, 0, 14), "the settings dialog stayed open");
        const std::optional<int> note = session_->watchAskedNote(Violin, true);
        QVERIFY2(note, "no task came beside the hung sound server");
        // The recording still opens in the background: there is nothing to tell yet.
        QCOMPARE(session_->abortExercise(), abortedText);
        QVERIFY2(waitForNoWindow(QStringLiteral("^%1$").arg(notice), 1000),
                 "a notice came while the recording still opened");
        clock.restart();
        QVERIFY(xdotool::click(session_->mainWindow(), layout::endButton));
        QVERIFY2(session_->program().waitForFinished(30000), "the program did not end");
        const qint64 ended = clock.elapsed();
        qInfo("beside the hung sound server: the settings showed after %lld ms, the program "
              "ended %lld ms after \"Ende\"",
              dialogShown, ended);
        // Under a second on a quiet machine, and a busy one's margin; a hung call takes a minute.
        QVERIFY2(dialogShown < 4000, "the settings dialog waited for the hung sound server");
        QVERIFY2(ended < 4000, "the program's end waited for the hung sound server");
        QCOMPARE(session_->program().exitCode(), 0);
        pulse.thaw();
        QVERIFY2(session_->start(), "the main window did not show again");
    }

    // The sound server goes during an exercise: the learner is told once the exercise has
    // ended, and the exercise goes on with clicks meanwhile. The microphone stays chosen from
    // the exercise before.
    void microphoneGoneDuringExercise() {
        const quint64 dialog = session_->openSettings(layout::bassButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY2(session_->startRange(dialog, Bass, 0, 14), "the settings dialog stayed open");
        std::optional<int> note = session_->watchAskedNote(Bass, true);
        QVERIFY(note);
        session_->pulse().kill();
        QVERIFY2(waitForWindow(QStringLiteral("^%1$").arg(notice), 2000) == 0,
                 "the microphone's loss was told while a task's time ran");
        QVERIFY(xdotool::click(session_->mainWindow(), layout::answerButton(Bass, *note)));
        note = session_->watchAskedNote(Bass, true);
        QVERIFY2(note, "the exercise did not go on after the microphone had gone");
        QVERIFY(xdotool::click(session_->mainWindow(), layout::abortButton));
        QCOMPARE(
            readAndCloseMessages({titles::message, notice}),
            (QMap<QString, QString>{{titles::message, abortedText}, {notice, microphoneNotice}}));
        QVERIFY2(waitForNoWindow(QStringLiteral("^%1$").arg(notice), 1000),
                 "the microphone's loss was told more than once");
    }

    // A JACK server that hangs must not hold the program's end.
    void endButtonEndsProgramBesideHungServer() {
        keyboard_.reset();
        jack_->hang();
        endWithEndButton();
    }
};

int main(int argc, char* argv[]) {
    return runOnOwnDisplay<MidiKeyboardTest>(argc, argv);
}

#include "tst_midikeyboard.moc"

// A whole exercise answered on a MIDI keyboard: the real program on an X server of the test's
// own joins a JACK server of the test's own, and a test client plays the keys into its port
// "Virelo:Eingang", connected as a patchbay connects it. The asked note is read off the screen.
#include "JackTestKeyboard.h"
#include "NeededServer.h"
#include "OwnDisplay.h"
#include "PrivateJackServer.h"
#include "ProgramSession.h"
#include "ScreenReading.h"
#include "WindowLayout.h"
#include "training/NotePitches.h"

#include <QTest>

#include <memory>
#include <optional>

namespace {

const QString Violin = QStringLiteral("Violin");
const std::string input = "Virelo:Eingang";

constexpr int tasksPerExercise = 25;

int keyOf(int index) {
    return clefPitches[0].midiNotes[std::size_t(index)];
}

// The black key beside a note's: above it, unless a white key follows (after e and h).
int blackKeyBeside(int index) {
    const int key = keyOf(index);
    return key % 12 == 4 || key % 12 == 11 ? key - 1 : key + 1;
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

    QImage mainWindowShot() const { return session_->mainWindowShot(); }

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

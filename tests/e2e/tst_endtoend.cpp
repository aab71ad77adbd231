// The real program on an X server of the test's own, driven only by the mouse and keys as a
// learner drives it. What it shows is read from screenshots, its messages over the
// accessibility bus as a screen reader reads them, its sound from a private sound server and
// what it keeps from its settings file.
#include "AccessibleWindows.h"
#include "HeardPitch.h"
#include "MonitorCapture.h"
#include "PrivatePulseServer.h"
#include "ScreenReading.h"
#include "SessionBus.h"
#include "WindowLayout.h"
#include "Xdotool.h"
#include "XvfbDisplay.h"
#include "feedback/NotePitches.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace {

const QString Violin = QStringLiteral("Violin");
const QString Bass = QStringLiteral("Bass");

const QString mainWindowTitle = QStringLiteral("^Virelo 5\\.50");
const QString settingsTitle = QStringLiteral("^Einstellungen$");
const QString keyboardTitle = QStringLiteral("^Keyboard$");
const QString messageTitle = QStringLiteral("virel5");
const QString errorTitle = QStringLiteral("Fehler");

const QColor red(255, 0, 0);
const QColor green(0, 255, 0);
const QColor white(255, 255, 255);

const QString abortText =
    QStringLiteral("Du hast die Übung abgebrochen. Es erfolgt keine Wertung.");

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

QStringList missingTools() {
    QStringList missing;
    for (const char* tool : {"Xvfb", "xdotool", "dbus-daemon", "pulseaudio", "parec"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing.append(QString::fromLatin1(tool));
    }
    if (!QFile::exists(QStringLiteral("/usr/share/dbus-1/services/org.a11y.Bus.service")))
        missing.append(QStringLiteral("at-spi2-core"));
    return missing;
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

public:
    EndToEndTest(QStringList missingTools, bool onDisplay)
        : missingTools_(std::move(missingTools)), onDisplay_(onDisplay) {}

private:
    QStringList missingTools_;
    bool onDisplay_;
    QTemporaryDir home_;
    std::unique_ptr<SessionBus> sessionBus_;
    std::unique_ptr<AccessibleWindows> accessible_;
    std::unique_ptr<PrivatePulseServer> pulse_;
    std::unique_ptr<MonitorCapture> capture_;
    MonitorCapture::Clock::time_point captureSettled_;
    // When the test had read each task's note from the screen: the note had sounded by then,
    // and the next one sounds only after the answer.
    std::vector<MonitorCapture::Clock::time_point> soundedBy_;
    QProcess program_;
    quint64 mainWindow_ = 0;

    QString configDir() const { return home_.filePath(QStringLiteral("config")); }
    QString runtimeDir() const { return home_.filePath(QStringLiteral("runtime")); }

    static quint64 waitForWindow(const QString& titlePattern, int milliseconds = 20000) {
        quint64 found = 0;
        const bool shown = QTest::qWaitFor(
            [&] {
                const QList<quint64> windows = xdotool::visibleWindows(titlePattern);
                found = windows.isEmpty() ? 0 : windows.constFirst();
                return found != 0;
            },
            milliseconds);
        return shown ? found : 0;
    }

    static bool waitForNoWindow(const QString& titlePattern, int milliseconds = 20000) {
        return QTest::qWaitFor([&] { return xdotool::visibleWindows(titlePattern).isEmpty(); },
                               milliseconds);
    }

    QImage mainWindowShot() const { return grabWindow(mainWindow_); }

    // Opens the settings dialog with a mode button of the main window; 0 if it did not come up
    // ready for typing.
    quint64 openSettings(QPoint modeButton) const {
        if (!xdotool::click(mainWindow_, modeButton))
            return 0;
        const quint64 dialog = waitForWindow(settingsTitle);
        const bool focused =
            dialog != 0 && QTest::qWaitFor([&] { return xdotool::focusedWindow() == dialog; });
        return focused ? dialog : 0;
    }

    // Watches the asked note's column until a head has shown and, with `untilGone`, gone
    // again; returns the note the last head seen stands for. A head shown again at the same
    // place after an answer is the next task's only if it went in between, which the short
    // disappearing time set below makes sure of.
    std::optional<int> watchAskedNote(const QString& clef, bool untilGone) {
        std::optional<double> lastTop;
        const bool seen = QTest::qWaitFor(
            [&] {
                const Head head = headInColumn(mainWindowShot(), layout::askedColumnX);
                if (head.state == Head::State::Shown)
                    lastTop = head.top;
                return lastTop && (!untilGone || head.state == Head::State::Hidden);
            },
            20000);
        if (!seen)
            return std::nullopt;
        soundedBy_.push_back(MonitorCapture::Clock::now());
        return noteAtHeadTop(clef, *lastTop);
    }

    // Waits for a message box, reads its text as a screen reader hears it and closes it with
    // the space bar, as the learner is asked to. What went wrong instead of the text otherwise.
    QString readAndCloseMessage(const QString& title) const {
        const QString pattern = QStringLiteral("^%1$").arg(title);
        const quint64 box = waitForWindow(pattern);
        if (box == 0)
            return QStringLiteral("(no message box titled %1 came up)").arg(title);
        QStringList texts;
        const bool read = QTest::qWaitFor(
            [&] {
                texts = accessible_->labelTexts(title);
                return !texts.isEmpty();
            },
            10000);
        if (!read)
            return QStringLiteral("(the message box offers no text to a screen reader)");
        const bool focused = QTest::qWaitFor([&] { return xdotool::focusedWindow() == box; });
        if (!focused || !xdotool::key(QStringLiteral("space")) || !waitForNoWindow(pattern))
            return QStringLiteral("(the message box did not close with the space bar)");
        return texts.join(QLatin1Char('\n'));
    }

    // The chosen note red beside the asked note green, on the buttons and on the staff. The
    // style paints a button's colour lighter; the heads have it exactly.
    void checkWrongAnswerShown(const QString& clef, int asked, int chosen) const {
        QImage shot;
        const bool marked = QTest::qWaitFor([&] {
            shot = mainWindowShot();
            return tintAt(shot, layout::answerFace(clef, chosen)) == Tint::Red;
        });
        QVERIFY2(marked, "the chosen answer button did not turn red");
        QCOMPARE(tintAt(shot, layout::answerFace(clef, asked)), Tint::Green);

        const Head askedHead = headInColumn(shot, layout::askedColumnX);
        QCOMPARE(askedHead.state, Head::State::Shown);
        QCOMPARE(noteAtHeadTop(clef, askedHead.top).value_or(-1), asked);
        QCOMPARE(QColor(shot.pixel(headInside(layout::askedColumnX, askedHead))), green);
        const Head chosenHead = headInColumn(shot, layout::chosenColumnX);
        QCOMPARE(chosenHead.state, Head::State::Shown);
        QCOMPARE(noteAtHeadTop(clef, chosenHead.top).value_or(-1), chosen);
        QCOMPARE(QColor(shot.pixel(headInside(layout::chosenColumnX, chosenHead))), red);
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
        if (!missingTools_.isEmpty())
            QSKIP(qPrintable(QStringLiteral("needs %1, which ./test installs")
                                 .arg(missingTools_.join(QStringLiteral(", ")))));
        QVERIFY2(onDisplay_, "Xvfb started on none of the displays :120 to :139");
        QVERIFY(home_.isValid());
        QVERIFY(QDir().mkpath(configDir()) && QDir().mkpath(runtimeDir()));
        QVERIFY(QFile::setPermissions(runtimeDir(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        sessionBus_ = std::make_unique<SessionBus>(runtimeDir());
        QVERIFY2(sessionBus_->isRunning(), "dbus-daemon did not start");
        accessible_ = std::make_unique<AccessibleWindows>(sessionBus_->address());
        QVERIFY2(accessible_->isConnected(), "the accessibility bus did not start");
        pulse_ = std::make_unique<PrivatePulseServer>();
        QVERIFY2(pulse_->isRunning(), "pulseaudio did not start");
        qputenv("PULSE_SERVER", pulse_->address().toLocal8Bit());

        // Only the platform's own variables: where home, settings, sound and session bus are.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.insert(QStringLiteral("HOME"), home_.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        environment.insert(QStringLiteral("PULSE_SERVER"), pulse_->address());
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionBus_->address());
        program_.setProcessEnvironment(environment);
        program_.setProcessChannelMode(QProcess::MergedChannels);
        program_.start(QStringLiteral(VIRELO_PROGRAM), {});
        QVERIFY2(program_.waitForStarted(), qPrintable(program_.errorString()));
        mainWindow_ = waitForWindow(mainWindowTitle, 60000);
        QVERIFY2(mainWindow_ != 0, "the main window did not show");
    }

    void cleanupTestCase() {
        if (program_.state() != QProcess::NotRunning) {
            program_.kill();
            program_.waitForFinished(10000);
        }
        const QByteArray output = program_.isOpen() ? program_.readAll() : QByteArray();
        if (!output.isEmpty())
            qInfo("The program wrote:\n%s", output.constData());
        capture_.reset();
        qunsetenv("PULSE_SERVER");
        pulse_.reset();
        accessible_.reset();
        sessionBus_.reset();
    }

    // Treble clef c' to e'': one wrong answer, one time-out, the rest right, to the result.
    void trebleExercise() {
        startCapture();
        const quint64 dialog = openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        // Typing replaces what is selected.
        QVERIFY(xdotool::click(dialog, layout::timePerNoteField));
        QVERIFY(xdotool::key(QStringLiteral("ctrl+a")) && xdotool::type(QStringLiteral("4")));
        QVERIFY(xdotool::click(dialog, layout::disappearField));
        QVERIFY(xdotool::key(QStringLiteral("ctrl+a")) && xdotool::type(QStringLiteral("1")));
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Violin, 4)));
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Violin, 13)));
        QVERIFY(xdotool::click(dialog, layout::startButton));
        QVERIFY2(waitForNoWindow(settingsTitle), "the settings dialog stayed open");

        const QSettings saved(configDir() + QStringLiteral("/virel542.ini"), QSettings::IniFormat);
        QCOMPARE(saved.value(QStringLiteral("Einstellungen/Zeitvorbei")).toString(),
                 QStringLiteral("4"));
        QCOMPARE(saved.value(QStringLiteral("Einstellungen/Zeitweg")).toString(),
                 QStringLiteral("1"));
        QCOMPARE(saved.value(QStringLiteral("Reg/Started")).toString(), QStringLiteral("1"));

        QList<int> asked;
        int mistakes = 0;
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
                ++mistakes;
            } else if (task == 3) {
                QCOMPARE(readAndCloseMessage(messageTitle),
                         QStringLiteral("Zeit vorbei. Gesucht wurde: %1\n( Leertaste drücken, "
                                        "um diese Meldung zu schließen )")
                             .arg(noteName(Violin, *note)));
                ++mistakes;
            } else {
                QVERIFY(xdotool::click(mainWindow_, layout::answerButton(Violin, *note)));
            }
        }
        QCOMPARE(readAndCloseMessage(messageTitle),
                 QStringLiteral("Du hast von 25 Aufgaben %1 falsch gemacht.").arg(mistakes));
        checkNotesHeard(Violin, asked);
    }

    // Bass clef A to d' answered on the keyboard window, one answer wrong, aborted.
    void bassExerciseOnKeyboard() {
        startCapture();
        const quint64 dialog = openSettings(layout::bassButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Bass, 2)));
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Bass, 12)));
        QVERIFY(xdotool::click(dialog, layout::startWithKeyboardButton));
        const quint64 keyboard = waitForWindow(keyboardTitle);
        QVERIFY2(keyboard != 0, "the keyboard window did not show");
        QVERIFY2(waitForNoWindow(settingsTitle), "the settings dialog stayed open");

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

        note = nextNote(true);
        QVERIFY2(note && *note >= 2 && *note <= 12, "no note in the range chosen was asked");
        QCOMPARE(keyColour(keyboard, wrong), white);
        QCOMPARE(keyColour(keyboard, askedAfterWrong), white);
        QVERIFY(xdotool::click(keyboard, layout::whiteKey(*note)));

        // Aborted while the fourth note is shown.
        note = nextNote(false);
        QVERIFY2(note, "the fourth note was not shown");
        QVERIFY(xdotool::click(mainWindow_, layout::abortButton));
        QCOMPARE(readAndCloseMessage(messageTitle), abortText);
        QVERIFY2(waitForNoWindow(keyboardTitle), "the keyboard window stayed after the exercise");
        checkNotesHeard(Bass, asked);
    }

    // Ear training shows no note; starting without a range is refused first.
    void earTrainingAborted() {
        const quint64 dialog = openSettings(layout::violinEarTrainingButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(xdotool::click(dialog, layout::startButton));
        QCOMPARE(readAndCloseMessage(errorTitle),
                 QStringLiteral("Im Violinschlüssel muss ein tiefster UND ein höchster Ton "
                                "ausgewählt werden."));
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Violin, 4)));
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Violin, 13)));
        QVERIFY(xdotool::click(dialog, layout::startButton));
        QVERIFY2(waitForNoWindow(settingsTitle), "the settings dialog stayed open");

        // Once the time bar runs, the task is on.
        QVERIFY2(QTest::qWaitFor(
                     [&] { return tintAt(mainWindowShot(), layout::progressStart) != Tint::White; },
                     10000),
                 "the time bar did not start");
        QCOMPARE(headInColumn(mainWindowShot(), layout::askedColumnX).state, Head::State::Hidden);
        QVERIFY(xdotool::click(mainWindow_, layout::abortButton));
        QCOMPARE(readAndCloseMessage(messageTitle), abortText);
    }

    void endButtonEndsProgram() {
        QVERIFY(xdotool::click(mainWindow_, layout::endButton));
        QVERIFY2(program_.waitForFinished(30000), "the program did not end");
        QCOMPARE(program_.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program_.exitCode(), 0);
    }
};

int main(int argc, char* argv[]) {
    const QStringList missing = missingTools();
    std::unique_ptr<XvfbDisplay> display;
    if (missing.isEmpty())
        display = std::make_unique<XvfbDisplay>();
    const bool onDisplay = display && display->isRunning();
    if (onDisplay)
        qputenv("DISPLAY", display->name().toLocal8Bit());
    // The test's own application only takes screenshots, so it must look at the same screen.
    qputenv("QT_QPA_PLATFORM", onDisplay ? "xcb" : "offscreen");
    QGuiApplication app(argc, argv);
    EndToEndTest test(missing, onDisplay);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_endtoend.moc"

// The real program on an X server of the test's own, driven only by the mouse and keys as a
// learner drives it. What it shows is read from screenshots, its messages over the
// accessibility bus as a screen reader reads them, its sound from a private sound server and
// what it keeps from its settings file.
#include "AMajor.h"
#include "HeardPitch.h"
#include "MonitorCapture.h"
#include "OwnDisplay.h"
#include "ProgramSession.h"
#include "ScreenReading.h"
#include "WindowLayout.h"
#include "WindowProperties.h"
#include "Xdotool.h"
#include "training/NoteModel.h"

#include <QColor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <tuple>
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
// A caption's letters against the text of an enabled button; the disabled grey lies far above.
constexpr int captionTolerance = 48;

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
    return clefNote(clef == Bass ? Clef::Bass : Clef::Violin, index)->midiPitch();
}

// A point of the main window on the staff's right, where a click does nothing.
const QPoint mainWindowBlank = layout::pixel(10500, 3000);

QString frameText(quint64 window) {
    const std::optional<QRect> frame = xprop::frameOnScreen(window);
    if (!frame)
        return QStringLiteral("nowhere");
    return QStringLiteral("%1,%2 %3x%4")
        .arg(frame->x())
        .arg(frame->y())
        .arg(frame->width())
        .arg(frame->height());
}

// The window's frame is centred on the area, to the pixel that rounding leaves.
bool centredOn(quint64 window, const QRect& area) {
    const std::optional<QRect> frame = xprop::frameOnScreen(window);
    if (!frame)
        return false;
    const QPoint off = frame->center() - area.center();
    return std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1;
}

bool centredOnScreen(quint64 window) {
    return centredOn(window, QGuiApplication::primaryScreen()->availableGeometry());
}

bool centredOnWindow(quint64 window, quint64 owner) {
    const std::optional<QRect> frame = xprop::frameOnScreen(owner);
    return frame && centredOn(window, *frame);
}

// A click on `lower`, which a window manager answers by raising it, leaves `upper` above it:
// the screen where `upper` shows its content (its frame changes with the focus) looks the same
// before and after, and the window manager stacks it higher.
bool staysAbove(quint64 upper, quint64 lower, QPoint inLower) {
    const std::optional<QRect> area = xdotool::geometry(upper);
    if (!area)
        return false;
    const QImage before = grabScreen(*area);
    if (!xdotool::click(lower, inLower))
        return false;
    QTest::qWait(500);
    const QList<quint64> stacking = xprop::stackingOrder();
    const bool stackedAbove =
        stacking.isEmpty() || stacking.indexOf(upper) > stacking.indexOf(lower);
    return stackedAbove && grabScreen(*area) == before;
}

// The caption's letters stand inside the button's face, clear of its edges: none is cut off.
bool captionFits(const QImage& shot, const QRect& face) {
    int left = face.right() + 1, right = face.left() - 1;
    for (int y = face.top(); y <= face.bottom(); ++y)
        for (int x = face.left(); x <= face.right(); ++x)
            if (shot.valid(x, y) && qGray(shot.pixel(x, y)) < 200) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right >= left && left > face.left() + 1 && right < face.right() - 1;
}

// A wrong answer next to the right one.
int neighbourOf(int note) {
    return note == 14 ? 13 : note + 1;
}

// A key signature as the staff should show it: its signs' places in half spaces above the
// staff's lowest line, in the order they are written; before them the clef's sign, in as many
// marks, reaching from `clefTop` to `clefBottom` staff spaces below the top line.
struct StaffKey {
    QString clef;
    int fifths;
    std::vector<int> places;
    qsizetype clefMarks = 0;
    double clefTop = 0, clefBottom = 0;
};

// Engraving's places: the sharps f c g d a e h and the flats h e a d g c f each on the
// lines and spaces of their clef; in the tenor clef the sharps f and g stand low. The treble
// and bass clefs, whose sign stands before the signature, with three signs: with seven the
// heads stand where the screen reader below no longer finds them.
const std::vector<StaffKey> staffKeys = {
    {QStringLiteral("Violin"), 3, {8, 5, 9}, 1, -1.55, 5.95},
    {QStringLiteral("Bass"), -3, {2, 5, 1}, 1, -0.05, 3.4},
    {QStringLiteral("Tenor"), 7, {2, 6, 3, 7, 4, 8, 5}},
    {QStringLiteral("Alto"), -7, {3, 6, 2, 5, 1, 4, 0}},
};

// The treble clef reaches above and below the staff, its curl round the g' line; the bass
// clef from the top line to below the f line, its dots around that line.
QString misplacedClef(const QRect& sign, const StaffKey& key) {
    const double top = sign.top() * 15.0, bottom = (sign.bottom() + 1) * 15.0;
    const double staffTop = layout::staffLineYs.front();
    const double tolerance = layout::staffSpace / 4;
    if (std::abs(top - (staffTop + key.clefTop * layout::staffSpace)) < tolerance &&
        std::abs(bottom - (staffTop + key.clefBottom * layout::staffSpace)) < tolerance)
        return {};
    return QStringLiteral("the clef's sign spans %1..%2 twips").arg(top).arg(bottom);
}

double placeY(int place) {
    return layout::staffLineYs.back() - place * layout::staffSpace / 2;
}

// A sharp spans about three staff spaces, centred on its place; a flat's bulb fills the space
// below its place, its lowest edge about half a space under it.
QString misplacedSign(const QRect& mark, int fifths, int place) {
    const double y = placeY(place);
    const double top = mark.top() * 15.0, bottom = (mark.bottom() + 1) * 15.0;
    const double height = bottom - top;
    const double tolerance = layout::staffSpace / 4;
    const bool placed = fifths > 0
                            ? std::abs((top + bottom) / 2 - y) < tolerance &&
                                  std::abs(height - 3 * layout::staffSpace) < layout::staffSpace / 2
                            : std::abs(bottom - (y + layout::staffSpace / 2)) < tolerance &&
                                  height > 2 * layout::staffSpace;
    if (placed)
        return {};
    return QStringLiteral("the sign for place %1 spans %2..%3 twips")
        .arg(place)
        .arg(top)
        .arg(bottom);
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
    // The treble exercise's wrong answer: the note asked and the note chosen.
    std::pair<int, int> wrongAnswer_{-1, -1};
    // Where the learner left the statistics window.
    QRect movedStatistics_;

    QImage mainWindowShot() const { return session_->mainWindowShot(); }

    std::optional<int> watchAskedNote(const QString& clef, bool untilGone) {
        const std::optional<int> note = session_->watchAskedNote(clef, untilGone);
        if (note)
            soundedBy_.push_back(MonitorCapture::Clock::now());
        return note;
    }

    // The chosen note red beside the asked note green, on the buttons and on the staff, each in
    // its exact colour: the disabled row is neither shaded nor paled, and the two captions are
    // in the text colour of an enabled button.
    void checkWrongAnswerShown(const QString& clef, int asked, int chosen) const {
        QImage shot;
        const bool marked = QTest::qWaitFor([&] {
            shot = mainWindowShot();
            return tintAt(shot, layout::answerFace(clef, chosen)) == Tint::Red;
        });
        QVERIFY2(marked, "the chosen answer button did not turn red");
        const int textLightness = darkestIn(shot, layout::helpCaption).lightness();
        for (const auto& [index, colour] : {std::pair{chosen, red}, std::pair{asked, green}}) {
            QCOMPARE(QColor(shot.pixel(layout::answerFace(clef, index))), colour);
            for (const QPoint corner : layout::answerFaceCorners(clef, index))
                QCOMPARE(QColor(shot.pixel(corner)), colour);
            const int captionLightness =
                darkestIn(shot, layout::answerCaption(clef, index)).lightness();
            QVERIFY2(std::abs(captionLightness - textLightness) <= captionTolerance,
                     qPrintable(QStringLiteral("the caption of %1 is pale: lightness %2, text %3")
                                    .arg(noteName(clef, index))
                                    .arg(captionLightness)
                                    .arg(textLightness)));
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

    // A phrase's note answered wrongly: green, the chosen note red right beside it, both on
    // the buttons too, until a second after the answer the arrow marks the next note and the
    // buttons are white again. The chosen head stays.
    void checkPhraseMistakeShown(int notes, int place, int asked, int chosen,
                                 const QElapsedTimer& sinceAnswer) const {
        QImage shot;
        QVERIFY2(QTest::qWaitFor([&] {
                     shot = mainWindowShot();
                     return tintAt(shot, layout::answerFace(Violin, chosen)) == Tint::Red;
                 }),
                 "the chosen answer button did not turn red");
        QCOMPARE(tintAt(shot, layout::answerFace(Violin, asked)), Tint::Green);
        for (const auto& [column, note, colour] :
             {std::tuple{layout::phraseColumnX(place), asked, green},
              std::tuple{layout::phraseChosenColumnX(place), chosen, red}}) {
            const Head head = headInColumn(shot, column);
            QCOMPARE(head.state, Head::State::Shown);
            QCOMPARE(noteAtHeadTop(Violin, head.top).value_or(-1), note);
            QCOMPARE(QColor(shot.pixel(headInside(column, head))), colour);
        }

        QVERIFY2(QTest::qWaitFor([&] {
                     shot = mainWindowShot();
                     return markedPlace(shot, notes) == place + 1;
                 }),
                 "the arrow did not move on after the wrong note");
        const qint64 moved = sinceAnswer.elapsed();
        // A second's timer, which may fire a little early; three seconds are a single note's.
        QVERIFY2(
            moved >= 900 && moved < 2800,
            qPrintable(QStringLiteral("the arrow moved on %1 ms after the answer").arg(moved)));
        QCOMPARE(tintAt(shot, layout::answerFace(Violin, chosen)), Tint::White);
        const Head stays = headInColumn(shot, layout::phraseChosenColumnX(place));
        QCOMPARE(stays.state, Head::State::Shown);
        QCOMPARE(QColor(shot.pixel(headInside(layout::phraseChosenColumnX(place), stays))), red);
    }

    // The wrong-answer display ends with an empty staff while the next note sounds: no stale
    // head is left standing without its ledger lines.
    bool waitForDisplayEnd() const {
        return QTest::qWaitFor([&] {
            return headInColumn(mainWindowShot(), layout::askedColumnX).state ==
                   Head::State::Hidden;
        });
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

    // The window manager's close (Alt+F4 in openbox); Escape without one, the key a learner
    // has then.
    static bool closeAsLearner(quint64 window) {
        const QString key =
            windowManager().isEmpty() ? QStringLiteral("Escape") : QStringLiteral("alt+F4");
        return xdotool::perform({QStringLiteral("windowfocus"), QString::number(window),
                                 QStringLiteral("sleep"), QStringLiteral("0.2"),
                                 QStringLiteral("key"), key});
    }

    // The statistics window's texts come to hold each of `parts`.
    void expectStatistics(const QStringList& parts) const {
        QString shown;
        const bool found = QTest::qWaitFor([&] {
            shown = session_->labelTexts(titles::statistics).join(QLatin1Char('\n'));
            return std::all_of(parts.begin(), parts.end(),
                               [&](const QString& part) { return shown.contains(part); });
        });
        QVERIFY2(found, qPrintable(QStringLiteral("the statistics window shows:\n%1\nnot:\n%2")
                                       .arg(shown, parts.join(QLatin1Char('\n')))));
    }

    static QColor keyColour(quint64 keyboard, int key) {
        const QImage shot = grabWindow(keyboard);
        const QPoint face = layout::whiteKeyFace(key);
        return shot.valid(face) ? QColor(shot.pixel(face)) : QColor();
    }

    // Once a window whose title matches `titlePattern` is offered to screen readers, every
    // control on screen in every window tells one what it is. What does not, otherwise.
    QString unnamedOnceShown(const QString& titlePattern) const {
        const QRegularExpression title(titlePattern);
        if (!QTest::qWaitFor(
                [&] { return !session_->shownWindowTitles().filter(title).isEmpty(); }))
            return QStringLiteral("no window titled %1 was offered to a screen reader")
                .arg(titlePattern);
        const QStringList unnamed = session_->unnamedControls();
        if (unnamed.isEmpty())
            return {};
        // The message of a failure is cut short; the whole list goes to the log.
        for (const QString& line : unnamed)
            qWarning().noquote() << line;
        return QStringLiteral("with %1 shown, these tell a screen reader nothing:\n%2")
            .arg(titlePattern, unnamed.join(QLatin1Char('\n')));
    }

private slots:
    void initTestCase() {
        openSession();
        if (!session_)
            return;
        QVERIFY2(session_->start(), "the main window did not show");
        mainWindow_ = session_->mainWindow();
    }

    // A step that failed may leave a message or an exercise open: the steps after it start
    // from a fresh program rather than fail on what it left.
    void cleanup() {
        if (!QTest::currentTestFailed() || !session_)
            return;
        session_->stop();
        if (session_->start())
            mainWindow_ = session_->mainWindow();
    }

    void cleanupTestCase() {
        capture_.reset();
        closeSession();
    }

    // What a learner sees of each window is its frame: the main window's is centred on the
    // screen, the help window's on the main window's, the about dialog's on the screen and the
    // settings dialog's on the main window's, with its messages above it. The main window
    // refuses to close; the others close. Each window's controls are named for screen readers.
    void windowsPlacedByTheirFrames() {
        QVERIFY2(QTest::qWaitFor([&] { return centredOnScreen(mainWindow_); }),
                 qPrintable(QStringLiteral("the main window is at ") + frameText(mainWindow_)));
        QString unnamed = unnamedOnceShown(titles::mainWindow);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
        QVERIFY(closeAsLearner(mainWindow_));
        QTest::qWait(1000);
        QVERIFY2(session_->program().state() == QProcess::Running &&
                     !xdotool::visibleWindows(titles::mainWindow).isEmpty(),
                 "the main window closed");

        QVERIFY(xdotool::click(mainWindow_, layout::helpButton));
        const quint64 help = waitForWindow(QStringLiteral("^Hilfe$"));
        QVERIFY2(help != 0, "the help window did not show");
        QVERIFY2(QTest::qWaitFor([&] { return centredOnWindow(help, mainWindow_); }),
                 qPrintable(QStringLiteral("the help window is at ") + frameText(help)));
        unnamed = unnamedOnceShown(QStringLiteral("^Hilfe$"));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
        QVERIFY(closeAsLearner(help));
        QVERIFY2(waitForNoWindow(QStringLiteral("^Hilfe$")), "the help window stayed");

        QVERIFY(xdotool::click(mainWindow_, layout::infoButton));
        const quint64 about = waitForWindow(QStringLiteral("^Info$"));
        QVERIFY2(about != 0, "the about dialog did not show");
        QVERIFY2(QTest::qWaitFor([&] { return centredOnScreen(about); }),
                 qPrintable(QStringLiteral("the about dialog is at ") + frameText(about)));
        unnamed = unnamedOnceShown(QStringLiteral("^Info$"));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
        QVERIFY(closeAsLearner(about));
        QVERIFY2(waitForNoWindow(QStringLiteral("^Info$")), "the about dialog stayed");

        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY2(QTest::qWaitFor([&] { return centredOnWindow(dialog, mainWindow_); }),
                 qPrintable(QStringLiteral("the settings dialog is at ") + frameText(dialog)));
        // Without a range the start is refused in a message, which stays above the dialog.
        QVERIFY(xdotool::click(dialog, layout::startButton));
        const quint64 refusal = waitForWindow(QStringLiteral("^%1$").arg(titles::error));
        QVERIFY2(refusal != 0, "no message refused the start");
        // The message and the dialog below it.
        unnamed = unnamedOnceShown(QStringLiteral("^%1$").arg(titles::error));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
        QVERIFY2(staysAbove(refusal, dialog, QPoint(5, 5)), "the message went below its dialog");
        QVERIFY(session_->readAndCloseMessage(titles::error)
                    .startsWith(QStringLiteral("Im Violinschlüssel")));
        QVERIFY(closeAsLearner(dialog));
        QVERIFY2(waitForNoWindow(titles::settings), "the settings dialog stayed");
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
                wrongAnswer_ = {*note, neighbourOf(*note)};
                missed.append(
                    QStringLiteral("Aufgabe 2: gesucht %1, gewählt %2 (eine Sekunde zu hoch)")
                        .arg(noteName(Violin, *note), noteName(Violin, neighbourOf(*note))));
            } else if (task == 3) {
                // The message asks for the space bar, also once its text has been clicked.
                QVERIFY(session_->clickMessageText(titles::message));
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

    // The statistics window opens beside the main window, hiding at most half of it on a
    // screen too small to leave it whole, once however often it is asked for, and names what
    // went wrong in the treble exercise. Moved by the learner, it keeps its new place.
    void statisticsOfTheTrebleExercise() {
        QVERIFY(xdotool::click(mainWindow_, layout::statisticsButton));
        const quint64 window = waitForWindow(QStringLiteral("^%1$").arg(titles::statistics));
        QVERIFY2(window != 0, "the statistics window did not show");
        const QString unnamed = unnamedOnceShown(QStringLiteral("^%1$").arg(titles::statistics));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
        QTest::qWait(500);
        const std::optional<QRect> frame = xprop::frameOnScreen(window);
        const std::optional<QRect> main = xprop::frameOnScreen(mainWindow_);
        QVERIFY(frame && main);
        const QRect hidden = frame->intersected(*main);
        QVERIFY2(QGuiApplication::primaryScreen()->geometry().contains(*frame) &&
                     qint64(hidden.width()) * hidden.height() * 2 <
                         qint64(main->width()) * main->height(),
                 qPrintable(QStringLiteral("the statistics window is at %1, the main window at %2")
                                .arg(frameText(window), frameText(mainWindow_))));
        const QString confusion =
            QStringLiteral("%1 statt %2: 1 ×")
                .arg(noteName(Violin, wrongAnswer_.second), noteName(Violin, wrongAnswer_.first));
        expectStatistics({confusion, QStringLiteral("Aufgaben: 25 (falsch: 1, Zeit abgelaufen: 1)"),
                          QStringLiteral("Übungen: 1")});
        QVERIFY(xdotool::click(mainWindow_, layout::statisticsButton));
        QTest::qWait(500);
        QCOMPARE(xdotool::visibleWindows(QStringLiteral("^%1$").arg(titles::statistics)).size(), 1);
        QVERIFY(xdotool::perform({QStringLiteral("windowmove"), QString::number(window),
                                  QStringLiteral("40"), QStringLiteral("60")}));
        QVERIFY2(QTest::qWaitFor([&] {
                     const std::optional<QRect> moved = xprop::frameOnScreen(window);
                     return moved && moved != frame;
                 }),
                 "the statistics window did not move");
        QTest::qWait(300);
        movedStatistics_ = xprop::frameOnScreen(window).value_or(QRect());
        QVERIFY(closeAsLearner(window));
        QVERIFY2(waitForNoWindow(QStringLiteral("^%1$").arg(titles::statistics)),
                 "the statistics window stayed");
    }

    // Bass clef A to d' answered on the keyboard window, one answer wrong, aborted.
    void bassExerciseOnKeyboard() {
        startCapture();
        const quint64 dialog = session_->openSettings(layout::bassButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        // Without a time limit, so that no time-out comes up while the windows are read; the
        // head stays long enough to be seen before that.
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("3")));
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Bass, 2)));
        QVERIFY(xdotool::click(dialog, layout::rangeBox(Bass, 12)));
        QVERIFY(xdotool::click(dialog, layout::startWithKeyboardButton));
        const quint64 keyboard = waitForWindow(titles::keyboard);
        QVERIFY2(keyboard != 0, "the keyboard window did not show");
        QVERIFY2(waitForNoWindow(titles::settings), "the settings dialog stayed open");

        QList<int> asked;
        const auto nextNote = [&](bool untilGone) {
            const std::optional<int> note = watchAskedNote(Bass, untilGone);
            if (note)
                asked.append(*note);
            return note;
        };
        std::optional<int> note = nextNote(true);
        QVERIFY2(note && *note >= 2 && *note <= 12, "no note in the range chosen was asked");

        // At its corner once the window manager has framed it as asked, and above the
        // main window when that is clicked.
        const auto atCorner = [&] {
            const std::optional<QRect> keys = xprop::frameOnScreen(keyboard);
            const std::optional<QRect> main = xprop::frameOnScreen(mainWindow_);
            return keys && main && keys->bottomLeft() == main->bottomLeft();
        };
        QVERIFY2(QTest::qWaitFor(atCorner, 2000),
                 qPrintable(QStringLiteral("the keyboard window showed at %1, the main window "
                                           "at %2")
                                .arg(frameText(keyboard), frameText(mainWindow_))));
        QVERIFY2(staysAbove(keyboard, mainWindow_, mainWindowBlank),
                 "the keyboard window went below the main window");
        // Beside the main window during the exercise.
        const QString unnamed = unnamedOnceShown(titles::keyboard);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
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
        QVERIFY(session_->typeTimePerNote(dialog, QStringLiteral("9")));
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the settings dialog stayed open");

        // Once the time bar runs, the task is on.
        QVERIFY2(QTest::qWaitFor(
                     [&] { return tintAt(mainWindowShot(), layout::progressStart) != Tint::White; },
                     10000),
                 "the time bar did not start");
        QCOMPARE(headInColumn(mainWindowShot(), layout::askedColumnX).state, Head::State::Hidden);
        QCOMPARE(session_->abortExercise(), abortedText);
    }

    // Alto clef c' and d', chosen through "Weitere Schlüssel…": c' stands on the middle line
    // beside the alto sign; answered with the treble clef's h' there, it is marked in both rows
    // and named as read in the treble clef. The other tasks are answered on either row.
    void altoExercise() {
        const quint64 dialog = session_->openSettings(layout::moreClefsButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        // The clef's whole range stands ticked; c' and d' instead.
        for (const int box : {0, 14, 7, 8})
            QVERIFY(xdotool::click(dialog, layout::rangeBox(Violin, box)));
        QVERIFY(xdotool::click(dialog, layout::startButton));
        QVERIFY2(waitForNoWindow(titles::settings), "the settings dialog stayed open");

        const QString alto = QStringLiteral("Alto");
        constexpr int cOne = 7; // c'
        // c' and d' in the treble row and in the bass row.
        const std::pair<int, int> treble{4, 5};
        const std::pair<int, int> bass{11, 12};
        constexpr int trebleH = 10; // h', where the treble clef has the alto clef's c'
        QString missed;
        for (int task = 1; task <= tasksPerExercise; ++task) {
            const std::optional<int> note = session_->watchAskedNote(alto, true);
            QVERIFY2(note && (*note == cOne || *note == cOne + 1),
                     qPrintable(QStringLiteral("task %1: no c' or d' came and went").arg(task)));
            if (*note == cOne && missed.isEmpty()) {
                QVERIFY(xdotool::click(mainWindow_, layout::answerButton(Violin, trebleH)));
                QImage shot;
                QVERIFY2(QTest::qWaitFor([&] {
                             shot = mainWindowShot();
                             return tintAt(shot, layout::answerFace(Violin, trebleH)) == Tint::Red;
                         }),
                         "the chosen answer button did not turn red");
                QCOMPARE(tintAt(shot, layout::answerFace(Violin, treble.first)), Tint::Green);
                QCOMPARE(tintAt(shot, layout::answerFace(Bass, bass.first)), Tint::Green);
                const Head asked = headInColumn(shot, layout::askedColumnX);
                QCOMPARE(asked.state, Head::State::Shown);
                QVERIFY2(
                    std::abs(asked.top - layout::middleLineHeadTop) < 40,
                    qPrintable(
                        QStringLiteral("c' stands at %1, not on the middle line").arg(asked.top)));
                QVERIFY2(darkestIn(shot, layout::clefSignBetweenLines).lightness() < 60,
                         "no clef sign stands beside the staff");
                const Head chosen = headInColumn(shot, layout::chosenColumnX);
                QCOMPARE(noteAtHeadTop(alto, chosen.top).value_or(-1), 13);
                QVERIFY2(waitForDisplayEnd(), "the wrong-answer display did not end");
                missed = QStringLiteral("Aufgabe %1: gesucht c', gewählt h' (eine Septime zu hoch "
                                        "– wie im Violinschlüssel gelesen)")
                             .arg(task);
                continue;
            }
            const auto& row = task % 2 ? treble : bass;
            QVERIFY(xdotool::click(mainWindow_,
                                   layout::answerButton(task % 2 ? Violin : Bass,
                                                        *note == cOne ? row.first : row.second)));
        }
        QString details;
        QCOMPARE(session_->readAndCloseMessage(titles::message, &details),
                 QStringLiteral("Du hast von 25 Aufgaben 1 falsch gemacht."));
        QCOMPARE(details, missed);
        QVERIFY2(darkestIn(mainWindowShot(), layout::clefSignBetweenLines).lightness() > 100,
                 "the clef sign stayed after the exercise");
    }

    // Killed in the third task of an exercise, started again: the two tasks answered, by their
    // letters typed, are kept.
    void killedExerciseKeepsItsTasks() {
        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the settings dialog stayed open");
        // Answered by letters alone, typed into the window the dialog gave the focus back to.
        for (int task = 1; task <= 2; ++task) {
            const std::optional<int> note = session_->watchAskedNote(Violin, true);
            QVERIFY2(note, qPrintable(QStringLiteral("task %1: no note came and went").arg(task)));
            QVERIFY(xdotool::type(noteName(Violin, *note).left(1)));
        }
        QVERIFY2(session_->watchAskedNote(Violin, false), "the third note was not shown");
        session_->stop();
        QVERIFY2(session_->start(), "the main window did not show again");
        mainWindow_ = session_->mainWindow();
        QVERIFY(xdotool::click(mainWindow_, layout::statisticsButton));
        const quint64 window = waitForWindow(QStringLiteral("^%1$").arg(titles::statistics));
        QVERIFY2(window != 0, "the statistics window did not show");
        expectStatistics({QStringLiteral("Aufgaben: 27 (falsch: 1, Zeit abgelaufen: 1)"),
                          QStringLiteral("Übungen: 2")});
        QVERIFY2(QTest::qWaitFor([&] { return xprop::frameOnScreen(window) == movedStatistics_; }),
                 qPrintable(QStringLiteral("the statistics window came back at %1, not at %2, %3")
                                .arg(frameText(window))
                                .arg(movedStatistics_.x())
                                .arg(movedStatistics_.y())));
        QVERIFY(closeAsLearner(window));
    }

    // In each clef a key's signature stands after the clef, every sign at its place, the head
    // right of it. With accidentals of the tasks' own, one comes before its head in the
    // head's height; answered with the button alone, the chosen natural is marked by a red ♮.
    void keySignaturesOnTheStaff() {
        for (const StaffKey& key : staffKeys) {
            const bool ownSigns = key.clef == Violin;
            const bool cClef = key.clef != Violin && key.clef != Bass;
            const quint64 dialog =
                session_->openSettings(cClef                ? layout::moreClefsButton
                                       : key.clef == Violin ? layout::violinButton
                                                            : layout::bassButton);
            QVERIFY2(dialog != 0, "the settings dialog did not open");
            if (cClef) {
                QVERIFY(xdotool::click(dialog, layout::clefList));
                QTest::qWait(300);
                if (key.clef == QStringLiteral("Tenor")) {
                    // The list of clefs opened over the dialog.
                    const QString unnamed = unnamedOnceShown(titles::settings);
                    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
                }
                QVERIFY(xdotool::key(QStringLiteral("Home")));
                if (key.clef == QStringLiteral("Tenor"))
                    QVERIFY(xdotool::key(QStringLiteral("Down")));
                QVERIFY(xdotool::key(QStringLiteral("Return")));
                QTest::qWait(300);
            }
            // Own signs of both kinds, or none.
            QVERIFY(session_->chooseKey(dialog, key.fifths, ownSigns ? 3 : 0));
            QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("0")));
            if (cClef) {
                QVERIFY(xdotool::click(dialog, layout::startButton));
                QVERIFY2(waitForNoWindow(titles::settings), "the settings dialog stayed open");
            } else {
                QVERIFY2(session_->startRange(dialog, key.clef, 4, 13),
                         "the settings dialog stayed open");
            }

            // The clef's sign opens the staff; a C clef's ends where its place does.
            const int staffLeft = layout::pixel(layout::staffLeft, 0).x();
            // Empty until the exercise's staff shows its sign.
            const auto clefSign = [&](const QImage& shot) {
                const QList<QRect> marks = marksBetween(shot, staffLeft, shot.width() - 1);
                QRect sign;
                for (qsizetype i = 0; i < key.clefMarks && key.clefMarks <= marks.size(); ++i)
                    sign |= marks.at(i);
                return sign;
            };
            const int headsLeft = cClef ? layout::pixel(3990, 0).x() : staffLeft;
            const auto signatureLeft = [&](const QImage& shot) {
                const QRect sign = clefSign(shot);
                return sign.isEmpty() ? headsLeft : sign.right() + 1;
            };
            const auto signsBeforeHead = [&](const QImage& shot, int head) {
                return marksBetween(shot, signatureLeft(shot),
                                    head - int(layout::ledgerHalfWidth / 15) - 2);
            };
            bool ownSignSeen = !ownSigns;
            bool naturalSeen = !ownSigns;
            for (int task = 1; task <= 12 && !(ownSignSeen && naturalSeen); ++task) {
                QImage shot;
                std::optional<int> head;
                QVERIFY2(QTest::qWaitFor([&] {
                             shot = mainWindowShot();
                             head = headColumnAfter(shot, signatureLeft(shot));
                             if (!head)
                                 return false;
                             // A task's head is white; a wrong answer's display may still show.
                             const Head shown = headInColumn(shot, *head);
                             return shown.state == Head::State::Shown &&
                                    tintAt(shot, headInside(*head, shown)) == Tint::White;
                         }),
                         qPrintable(key.clef + QStringLiteral(": no head showed")));
                const QString misplaced = cClef ? QString() : misplacedClef(clefSign(shot), key);
                QVERIFY2(misplaced.isEmpty(),
                         qPrintable(key.clef + QStringLiteral(": ") + misplaced));
                const QList<QRect> signs = signsBeforeHead(shot, *head);
                const std::size_t count = key.places.size();
                QVERIFY2(signs.size() == qsizetype(count) || signs.size() == qsizetype(count + 1),
                         qPrintable(QStringLiteral("%1: %2 signs before the head")
                                        .arg(key.clef)
                                        .arg(signs.size())));
                for (std::size_t i = 0; i < count; ++i) {
                    const QString wrong =
                        misplacedSign(signs.at(qsizetype(i)), key.fifths, key.places[i]);
                    QVERIFY2(wrong.isEmpty(), qPrintable(key.clef + QStringLiteral(": ") + wrong));
                }
                if (signs.size() > qsizetype(count)) {
                    // Its own sign stands right before the head, across the head's height.
                    const Head asked = headInColumn(shot, *head);
                    const QRect own = signs.last();
                    const double middle = asked.top + layout::headDiameter / 2;
                    QVERIFY2(own.top() * 15.0 < middle && (own.bottom() + 1) * 15.0 > middle,
                             qPrintable(QStringLiteral("the task's own sign spans %1..%2 px, its "
                                                       "head's middle is at %3 twips")
                                            .arg(own.top())
                                            .arg(own.bottom())
                                            .arg(middle)));
                    ownSignSeen = true;
                }
                if (!ownSigns)
                    continue;
                // In A major a natural's button without its sign is wrong where the key or the
                // task's own sign alters the note, right where the task's own ♮ asks for it.
                const std::optional<int> note =
                    noteAtHeadTop(key.clef, headInColumn(shot, *head).top);
                QVERIFY(note);
                QVERIFY(xdotool::click(mainWindow_, layout::answerButton(Violin, *note)));
                QImage display;
                std::optional<int> chosen;
                if (!QTest::qWaitFor(
                        [&] {
                            display = mainWindowShot();
                            chosen = headColumnAfter(display, *head + 20);
                            return chosen.has_value();
                        },
                        2000))
                    continue;
                const QList<QRect> chosenSigns = marksBetween(
                    display, *head + 20, *chosen - int(layout::ledgerHalfWidth / 15) - 2);
                const auto red = [&](const QRect& mark) {
                    for (int y = mark.top(); y <= mark.bottom(); ++y)
                        for (int x = mark.left(); x <= mark.right(); ++x)
                            if (tintAt(display, {x, y}) == Tint::Red)
                                return true;
                    return false;
                };
                // The chosen natural needs a ♮ where the key sharpens it, and none where the
                // key leaves it natural.
                const bool sharpenedByKey = aMajor::sharpened(*note);
                QVERIFY2(!sharpenedByKey || naturalSeen ||
                             (chosenSigns.size() == 1 && red(chosenSigns.first())),
                         "no red natural stands before the chosen head");
                QVERIFY2(sharpenedByKey || chosenSigns.isEmpty(),
                         "a sign stands before a chosen natural that the key leaves natural");
                naturalSeen = naturalSeen || sharpenedByKey;
                // The staff empties while the next note sounds.
                QVERIFY2(QTest::qWaitFor([&] {
                             const QImage emptied = mainWindowShot();
                             return !headColumnAfter(emptied, signatureLeft(emptied));
                         }),
                         "the wrong-answer display did not end");
            }
            QVERIFY2(ownSignSeen, "no task carried a sign of its own");
            QCOMPARE(session_->abortExercise(), abortedText);
        }
    }

    // A major, chosen in the dialog, c' to e'': the f, c and g that its signature sharpens
    // answered with the ♯ toggle, clicked or from its keys "#" and "+", and then the button; one
    // of them with the button alone, a forgotten sign named in the details.
    void aMajorExerciseWithToggles() {
        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        QVERIFY(session_->chooseKey(dialog, 3));
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the settings dialog stayed open");
        const std::optional<int> column = session_->askedColumn();
        QVERIFY2(column && *column > layout::askedColumnX,
                 "no head showed right of the key signature");

        QString missed;
        const QStringList sharpKeys = {QStringLiteral("numbersign"), QStringLiteral("plus")};
        int sharps = 0;
        for (int task = 1; task <= tasksPerExercise; ++task) {
            const std::optional<int> note = session_->watchAskedNote(Violin, true, *column);
            QVERIFY2(note, qPrintable(QStringLiteral("task %1: no note came and went").arg(task)));
            const bool sharp = aMajor::sharpened(*note);
            if (sharp && missed.isEmpty()) {
                QVERIFY(xdotool::click(mainWindow_, layout::answerButton(Violin, *note)));
                const QString fault = session_->wrongAnswerCameAndWent(*column);
                QVERIFY2(fault.isEmpty(),
                         qPrintable(QStringLiteral("the natural's button: ") + fault));
                missed = aMajor::forgottenSign(task, *note);
                continue;
            }
            if (sharp) {
                // The first and every third from the toggle itself, the others from its keys.
                QVERIFY(sharps % 3 == 0 ? xdotool::click(mainWindow_, layout::accidentalToggle(
                                                                          layout::sharpToggle))
                                        : xdotool::key(sharpKeys.at(sharps % 3 - 1)));
                ++sharps;
            }
            QVERIFY(xdotool::click(mainWindow_, layout::answerButton(Violin, *note)));
        }
        QString details;
        QCOMPARE(session_->readAndCloseMessage(titles::message, &details),
                 QStringLiteral("Du hast von 25 Aufgaben 1 falsch gemacht."));
        QCOMPARE(details, missed);
        QVERIFY2(sharps > 0, "no sharp was answered with the toggle");
    }

    // Four notes per task, chosen in the dialog, treble clef c' to e'' in C major: each phrase
    // read off the staff head by head and answered on the buttons, pressed by their names over
    // the accessibility bus as a screen reader presses them (the other exercises click), every
    // note answered turning green as the arrow under the staff moves on. The second phrase's second
    // note answered wrongly stands green with the chosen note red beside it, marked on the buttons
    // until the arrow moves on a second later. The result counts notes; the details name the place.
    void phraseExercise() {
        constexpr int notes = 4;
        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("0")));
        QVERIFY(session_->chooseKey(dialog, 0));
        QVERIFY(session_->chooseNotesPerTask(dialog, notes));
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the settings dialog stayed open");
        QCOMPARE(QSettings(session_->settingsFile(), QSettings::IniFormat)
                     .value(QStringLiteral("Phrasen/NotenProAufgabe"))
                     .toString(),
                 QString::number(notes));

        QString missed;
        QHash<QString, AccessibleButton> answers;
        for (int task = 1; task <= tasksPerExercise; ++task) {
            const std::optional<QList<int>> phrase = session_->watchPhrase(Violin, notes);
            QVERIFY2(phrase, qPrintable(QStringLiteral("task %1: no phrase showed").arg(task)));
            if (task == 1) {
                const QString unnamed = unnamedOnceShown(titles::mainWindow);
                QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
                const auto rowOffered = [&] {
                    answers = session_->enabledButtons();
                    for (int index = 0; index < 15; ++index)
                        if (!answers.contains(noteName(Violin, index)))
                            return false;
                    return true;
                };
                QVERIFY2(QTest::qWaitFor(rowOffered),
                         "the treble clef's buttons were not offered to a screen reader");
            }
            for (int place = 0; place < notes; ++place) {
                const int note = phrase->at(place);
                const bool wrong = task == 2 && place == 1;
                const int chosen = wrong ? neighbourOf(note) : note;
                QElapsedTimer sinceAnswer;
                sinceAnswer.start();
                const QString fault = session_->press(answers.value(noteName(Violin, chosen)));
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
                if (wrong) {
                    checkPhraseMistakeShown(notes, place, note, chosen, sinceAnswer);
                    if (QTest::currentTestFailed())
                        return;
                    missed = QStringLiteral("Aufgabe %1, Note %2: gesucht %3, gewählt %4 (eine "
                                            "Sekunde zu hoch)")
                                 .arg(task)
                                 .arg(place + 1)
                                 .arg(noteName(Violin, note), noteName(Violin, chosen));
                } else if (place + 1 < notes) {
                    QVERIFY2(session_->phraseNoteAnswered(place, notes),
                             qPrintable(QStringLiteral("task %1, note %2: not green, or the arrow "
                                                       "did not move on")
                                            .arg(task)
                                            .arg(place + 1)));
                }
            }
        }
        const QString unnamed = unnamedOnceShown(QStringLiteral("^%1$").arg(titles::message));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed));
        QString details;
        QCOMPARE(
            session_->readAndCloseMessage(titles::message, &details),
            QStringLiteral("Du hast von %1 Noten 1 falsch gemacht.").arg(tasksPerExercise * notes));
        QCOMPARE(details, missed);
    }

    void endButtonEndsProgram() { endWithEndButton(); }

    // On an English system the program speaks English and names notes as English speakers do
    // (C4, B4); its captions fit their buttons, and an exercise ends in an English line.
    void englishOnAnEnglishSystem() {
        closeSession();
        openSession();
        if (!session_)
            return;
        session_->setLocale(QStringLiteral("en_US.UTF-8"));
        session_->setSettingsTitle(QStringLiteral("^Settings$"));
        QVERIFY2(session_->start(), "the main window did not show");
        mainWindow_ = session_->mainWindow();
        QVERIFY(QTest::qWaitFor([&] { return centredOnScreen(mainWindow_); }));

        const std::pair<const char*, QRect> mainButtons[] = {
            {"Treble clef", layout::captionArea(120, 120, 1455, 375)},
            {"Bass clef", layout::captionArea(1680, 120, 1455, 375)},
            {"Ear training", layout::captionArea(120, 600, 1455, 255)},
            {"Stop exercise", layout::captionArea(120, 960, 3015, 375)},
            {"Help", layout::helpCaption},
            {"About", layout::captionArea(8400, 120, 1215, 375)},
            {"Quit", layout::captionArea(9720, 120, 1215, 375)},
            {"Statistics", layout::captionArea(120, 2760, 3015, 375)},
            {"F3", layout::answerCaption(Violin, 0)},
            {"B4", layout::answerCaption(Violin, 10)},
            {"F2", layout::answerCaption(Bass, 0)}};
        // Read once the window has painted them.
        for (const auto& [caption, face] : mainButtons)
            QVERIFY2(QTest::qWaitFor([&] { return captionFits(mainWindowShot(), face); }, 5000),
                     caption);

        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        const std::pair<const char*, QRect> dialogButtons[] = {
            {"Start exercise", layout::captionArea(1320, 5040, 1815, 375)},
            {"Start exercise with keyboard", layout::captionArea(3480, 5040, 2655, 375)},
            {"Cancel", layout::captionArea(6480, 5040, 1815, 375)}};
        for (const auto& [caption, face] : dialogButtons)
            QVERIFY2(QTest::qWaitFor([&] { return captionFits(grabWindow(dialog), face); }, 5000),
                     caption);

        // The first task runs out of time and is named in the English way; then the learner
        // stops.
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("1"), QStringLiteral("1")));
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the settings dialog stayed open");
        const std::optional<int> note = session_->watchAskedNote(Violin, false);
        QVERIFY2(note, "no note was shown");
        const QStringList english = {"F3", "G3", "A3", "B3", "C4", "D4", "E4", "F4",
                                     "G4", "A4", "B4", "C5", "D5", "E5", "F5"};
        QCOMPARE(session_->readAndCloseMessage(titles::message),
                 QStringLiteral("Time is up. The note was: %1\n( Press the space bar to close "
                                "this message )")
                     .arg(english.at(*note)));
        QCOMPARE(session_->abortExercise(),
                 QStringLiteral("You stopped the exercise, so it is not marked."));
    }
};

int main(int argc, char* argv[]) {
    return runOnOwnDisplay<EndToEndTest>(argc, argv);
}

#include "tst_endtoend.moc"

// A child at the controls: a storm of random clicks and keys on every window of the real
// program, aimed at its buttons, keys and fields or anywhere at all. The program must neither
// crash nor get stuck: "Ende" may end it (cleanly), and afterwards it calms down and runs an
// exercise as usual.
#include "DesktopStandIns.h"
#include "OwnDisplay.h"
#include "ProgramSession.h"
#include "ScreenReading.h"
#include "WindowLayout.h"
#include "WindowProperties.h"
#include "Xdotool.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRect>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

const QString Violin = QStringLiteral("Violin");

// How many clicks and keys; `./test --long` asks for more.
int stormLength() {
    const int asked = qEnvironmentVariableIntValue("VIRELO_STORM_EVENTS");
    return asked > 0 ? asked : 2000;
}

// A storm that failed is repeated with the seed it printed in VIRELO_STORM_SEED.
quint32 stormSeed() {
    bool given = false;
    const quint32 asked = qEnvironmentVariable("VIRELO_STORM_SEED").toUInt(&given);
    return given ? asked : QRandomGenerator::global()->generate();
}

// Events per call of xdotool, and a pause after each as short as a quick hand's.
constexpr int eventsPerBurst = 20;
const QString pauseSeconds = QStringLiteral("0.02");

const QStringList keys = {"space", "Return", "Escape", "Tab",       "shift+Tab", "Left",
                          "Right", "Up",     "Down",   "BackSpace", "Delete",    "ctrl+a",
                          "0",     "1",      "4",      "9",         "comma",     "period",
                          "minus", "x",      "alt+F4", "F1"};

using xdotool::ShownWindow;
using xdotool::shownWindows;

// What a child aims at in each window: its buttons, keys and fields, in the window's pixels.
QList<QPoint> aimsIn(const QString& title) {
    QList<QPoint> aims;
    if (title.startsWith(QStringLiteral("Virelo"))) {
        aims = {layout::violinButton,
                layout::bassButton,
                layout::violinEarTrainingButton,
                layout::bassEarTrainingButton,
                layout::abortButton,
                layout::helpButton,
                layout::infoButton};
        for (int index = 0; index < 15; ++index)
            aims << layout::answerButton(Violin, index)
                 << layout::answerButton(QStringLiteral("Bass"), index);
    } else if (title == QStringLiteral("Einstellungen")) {
        aims = {layout::timePerNoteField, layout::disappearField, layout::startButton,
                layout::startWithKeyboardButton, layout::cancelButton};
        for (int index = 0; index < 15; ++index)
            aims << layout::rangeBox(Violin, index)
                 << layout::rangeBox(QStringLiteral("Bass"), index);
    } else if (title == QStringLiteral("Keyboard")) {
        for (int index = 0; index < 15; ++index)
            aims << layout::whiteKey(index);
    } else if (title == QStringLiteral("Hilfe")) {
        aims = {layout::helpCloseButton};
    } else if (title == QStringLiteral("Info")) {
        aims = {layout::readmeButton, layout::homePageLink, layout::infoOkButton};
    }
    return aims;
}

// One burst of clicks and keys as arguments for xdotool: each a click on a random window, at
// something aimed at or anywhere in it, or a key for whatever has the focus.
QStringList burst(const QList<ShownWindow>& windows, QRandomGenerator& random) {
    QStringList commands;
    for (int event = 0; event < eventsPerBurst; ++event) {
        if (windows.isEmpty() || random.bounded(5) == 0) {
            commands << QStringLiteral("key") << keys.at(random.bounded(keys.size()));
        } else {
            const ShownWindow& window = windows.at(random.bounded(windows.size()));
            const QList<QPoint> aims = aimsIn(window.title);
            const QPoint point = !aims.isEmpty() && random.bounded(3) != 0
                                     ? aims.at(random.bounded(aims.size()))
                                     : QPoint(random.bounded(window.frame.width()),
                                              random.bounded(window.frame.height()));
            const QPoint onScreen = window.frame.topLeft() + point;
            commands << QStringLiteral("mousemove") << QString::number(onScreen.x())
                     << QString::number(onScreen.y()) << QStringLiteral("click")
                     << QStringLiteral("--delay") << QStringLiteral("0") << QStringLiteral("1");
        }
        commands << QStringLiteral("sleep") << pauseSeconds;
    }
    return commands;
}

// The main window and the keyboard, which goes with the exercise.
// Windows that may stay open beside an exercise; a modal dialog keeps keys from them. A space
// would press their focused button, which may open a question behind which it goes on.
bool isBesideWindow(const ShownWindow& window) {
    return window.title == QStringLiteral("Hilfe") || window.title == QStringLiteral("Statistik");
}

bool isLastingWindow(const ShownWindow& window) {
    return window.title.startsWith(QStringLiteral("Virelo")) ||
           window.title == QStringLiteral("Keyboard");
}

// The windows that close with the Escape key; the others are messages. A space in the file
// dialog of the statistics only types into its name field.
bool isDialog(const ShownWindow& window) {
    return window.title == QStringLiteral("Einstellungen") ||
           window.title == QStringLiteral("Info") ||
           window.title == QStringLiteral("Als CSV speichern") || isBesideWindow(window);
}

// The main window's buttons that open a window, with the title of the window each opens.
struct WindowButton {
    QPoint button;
    QString title;
};
const QList<WindowButton> windowButtons = {
    {layout::violinButton, QStringLiteral("Einstellungen")},
    {layout::bassButton, QStringLiteral("Einstellungen")},
    {layout::violinEarTrainingButton, QStringLiteral("Einstellungen")},
    {layout::bassEarTrainingButton, QStringLiteral("Einstellungen")},
    {layout::helpButton, QStringLiteral("Hilfe")},
    {layout::infoButton, QStringLiteral("Info")}};

} // namespace

class ClickStormTest : public OwnDisplayTest {
    Q_OBJECT

public:
    using OwnDisplayTest::OwnDisplayTest;

private:
    DesktopStandIns desktop_;
    int endings_ = 0;
    int restored_ = 0;

    // "Ende" was clicked: the main window is gone or going. One that a click on its title bar
    // minimised is brought back, as a learner does from the task bar.
    bool hasEnded(const QList<ShownWindow>& windows) {
        const quint64 main = session_->mainWindow();
        if (session_->program().state() == QProcess::NotRunning)
            return true;
        if (std::any_of(windows.begin(), windows.end(),
                        [main](const ShownWindow& window) { return window.id == main; }))
            return false;
        // A listing taken while another window closed comes back empty: ask about the main
        // window itself.
        if (xdotool::visibleWindows(titles::mainWindow).contains(main))
            return false;
        if (!xprop::isMinimised(main))
            return true;
        ++restored_;
        xdotool::perform({QStringLiteral("windowactivate"), QString::number(main)});
        return false;
    }

    // After "Ende" the program has gone as it should: it is started again.
    void checkEndedCleanlyAndRestart() {
        QProcess& program = session_->program();
        QVERIFY2(program.waitForFinished(30000),
                 qPrintable(
                     QStringLiteral("the program neither ran on nor ended; its main window "
                                    "is in the state \"%1\", and shown is:\n%2")
                         .arg(xprop::values(session_->mainWindow(), QStringLiteral("_NET_WM_STATE"))
                                  .join(QLatin1Char(' ')),
                              session_->whatIsShown())));
        const QByteArray output = session_->stop();
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                 qPrintable(QStringLiteral("the program crashed (exit code %1); it wrote:\n%2")
                                .arg(program.exitCode())
                                .arg(QString::fromLocal8Bit(output))));
        ++endings_;
        // The storm may have chosen another language in the settings dialog, which the next
        // start would show; the checks read the German windows.
        QSettings(session_->settingsFile(), QSettings::IniFormat)
            .remove(QStringLiteral("Einstellungen/Sprache"));
        QVERIFY2(session_->start(), "the main window did not show again");
    }

    // Closes every message and dialog the storm left open and aborts a running exercise, as a
    // teacher would; false if the program would not come to rest.
    bool calmDown() {
        QElapsedTimer spent;
        spent.start();
        while (spent.elapsed() < 60000) {
            QList<ShownWindow> open = shownWindows();
            if (hasEnded(open)) {
                checkEndedCleanlyAndRestart();
                if (QTest::currentTestFailed())
                    return false;
                continue;
            }
            open.removeIf(isLastingWindow);
            if (!open.isEmpty()) {
                // Messages first: they stand above the dialogs that raised them; help and the
                // statistics last, since a modal dialog keeps keys from them. Of two alike, the
                // one with the focus: the file dialog's question bears the dialog's own title.
                const quint64 focused = xdotool::focusedWindow();
                const auto rank = [focused](const ShownWindow& window) {
                    return std::pair(!isDialog(window)        ? 0
                                     : isBesideWindow(window) ? 2
                                                              : 1,
                                     window.id != focused);
                };
                const ShownWindow& first =
                    *std::min_element(open.begin(), open.end(), [&](const auto& a, const auto& b) {
                        return rank(a) < rank(b);
                    });
                xdotool::perform(
                    {QStringLiteral("windowfocus"), QString::number(first.id),
                     QStringLiteral("key"),
                     isDialog(first) ? QStringLiteral("Escape") : QStringLiteral("space")});
                QTest::qWait(200);
                continue;
            }
            // Nothing in the way: end an exercise that may still run. Its message says so.
            if (!xdotool::click(session_->mainWindow(), layout::abortButton))
                return false;
            const bool messageCame = QTest::qWaitFor(
                [] {
                    const QList<ShownWindow> now = shownWindows();
                    return !std::all_of(now.begin(), now.end(), isLastingWindow);
                },
                1500);
            if (!messageCame)
                return true;
        }
        return false;
    }

    // A click on a button of the main window opens the window titled so, which stays open; its
    // id, or 0.
    quint64 openedToStay(QPoint button, const QString& title) {
        const QString pattern = QStringLiteral("^%1$").arg(title);
        if (!xdotool::click(session_->mainWindow(), button))
            return 0;
        const quint64 window = waitForWindow(pattern, 10000);
        QTest::qWait(500);
        return xdotool::visibleWindows(pattern).contains(window) ? window : 0;
    }

    void closeWithEscape(quint64 window, const QString& title) {
        QVERIFY(xdotool::perform({QStringLiteral("windowfocus"), QString::number(window),
                                  QStringLiteral("key"), QStringLiteral("Escape")}));
        QVERIFY2(waitForNoWindow(QStringLiteral("^%1$").arg(title)),
                 qPrintable(title + QStringLiteral(" stayed open")));
    }

private slots:
    void initTestCase() {
        openSession();
        if (!session_)
            return;
        QVERIFY(desktop_.isReady());
        session_->prependToPath(desktop_.folder());
        QVERIFY2(session_->start(), "the main window did not show");
    }

    void cleanupTestCase() { closeSession(); }

    void stormOfClicksAndKeys() {
        const quint32 seed = stormSeed();
        QRandomGenerator random(seed);
        qInfo("%d clicks and keys, seed %u", stormLength(), seed);
        QElapsedTimer spent;
        spent.start();
        QMap<QString, int> burstsSeen;
        for (int sent = 0; sent < stormLength(); sent += eventsPerBurst) {
            const QList<ShownWindow> windows = shownWindows();
            if (hasEnded(windows)) {
                checkEndedCleanlyAndRestart();
                if (QTest::currentTestFailed())
                    return;
                continue;
            }
            for (const ShownWindow& window : windows)
                ++burstsSeen[window.title];
            xdotool::perform(burst(windows, random));
        }
        qInfo("storm sent in %.1f s", double(spent.elapsed()) / 1000);
        for (auto seen = burstsSeen.cbegin(); seen != burstsSeen.cend(); ++seen)
            qInfo("bursts with \"%s\" open: %d", qPrintable(seen.key()), seen.value());

        const bool calm = calmDown();
        if (QTest::currentTestFailed())
            return;
        if (!calm)
            QFAIL(qPrintable(
                QStringLiteral("the program did not come to rest after the storm; still shown:\n") +
                session_->whatIsShown()));
        qInfo("at rest %.1f s after the storm began; \"Ende\" ended the program %d times, the "
              "main window was brought back %d times",
              double(spent.elapsed()) / 1000, endings_, restored_);
        QVERIFY2(calmDown(), "the program did not come to rest after the storm");
        const QImage rest = session_->mainWindowShot();
        QCOMPARE(headInColumn(rest, layout::askedColumnX).state, Head::State::Hidden);
        QCOMPARE(headInColumn(rest, layout::chosenColumnX).state, Head::State::Hidden);
    }

    // Nothing left over from the storm closes a window: each button opens its window, which
    // stays open until the learner closes it.
    void everyWindowOpensAfterwards() {
        for (const auto& [button, title] : windowButtons) {
            const quint64 window = openedToStay(button, title);
            if (window == 0)
                QFAIL(qPrintable(QStringLiteral("\"%1\" did not stay open; shown:\n%2")
                                     .arg(title, session_->whatIsShown())));
            closeWithEscape(window, title);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // A key held down since before a window opened does not close it.
    void windowStaysWhileEscapeHeld() {
        const QString title = QStringLiteral("Einstellungen");
        QVERIFY(xdotool::perform({QStringLiteral("keydown"), QStringLiteral("Escape")}));
        const quint64 window = openedToStay(layout::violinButton, title);
        const bool released = xdotool::perform({QStringLiteral("keyup"), QStringLiteral("Escape")});
        if (window == 0)
            QFAIL(qPrintable(QStringLiteral("\"%1\" did not stay open while Escape was held; "
                                            "shown:\n%2")
                                 .arg(title, session_->whatIsShown())));
        QVERIFY(released);
        closeWithEscape(window, title);
    }

    // Only the readme and the home page were ever handed to the desktop.
    void onlyReadmeAndHomePageOpened() {
        const QStringList opened = desktop_.opened();
        qInfo("%d addresses handed to the desktop", int(opened.size()));
        for (const QString& address : opened)
            QVERIFY2(address.endsWith(QStringLiteral("/readme.txt")) ||
                         address == QStringLiteral("https://www.virelo.example/"),
                     qPrintable(address));
    }

    // An exercise after the storm runs to its result like any other.
    void exerciseRunsAfterwards() {
        // An ear-training button followed by "Abbrechen" leaves ear training on until an
        // exercise ends, so one is started and aborted first.
        quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY2(session_->startRange(dialog, Violin, 0, 14), "the exercise did not start");
        QCOMPARE(session_->abortExercise(), abortedText);

        dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY(session_->typeTimes(dialog, QStringLiteral("0"), QStringLiteral("1")));
        // The storm may have chosen a key, which would move the heads and alter the notes.
        QVERIFY(session_->chooseKey(dialog, 0));
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the exercise did not start");
        for (int task = 1; task <= 25; ++task) {
            const std::optional<int> note = session_->watchAskedNote(Violin, true);
            if (!note || *note < 4 || *note > 13)
                QFAIL(qPrintable(QStringLiteral("task %1: no note of the range came; shown:\n%2")
                                     .arg(task)
                                     .arg(session_->whatIsShown())));
            if (!xdotool::click(session_->mainWindow(), layout::answerButton(Violin, *note)))
                QFAIL(qPrintable(QStringLiteral("task %1: the main window could not be clicked; "
                                                "shown:\n%2")
                                     .arg(task)
                                     .arg(session_->whatIsShown())));
        }
        QCOMPARE(session_->readAndCloseMessage(titles::message),
                 QStringLiteral("Du hast von 25 Aufgaben 0 falsch gemacht."));
    }

    void endButtonEndsProgram() { endWithEndButton(); }
};

int main(int argc, char* argv[]) {
    return runOnOwnDisplay<ClickStormTest>(argc, argv);
}

#include "tst_clickstorm.moc"

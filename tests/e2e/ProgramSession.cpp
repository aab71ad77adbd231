#include "ProgramSession.h"

#include "ScreenReading.h"
#include "WindowLayout.h"
#include "WindowProperties.h"
#include "Xdotool.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

ProgramSession::ProgramSession()
    : programPath_(QStringLiteral(VIRELO_PROGRAM)), settingsTitle_(titles::settings) {
    if (!home_.isValid() || !QDir().mkpath(configDir()) || !QDir().mkpath(runtimeDir()) ||
        !QFile::setPermissions(runtimeDir(),
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        problem_ = QStringLiteral("no home folder for the program");
        return;
    }
    sessionBus_ = std::make_unique<SessionBus>(runtimeDir());
    if (!sessionBus_->isRunning()) {
        problem_ = QStringLiteral("dbus-daemon did not start");
        return;
    }
    accessible_ = std::make_unique<AccessibleWindows>(sessionBus_->address());
    if (!accessible_->isConnected()) {
        problem_ = QStringLiteral("the accessibility bus did not start");
        return;
    }
    pulse_ = std::make_unique<PrivatePulseServer>();
    if (!pulse_->isRunning()) {
        problem_ = QStringLiteral("pulseaudio did not start");
        return;
    }
    qputenv("PULSE_SERVER", pulse_->address().toLocal8Bit());

    // Only the platform's own variables: where home, settings, sound and session bus are.
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment_.insert(QStringLiteral("HOME"), home_.path());
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir());
    environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
    environment_.insert(QStringLiteral("PULSE_SERVER"), pulse_->address());
    environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionBus_->address());
    // The program's own language, German, whatever the machine running the test speaks.
    setLocale(QStringLiteral("C.UTF-8"));
}

ProgramSession::~ProgramSession() {
    stop();
    qunsetenv("PULSE_SERVER");
}

QString ProgramSession::configDir() const {
    return home_.filePath(QStringLiteral("config"));
}

QString ProgramSession::runtimeDir() const {
    return home_.filePath(QStringLiteral("runtime"));
}

QString ProgramSession::settingsFile() const {
    return configDir() + QStringLiteral("/virel542.ini");
}

void ProgramSession::setLocale(const QString& lang, const QString& language) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment_.remove(QString::fromLatin1(name));
    environment_.insert(QStringLiteral("LANG"), lang);
    if (!language.isEmpty())
        environment_.insert(QStringLiteral("LANGUAGE"), language);
}

void ProgramSession::prependToPath(const QString& folder) {
    const QString path = environment_.value(QStringLiteral("PATH"));
    environment_.insert(QStringLiteral("PATH"), folder + QLatin1Char(':') + path);
}

bool ProgramSession::start() {
    program_.setProcessEnvironment(environment_);
    program_.setProcessChannelMode(QProcess::MergedChannels);
    program_.start(programPath_, {});
    if (!program_.waitForStarted())
        return false;
    mainWindow_ = waitForWindow(titles::mainWindow, 60000);
    return mainWindow_ != 0;
}

QByteArray ProgramSession::stop() {
    if (program_.state() != QProcess::NotRunning) {
        program_.kill();
        program_.waitForFinished(10000);
    }
    mainWindow_ = 0;
    return program_.isOpen() ? program_.readAll() : QByteArray();
}

QImage ProgramSession::mainWindowShot() const {
    return grabWindow(mainWindow_);
}

namespace {

QString headText(const QImage& shot, int columnX) {
    switch (headInColumn(shot, columnX).state) {
    case Head::State::Shown:
        return QStringLiteral("a head");
    case Head::State::Hidden:
        return QStringLiteral("no head");
    case Head::State::Unclear:
        break;
    }
    return QStringLiteral("something unclear");
}

} // namespace

QString ProgramSession::whatIsShown() const {
    QStringList lines;
    if (program_.state() == QProcess::NotRunning)
        lines.append(QStringLiteral("the program has ended, %1 (exit code %2)")
                         .arg(program_.exitStatus() == QProcess::CrashExit
                                  ? QStringLiteral("crashed")
                                  : QStringLiteral("normally"))
                         .arg(program_.exitCode()));
    const quint64 focus = xdotool::focusedWindow();
    for (const xdotool::ShownWindow& window : xdotool::shownWindows()) {
        const QRect& frame = window.frame;
        lines.append(QStringLiteral("window %1 \"%2\" at %3,%4 size %5x%6%7%8")
                         .arg(window.id)
                         .arg(window.title)
                         .arg(frame.x())
                         .arg(frame.y())
                         .arg(frame.width())
                         .arg(frame.height())
                         .arg(window.id == focus ? QStringLiteral(", has the focus") : QString(),
                              xprop::isModal(window.id) ? QStringLiteral(", modal") : QString()));
    }
    if (xdotool::visibleWindows(titles::mainWindow).isEmpty())
        lines.append(QStringLiteral("the main window is not shown"));
    if (accessible_)
        lines.append(accessible_->describeWindows());
    if (mainWindow_ != 0) {
        const QImage shot = mainWindowShot();
        lines.append(
            QStringLiteral("staff: %1 in the asked column, %2 in the chosen column")
                .arg(headText(shot, layout::askedColumnX), headText(shot, layout::chosenColumnX)));
    }
    return lines.join(QLatin1Char('\n'));
}

quint64 ProgramSession::openSettings(QPoint modeButton) const {
    if (!xdotool::click(mainWindow_, modeButton))
        return 0;
    const quint64 dialog = waitForWindow(settingsTitle_);
    const bool focused =
        dialog != 0 && QTest::qWaitFor([&] { return xdotool::focusedWindow() == dialog; });
    return focused ? dialog : 0;
}

bool ProgramSession::typeTimes(quint64 dialog, const QString& perNote,
                               const QString& disappear) const {
    // Typing replaces what is selected.
    return xdotool::click(dialog, layout::timePerNoteField) &&
           xdotool::key(QStringLiteral("ctrl+a")) && xdotool::type(perNote) &&
           xdotool::click(dialog, layout::disappearField) &&
           xdotool::key(QStringLiteral("ctrl+a")) && xdotool::type(disappear);
}

bool ProgramSession::startRange(quint64 dialog, const QString& clef, int lowest,
                                int highest) const {
    return xdotool::click(dialog, layout::rangeBox(clef, lowest)) &&
           xdotool::click(dialog, layout::rangeBox(clef, highest)) &&
           xdotool::click(dialog, layout::startButton) && waitForNoWindow(settingsTitle_);
}

bool ProgramSession::chooseInList(quint64 dialog, QPoint list, int entry) const {
    // A list opened by a click takes the keys until Return closes it.
    if (!xdotool::click(dialog, list))
        return false;
    QTest::qWait(300);
    QStringList keys = {QStringLiteral("key"), QStringLiteral("Home")};
    for (int i = 0; i < entry; ++i)
        keys.append(QStringLiteral("Down"));
    keys.append(QStringLiteral("Return"));
    const bool typed = xdotool::perform(keys);
    QTest::qWait(300);
    return typed;
}

bool ProgramSession::chooseKey(quint64 dialog, int fifths, int accidentals) const {
    // C major, the sharp keys, then the flat ones.
    return chooseInList(dialog, layout::keyList, fifths >= 0 ? fifths : 7 - fifths) &&
           chooseInList(dialog, layout::accidentalsList, accidentals);
}

bool ProgramSession::chooseNotesPerTask(quint64 dialog, int notes) const {
    const QList<int> entries = {1, 4, 8};
    return entries.contains(notes) &&
           chooseInList(dialog, layout::notesPerTaskList, int(entries.indexOf(notes)));
}

QString ProgramSession::abortExercise() const {
    if (!xdotool::click(mainWindow_, layout::abortButton))
        return QStringLiteral("(the abort button could not be clicked)");
    return readAndCloseMessage(titles::message);
}

QString ProgramSession::readAndCloseMessage(const QString& title, QString* details) const {
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
    if (details) {
        *details = readMessageDetails(title);
        if (!clickMessageButton(title, MessageButton::Ok) || !waitForNoWindow(pattern))
            return QStringLiteral("(the message box did not close with a click on OK)");
        return texts.join(QLatin1Char('\n'));
    }
    const bool focused = QTest::qWaitFor([&] { return xdotool::focusedWindow() == box; });
    if (!focused || !xdotool::key(QStringLiteral("space")) || !waitForNoWindow(pattern))
        return QStringLiteral("(the message box did not close with the space bar)");
    return texts.join(QLatin1Char('\n'));
}

// The other button is told from OK by its caption only, so that its own may be in any language.
bool ProgramSession::clickMessageButton(const QString& title, MessageButton which) const {
    const QList<AccessibleButton> buttons = accessible_->buttons(title);
    const auto button = std::find_if(buttons.begin(), buttons.end(), [which](const auto& b) {
        return (b.name == QStringLiteral("OK")) == (which == MessageButton::Ok);
    });
    if (button == buttons.end() || button->place.isEmpty())
        return false;
    const QPoint centre = button->place.center();
    return xdotool::perform({QStringLiteral("mousemove"), QString::number(centre.x()),
                             QString::number(centre.y()), QStringLiteral("click"),
                             QStringLiteral("1")});
}

QString ProgramSession::readMessageDetails(const QString& title) const {
    if (!clickMessageButton(title, MessageButton::BesideOk))
        return QStringLiteral("(the message box has no button beside OK)");
    QStringList texts;
    const bool shown = QTest::qWaitFor([&] {
        texts = accessible_->shownTextAreaTexts(title);
        return !texts.isEmpty();
    });
    return shown ? texts.join(QLatin1Char('\n'))
                 : QStringLiteral("(the button beside OK showed no text to a screen reader)");
}

QHash<QString, AccessibleButton> ProgramSession::enabledButtons() const {
    const QList<xdotool::ShownWindow> shown = xdotool::shownWindows();
    const auto main = std::find_if(shown.begin(), shown.end(),
                                   [this](const auto& window) { return window.id == mainWindow_; });
    QHash<QString, AccessibleButton> enabled;
    if (main == shown.end())
        return enabled;
    for (const AccessibleButton& button : accessible_->buttons(main->title)) {
        if (button.enabled)
            enabled.insert(button.name, button);
    }
    return enabled;
}

bool ProgramSession::clickMessageText(const QString& title) const {
    if (waitForWindow(QStringLiteral("^%1$").arg(title)) == 0)
        return false;
    std::optional<QPoint> text;
    const bool found =
        QTest::qWaitFor([&] { return (text = accessible_->labelCentre(title)).has_value(); });
    return found && xdotool::perform({QStringLiteral("mousemove"), QString::number(text->x()),
                                      QString::number(text->y()), QStringLiteral("click"),
                                      QStringLiteral("1")});
}

std::optional<int> ProgramSession::watchAskedNote(const QString& clef, bool untilGone,
                                                  int columnX) const {
    std::optional<double> lastTop;
    const bool seen = QTest::qWaitFor(
        [&] {
            const Head head = headInColumn(mainWindowShot(), columnX);
            if (head.state == Head::State::Shown)
                lastTop = head.top;
            return lastTop && (!untilGone || head.state == Head::State::Hidden);
        },
        20000);
    if (!seen)
        return std::nullopt;
    return noteAtHeadTop(clef, *lastTop);
}

std::optional<int> ProgramSession::askedColumn() const {
    std::optional<int> column;
    const bool shown = QTest::qWaitFor(
        [&] {
            column = headColumnAfter(mainWindowShot(), layout::pixel(layout::staffLeft, 0).x());
            return column.has_value();
        },
        20000);
    return shown ? column : std::nullopt;
}

QString ProgramSession::wrongAnswerCameAndWent(int columnX) const {
    const auto headIs = [&](Head::State state) {
        return QTest::qWaitFor(
            [&] { return headInColumn(mainWindowShot(), columnX).state == state; });
    };
    if (!headIs(Head::State::Shown))
        return QStringLiteral("no wrong answer showed");
    if (!headIs(Head::State::Hidden))
        return QStringLiteral("the wrong-answer display did not end");
    return {};
}

std::optional<QList<int>> ProgramSession::watchPhrase(const QString& clef, int notes) const {
    std::optional<QList<int>> phrase;
    const bool shown = QTest::qWaitFor(
        [&] { return (phrase = newPhrase(mainWindowShot(), clef, notes)).has_value(); }, 20000);
    return shown ? phrase : std::nullopt;
}

bool ProgramSession::phraseNoteAnswered(int place, int notes) const {
    return QTest::qWaitFor([&] { return phraseNoteRight(mainWindowShot(), place, notes); });
}

quint64 waitForWindow(const QString& titlePattern, int milliseconds) {
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

bool waitForNoWindow(const QString& titlePattern, int milliseconds) {
    return QTest::qWaitFor([&] { return xdotool::visibleWindows(titlePattern).isEmpty(); },
                           milliseconds);
}

QStringList missingSessionTools() {
    QStringList missing;
    for (const char* tool : {"Xvfb", "xdotool", "xprop", "dbus-daemon", "pulseaudio", "parec"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing.append(QString::fromLatin1(tool));
    }
    if (!QFile::exists(QStringLiteral("/usr/share/dbus-1/services/org.a11y.Bus.service")))
        missing.append(QStringLiteral("at-spi2-core"));
    return missing;
}

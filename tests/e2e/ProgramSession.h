#pragma once

#include "AccessibleWindows.h"
#include "PrivatePulseServer.h"
#include "SessionBus.h"
#include "WindowLayout.h"

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// The real program as a learner meets it, on the X server named by DISPLAY: with a home of its
// own, a session bus whose accessibility bus reads its messages, and a private sound server
// (also set as PULSE_SERVER for the test, so that recordings hear it). The program is given only
// the platform's own variables.
class ProgramSession {
public:
    ProgramSession();
    ~ProgramSession();

    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    // What did not come up, or empty when all is ready.
    QString problem() const { return problem_; }
    // The locale the program starts in (LANG, and LANGUAGE unless empty); "C.UTF-8" unless set.
    void setLocale(const QString& lang, const QString& language = {});
    // The title of the settings dialog in the language the program is started in.
    void setSettingsTitle(const QString& pattern) { settingsTitle_ = pattern; }
    // Puts `folder` ahead of the program's search path, for stand-ins of desktop tools.
    void prependToPath(const QString& folder);
    // Starts this copy of the program instead of the one built.
    void setProgram(const QString& path) { programPath_ = path; }
    QString settingsFile() const;

    // Starts the program and waits for its main window.
    bool start();
    QProcess& program() { return program_; }
    // Kills the program if it still runs and returns all it wrote.
    QByteArray stop();

    quint64 mainWindow() const { return mainWindow_; }
    // The session's sound server, whose "mic" sink the program hears as its microphone.
    PrivatePulseServer& pulse() const { return *pulse_; }
    QImage mainWindowShot() const;
    // What the screen shows, for a failure to explain itself: every window with its place,
    // focus and modality, what a screen reader finds in each and what the staff shows.
    QString whatIsShown() const;

    // Opens the settings dialog with a mode button of the main window; 0 if it did not come up
    // ready for typing.
    quint64 openSettings(QPoint modeButton) const;
    // Types the two times into the settings dialog, each replacing what was there.
    bool typeTimes(quint64 dialog, const QString& perNote, const QString& disappear) const;
    // Ticks the ends of the range in the clef's row and starts; true once the dialog has gone.
    bool startRange(quint64 dialog, const QString& clef, int lowest, int highest) const;
    // Chooses the key of `fifths` (7 sharps to -7 flats) in the dialog's key list and the entry
    // `accidentals` ("keine", "♯", "♭", "♯ und ♭") of its accidentals' list, each through its
    // list as a learner opens it.
    bool chooseKey(quint64 dialog, int fifths, int accidentals = 0) const;
    // Chooses 1, 4 or 8 notes per task in the dialog's list.
    bool chooseNotesPerTask(quint64 dialog, int notes) const;
    // Aborts the running exercise; the text of the message that says so, closed.
    QString abortExercise() const;
    // Waits for a message box, reads its text as a screen reader hears it and closes it with
    // the space bar, as the learner is asked to. What went wrong instead of the text otherwise.
    // With `details`, clicks the button beside OK instead and reads the details it shows into
    // `details`; the box then closes with a click on OK, as the keys now reach that button.
    QString readAndCloseMessage(const QString& title, QString* details = nullptr) const;
    // The texts of the labels in the window titled exactly `title`, as a screen reader reads
    // them.
    QStringList labelTexts(const QString& title) const { return accessible_->labelTexts(title); }
    // The controls on screen in any window that tell a screen reader nothing, one line each.
    QStringList unnamedControls() const { return accessible_->unnamedControls(); }
    QStringList shownWindowTitles() const { return accessible_->shownWindowTitles(); }
    // The main window's enabled buttons as a screen reader offers them, by their names.
    QHash<QString, AccessibleButton> enabledButtons() const;
    // Presses a button over the accessibility bus; what went wrong, or empty.
    QString press(const AccessibleButton& button) const { return accessible_->press(button); }
    // Clicks on the text of the message box titled `title`, as a learner reading it may.
    bool clickMessageText(const QString& title) const;
    // Watches the asked note's column until a head has shown and, with `untilGone`, gone
    // again; returns the note the last head seen stands for. A head shown again at the same
    // place after an answer is the next task's only if it went in between, which a short
    // disappearing time makes sure of.
    // A key signature moves the heads right: `columnX` is then where askedColumn() found them.
    std::optional<int> watchAskedNote(const QString& clef, bool untilGone,
                                      int columnX = layout::askedColumnX) const;
    // The column of the first head that shows right of the staff's start.
    std::optional<int> askedColumn() const;
    // After a wrong answer: waits for a head in `columnX`, then for the staff to empty there.
    // Empty if both came, else what did not.
    QString wrongAnswerCameAndWent(int columnX) const;
    // Waits for a new phrase of `notes` in a key without signs: every head white, the arrow
    // under the first; the notes they stand for, left to right.
    std::optional<QList<int>> watchPhrase(const QString& clef, int notes) const;
    // Waits for the phrase's note at `place`, not its last, to be answered rightly: its head
    // green alone, the arrow under the next.
    bool phraseNoteAnswered(int place, int notes) const;

private:
    enum class MessageButton { Ok, BesideOk };
    // Opens a list of the dialog with a click and chooses its entry by the keys.
    bool chooseInList(quint64 dialog, QPoint list, int entry) const;
    bool clickMessageButton(const QString& title, MessageButton which) const;
    // Clicks the message box's details button and reads the details it shows.
    QString readMessageDetails(const QString& title) const;
    QString configDir() const;
    QString runtimeDir() const;

    QTemporaryDir home_;
    std::unique_ptr<SessionBus> sessionBus_;
    std::unique_ptr<AccessibleWindows> accessible_;
    std::unique_ptr<PrivatePulseServer> pulse_;
    QProcessEnvironment environment_;
    QString programPath_;
    QString settingsTitle_;
    QProcess program_;
    quint64 mainWindow_ = 0;
    QString problem_;
};

// The window titles the program uses.
namespace titles {
inline const QString mainWindow = QStringLiteral("^Virelo 5\\.50");
inline const QString settings = QStringLiteral("^Einstellungen$");
inline const QString keyboard = QStringLiteral("^Keyboard$");
inline const QString message = QStringLiteral("virel5");
inline const QString error = QStringLiteral("Fehler");
inline const QString statistics = QStringLiteral("Statistik");
} // namespace titles

inline const QString abortedText =
    QStringLiteral("Du hast die Übung abgebrochen. Es erfolgt keine Wertung.");

// The first visible window whose title matches, or 0 if none showed in time.
quint64 waitForWindow(const QString& titlePattern, int milliseconds = 20000);
bool waitForNoWindow(const QString& titlePattern, int milliseconds = 20000);

// The tools a session needs that this machine lacks.
QStringList missingSessionTools();

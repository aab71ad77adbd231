#include "feedback/FluidSynthPlayer.h"
#include "forms/Form1.h"
#include "history/TaskRecorder.h"
#include "input/MicrophoneAnswers.h"
#include "input/MicrophoneFinder.h"
#include "input/MicrophoneLevel.h"
#include "input/MidiAnswers.h"
#include "input/SystemMidiInput.h"
#include "settings/LanguageSettings.h"
#include "settings/MicrophoneSettings.h"
#include "settings/SettingsStore.h"
#include "statistics/StatisticsLauncher.h"
#include "training/Exercise.h"
#include "training/NoteNaming.h"
#include "training/TaskRandom.h"
#include "widgets/Fonts.h"
#include "widgets/HeldKeyFilter.h"
#include "widgets/MessageBox.h"
#include "widgets/QtTranslations.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace {
constexpr int SoundLoadDelayMs = 300;
constexpr int MidiOpenDelayMs = 300;
constexpr int HistoryOpenDelayMs = 300;
constexpr int MicrophoneSearchDelayMs = 300;

// In the program's data folder, e.g. ~/.local/share/virelo/verlauf.sqlite.
QString historyFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/verlauf.sqlite");
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    applyApplicationLook();
    HeldKeyFilter heldKeys;
    app.installEventFilter(&heldKeys);

    FluidSynthPlayer player;
    SettingsStore store;
    const QString programDir = QCoreApplication::applicationDirPath();
    // Language and note names are settled before the first window is made, and kept to the end.
    const LanguageSettings languageSettings = readLanguageSettings(store);
    const Language language = shownLanguage(languageSettings.language, systemLanguage());
    installTranslations(app, language, programDir);
    setNamingStyle(namingStyleFor(languageSettings, language));
    const QString history = historyFile();
    std::unique_ptr<TaskRecorder> recorder; // made once the window shows
    StatisticsLauncher statistics(StatisticsLauncher::libraryBeside(programDir), history, store,
                                  showMessageBox);

    // Asked off the window's thread, once the window shows and whenever the settings open.
    MicrophoneFinder microphoneFinder;

    // The exercise's messages stand over the main window, which is made after it.
    QWidget* mainWindow = nullptr;
    Exercise exercise({
        .message =
            [&mainWindow](const QString& text, MessageIcon icon, const QString& details) {
                showMessageBox(mainWindow, text, QString(), icon, details);
            },
        .player = &player,
        .random = timeSeededRandom,
        .programDir = programDir,
        .noteRecords =
            [&recorder](Clef clef, bool earTraining) {
                return recorder->noteRecords(clef, earTraining);
            },
    });

    Form1 form(exercise,
               {
                   .message = showMessageBox,
                   .store = &store,
                   .programDir = programDir,
                   .runModal = [](QDialog& dialog) { dialog.exec(); },
                   .desktop = {.startProgram =
                                   [](const QString& program, const QStringList& arguments) {
                                       return QProcess::startDetached(program, arguments);
                                   },
                               .openUrl = QDesktopServices::openUrl},
                   .microphone = {.found =
                                      [&microphoneFinder](QObject* receiver,
                                                          std::function<void(bool)> answer) {
                                          microphoneFinder.ask(receiver, std::move(answer));
                                      },
                                  .watchLevel =
                                      [](std::function<void(float)> level) {
                                          return std::make_unique<MicrophoneLevel>(
                                              std::move(level));
                                      }},
                   .openStatistics = [&statistics](QWidget* owner) { statistics.open(owner); },
               });
    mainWindow = &form;
    form.show();
    // Sound is needed only once an exercise starts: load it in the background once the window
    // is on screen, so that neither the library nor the SoundFont delays the first picture.
    QTimer::singleShot(SoundLoadDelayMs, [&player] { player.startLoading(); });
    // A MIDI keyboard, likewise off the way to the first picture.
    MidiAnswers midi(exercise, std::make_unique<SystemMidiInput>());
    QTimer::singleShot(MidiOpenDelayMs, &midi, &MidiAnswers::open);
    // The record of every task, likewise.
    recorder = std::make_unique<TaskRecorder>(exercise, history);
    QObject::connect(recorder.get(), &TaskRecorder::recorded, &statistics,
                     &StatisticsLauncher::refresh);
    const auto showNotice = [&form](const QString& text) {
        showMessageBox(&form, text, QCoreApplication::translate("main", "Hinweis"),
                       MessageIcon::Information, {});
    };
    QObject::connect(recorder.get(), &TaskRecorder::notice, &form, showNotice);
    QTimer::singleShot(HistoryOpenDelayMs, recorder.get(), &TaskRecorder::openStore);
    QTimer::singleShot(MicrophoneSearchDelayMs, &microphoneFinder, &MicrophoneFinder::search);
    // The microphone, only during an exercise the learner chose it for.
    MicrophoneAnswers microphone(exercise, [&store] {
        const MicrophoneSettings chosen = readMicrophoneSettings(store);
        return MicrophoneAnswers::Choice{chosen.answer, chosen.anyOctave};
    });
    QObject::connect(&microphone, &MicrophoneAnswers::notice, &form, showNotice);
    return QApplication::exec();
}

#include "feedback/FluidSynthPlayer.h"
#include "forms/Fonts.h"
#include "forms/Form1.h"
#include "forms/MessageBox.h"
#include "forms/QtTranslations.h"
#include "history/TaskRecorder.h"
#include "input/MidiAnswers.h"
#include "input/SystemMidiInput.h"
#include "settings/SettingsStore.h"
#include "statistics/StatisticsLauncher.h"
#include "training/TaskRandom.h"

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

// In the program's data folder, e.g. ~/.local/share/virelo/verlauf.sqlite.
QString historyFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/verlauf.sqlite");
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    applyApplicationLook();
    installGermanQtTranslations(app);

    FluidSynthPlayer player;
    SettingsStore store;
    const QString history = historyFile();
    std::unique_ptr<TaskRecorder> recorder; // made with the exercise it records
    StatisticsLauncher statistics(
        StatisticsLauncher::libraryBeside(QCoreApplication::applicationDirPath()), history,
        showMessageBox);
    Form1Services services;
    services.message = showMessageBox;
    services.player = &player;
    services.random = timeSeededRandom;
    services.store = &store;
    services.programDir = QCoreApplication::applicationDirPath();
    services.runModal = [](QDialog& dialog) { dialog.exec(); };
    services.startProgram = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
    services.openUrl = QDesktopServices::openUrl;
    services.noteRecords = [&recorder](const QString& clef, bool earTraining) {
        return recorder->noteRecords(clef, earTraining);
    };
    services.openStatistics = [&statistics](QWidget* owner) { statistics.open(owner); };

    Form1 form(std::move(services));
    form.show();
    // Sound is needed only once an exercise starts: load it in the background once the window
    // is on screen, so that neither the library nor the SoundFont delays the first picture.
    QTimer::singleShot(SoundLoadDelayMs, [&player] { player.startLoading(); });
    // A MIDI keyboard, likewise off the way to the first picture.
    MidiAnswers midi(form.exercise(), std::make_unique<SystemMidiInput>());
    QTimer::singleShot(MidiOpenDelayMs, &midi, &MidiAnswers::open);
    // The record of every task, likewise.
    recorder = std::make_unique<TaskRecorder>(form.exercise(), history);
    QObject::connect(recorder.get(), &TaskRecorder::recorded, &statistics,
                     &StatisticsLauncher::refresh);
    QObject::connect(recorder.get(), &TaskRecorder::notice, &form, [&form](const QString& text) {
        showMessageBox(&form, text, QStringLiteral("Hinweis"), MessageIcon::Information, {});
    });
    QTimer::singleShot(HistoryOpenDelayMs, recorder.get(), &TaskRecorder::openStore);
    return QApplication::exec();
}

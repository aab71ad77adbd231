#include "feedback/FluidSynthPlayer.h"
#include "forms/Form1.h"
#include "input/MidiAnswers.h"
#include "input/SystemMidiInput.h"
#include "settings/SettingsStore.h"
#include "training/Exercise.h"
#include "training/TaskRandom.h"
#include "widgets/Fonts.h"
#include "widgets/HeldKeyFilter.h"
#include "widgets/MessageBox.h"
#include "widgets/QtTranslations.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QProcess>
#include <QTimer>

namespace {
constexpr int SoundLoadDelayMs = 300;
constexpr int MidiOpenDelayMs = 300;
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    applyApplicationLook();
    installGermanQtTranslations(app);
    HeldKeyFilter heldKeys;
    app.installEventFilter(&heldKeys);

    FluidSynthPlayer player;
    SettingsStore store;
    const QString programDir = QCoreApplication::applicationDirPath();

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
               });
    mainWindow = &form;
    form.show();
    // Sound is needed only once an exercise starts: load it in the background once the window
    // is on screen, so that neither the library nor the SoundFont delays the first picture.
    QTimer::singleShot(SoundLoadDelayMs, [&player] { player.startLoading(); });
    // A MIDI keyboard, likewise off the way to the first picture.
    MidiAnswers midi(exercise, std::make_unique<SystemMidiInput>());
    QTimer::singleShot(MidiOpenDelayMs, &midi, &MidiAnswers::open);
    return QApplication::exec();
}

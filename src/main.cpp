#include "feedback/FluidSynthPlayer.h"
#include "forms/Fonts.h"
#include "forms/Form1.h"
#include "forms/MessageBox.h"
#include "forms/QtTranslations.h"
#include "input/Microphone.h"
#include "input/MicrophoneAnswers.h"
#include "input/MicrophoneLevel.h"
#include "input/MidiAnswers.h"
#include "input/SystemMidiInput.h"
#include "settings/MicrophoneSettings.h"
#include "settings/SettingsStore.h"
#include "training/TaskRandom.h"

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

    FluidSynthPlayer player;
    SettingsStore store;
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
    services.microphone.found = Microphone::found;
    services.microphone.watchLevel = [](std::function<void(float)> level) {
        return std::make_unique<MicrophoneLevel>(std::move(level));
    };

    Form1 form(std::move(services));
    form.show();
    // Sound is needed only once an exercise starts: load it in the background once the window
    // is on screen, so that neither the library nor the SoundFont delays the first picture.
    QTimer::singleShot(SoundLoadDelayMs, [&player] { player.startLoading(); });
    // A MIDI keyboard, likewise off the way to the first picture.
    MidiAnswers midi(form.exercise(), std::make_unique<SystemMidiInput>());
    QTimer::singleShot(MidiOpenDelayMs, &midi, &MidiAnswers::open);
    // The microphone, only during an exercise the learner chose it for.
    MicrophoneAnswers microphone(
        form.exercise(),
        [&store] {
            const MicrophoneSettings chosen = readMicrophoneSettings(store);
            return MicrophoneAnswers::Choice{chosen.answer, chosen.anyOctave};
        },
        [&form](const QString& text) {
            showMessageBox(&form, text, QStringLiteral("Hinweis"), MessageIcon::Information, {});
        });
    return QApplication::exec();
}

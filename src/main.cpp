#include "feedback/FluidSynthPlayer.h"
#include "forms/Fonts.h"
#include "forms/MessageBox.h"
#include "settings/SettingsStore.h"
#include "training/Form1.h"
#include "training/TaskRandom.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QProcess>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    applyApplicationLook();

    FluidSynthPlayer player; // loads its SoundFont in the background
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

    Form1 form(std::move(services));
    form.show();
    return QApplication::exec();
}

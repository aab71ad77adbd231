#pragma once

#include "forms/MessageBox.h"
#include "forms/MicrophoneAccess.h"

#include <QString>
#include <QStringList>

#include <functional>

class NotePlayer;
class SettingsStore;
class QDialog;
class QUrl;

// What the main window needs from outside; main() wires the real ones, tests their own.
struct Form1Services {
    MessageFunction message;
    NotePlayer* player = nullptr;
    std::function<double()> random; // uniform in [0, 1)
    SettingsStore* store = nullptr;
    QString programDir;                     // holds sound/ and readme.txt
    std::function<void(QDialog&)> runModal; // shows a dialog modally until it closes
    // Starts a program with its arguments, never through a shell; false when it did not start.
    std::function<bool(const QString& program, const QStringList& arguments)> startProgram;
    // Hands a file or web address to the desktop's handler for it; false when none took it.
    std::function<bool(const QUrl& url)> openUrl;
    MicrophoneAccess microphone;
};

#pragma once

#include "forms/MessageBox.h"

#include <QString>

#include <functional>

class NotePlayer;
class SettingsStore;
class QDialog;

// What the main window needs from outside; main() wires the real ones, tests their own.
struct Form1Services {
    MessageFunction message;
    NotePlayer* player = nullptr;
    std::function<double()> random; // uniform in [0, 1)
    SettingsStore* store = nullptr;
    QString programDir;                     // holds sound/ and readme.txt
    std::function<void(QDialog&)> runModal; // shows a dialog modally until it closes
};

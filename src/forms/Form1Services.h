#pragma once

#include "help/DesktopServices.h"
#include "widgets/MessageBox.h"

#include <QString>

#include <functional>

class SettingsStore;
class QDialog;

// What the main window and the dialogs it opens need from outside; main() wires the real ones,
// tests their own. Each dialog is handed only its part.
struct Form1Services {
    MessageFunction message;
    SettingsStore* store = nullptr;
    QString programDir;                     // holds readme.txt
    std::function<void(QDialog&)> runModal; // shows a dialog modally until it closes
    DesktopServices desktop;
};

#pragma once

#include "help/DesktopServices.h"
#include "settings/MicrophoneAccess.h"
#include "widgets/MessageBox.h"

#include <QString>

#include <functional>

class SettingsStore;
class QDialog;
class QWidget;

// What the main window and the dialogs it opens need from outside; main() wires the real ones,
// tests their own. Each dialog is handed only its part.
struct Form1Services {
    MessageFunction message;
    SettingsStore* store = nullptr;
    QString programDir;                     // holds readme.txt
    std::function<void(QDialog&)> runModal; // shows a dialog modally until it closes
    DesktopServices desktop;
    MicrophoneAccess microphone;
    // Opens the statistics window, or raises it when it is open.
    std::function<void(QWidget* owner)> openStatistics;
};

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QUrl;

// What the desktop does for the program; main() wires the real ones, tests their own.
struct DesktopServices {
    // Starts a program with its arguments, never through a shell; false when it did not start.
    std::function<bool(const QString& program, const QStringList& arguments)> startProgram;
    // Hands a file or web address to the desktop's handler for it; false when none took it.
    std::function<bool(const QUrl& url)> openUrl;
};

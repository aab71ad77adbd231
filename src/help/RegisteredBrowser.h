#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Runs a program with its arguments and gives what it printed, trimmed; empty when it failed.
using CommandOutput = std::function<QString(const QString& program, const QStringList& arguments)>;

// The real one: a process of its own, never a shell, given a few seconds at most.
QString runForOutput(const QString& program, const QStringList& arguments);

// The command line (Exec) of the desktop entry that the desktop has registered for web
// addresses, as xdg-settings or else xdg-mime name it; empty when none is registered or found.
QString registeredBrowserCommand(const CommandOutput& ask = runForOutput);

// The Exec value of the [Desktop Entry] group of a desktop entry file's text, with its escapes
// resolved; empty when there is none.
QString desktopEntryExec(const QString& text);

#pragma once

#include "help/DesktopServices.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Cuts a browser's command line down to the program: the quoted text when the command starts
// with a quoted part, otherwise everything before the first space after the last directory
// separator ("/" or "\"). A command with neither stays as it is, arguments and all.
QString cutBrowserCommand(const QString& command);

// A program to start with its arguments.
struct ProgramCall {
    QString program;
    QStringList arguments;
};

// How to open the address in the browser whose command line is given. A desktop entry's command
// with arguments (a browser started through flatpak, say) is split and its field codes replaced
// as freedesktop.org desktop entries ask; a plain program path is cut by cutBrowserCommand and
// gets the address as its one argument.
ProgramCall browserCall(const QString& command, const QString& address);

// Gives the command line of the desktop's registered web browser, or empty when none is.
using BrowserCommandLookup = std::function<QString()>;

// Finds the web browser and opens addresses in it. The browser, once found, is kept. The desktop
// is asked off the window's thread, since its tools may take seconds to answer.
class MHyperJump {
public:
    explicit MHyperJump(BrowserCommandLookup lookup);
    ~MHyperJump();
    MHyperJump(const MHyperJump&) = delete;
    MHyperJump& operator=(const MHyperJump&) = delete;

    // Opens the address in a new window of the registered browser, once the browser is known:
    // at once when it was found before, else when the desktop has answered, which is asked
    // again while no browser was found. With newWindow false, or when no browser is registered
    // or it does not start, hands the address to the desktop's handler instead.
    void HyperJump(const QString& address, bool newWindow, const DesktopServices& desktop);

private:
    void lookUp();
    void lookupEnded(const QString& command);
    void jump(const QString& address, const DesktopServices& desktop) const;

    BrowserCommandLookup m_lookup;
    QString m_browserCommand;
    QFuture<QString> m_lookupRunning;
    std::vector<std::function<void()>> m_waitingJumps;
    QObject m_guiThread; // the lookup's end is handled on the thread that made this module
};

#pragma once

#include <QString>

#include <functional>

struct Form1Services;

// Cuts a browser's command line down to the program: the quoted text when the command starts
// with a quoted part, otherwise everything before the first space after the last directory
// separator ("/" or "\"). A command with neither stays as it is, arguments and all.
QString cutBrowserCommand(const QString& command);

// Gives the command line of the desktop's registered web browser, or empty when none is.
using BrowserCommandLookup = std::function<QString()>;

// Finds the web browser and opens addresses in it. The browser's path, once found, is kept.
class MHyperJump {
public:
    explicit MHyperJump(BrowserCommandLookup lookup);

    // The registered browser's program, or empty. Asks the desktop again only while empty.
    QString BrowserPath();

    // Opens the address in a new window of the browser; with newWindow false, or when no
    // browser starts, hands it to the desktop's handler instead. True when either took it.
    bool HyperJump(const QString& address, bool newWindow, const Form1Services& services);

private:
    BrowserCommandLookup m_lookup;
    QString m_browserPath;
};

#include "help/MHyperJump.h"

#include "forms/Form1Services.h"

#include <QUrl>

#include <algorithm>

QString cutBrowserCommand(const QString& command) {
    const qsizetype closingQuote = command.indexOf(u'"', 1);
    if (command.startsWith(u'"') && closingQuote > 0)
        return command.mid(1, closingQuote - 1);

    const qsizetype lastSeparator = std::max(command.lastIndexOf(u'/'), command.lastIndexOf(u'\\'));
    if (lastSeparator < 0)
        return command;
    const qsizetype space = command.indexOf(u' ', lastSeparator);
    return space < 0 ? command : command.left(space);
}

MHyperJump::MHyperJump(BrowserCommandLookup lookup) : m_lookup(std::move(lookup)) {}

QString MHyperJump::BrowserPath() {
    if (m_browserPath.isEmpty())
        m_browserPath = cutBrowserCommand(m_lookup());
    return m_browserPath;
}

bool MHyperJump::HyperJump(const QString& address, bool newWindow, const Form1Services& services) {
    if (newWindow) {
        const QString browser = BrowserPath();
        if (!browser.isEmpty() && services.startProgram(browser, {address}))
            return true;
    }
    return services.openUrl(QUrl(address));
}

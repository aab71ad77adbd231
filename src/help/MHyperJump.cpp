#include "help/MHyperJump.h"

#include "help/DesktopExec.h"

#include <QPromise>
#include <QThreadPool>
#include <QUrl>

#include <algorithm>
#include <memory>

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

ProgramCall browserCall(const QString& command, const QString& address) {
    const std::optional<QStringList> parts = splitDesktopExec(command);
    if (parts && parts->size() > 1)
        return {parts->first(), expandFieldCodes(parts->sliced(1), address)};
    return {cutBrowserCommand(command), {address}};
}

MHyperJump::MHyperJump(BrowserCommandLookup lookup) : m_lookup(std::move(lookup)) {}

MHyperJump::~MHyperJump() {
    // The lookup may use what its creator lent it.
    m_lookupRunning.waitForFinished();
}

void MHyperJump::HyperJump(const QString& address, bool newWindow, const DesktopServices& desktop) {
    if (!newWindow) {
        desktop.openUrl(QUrl(address));
    } else if (!m_browserCommand.isEmpty()) {
        jump(address, desktop);
    } else {
        m_waitingJumps.push_back([this, address, desktop] { jump(address, desktop); });
        lookUp();
    }
}

void MHyperJump::lookUp() {
    if (m_lookupRunning.isRunning())
        return;
    auto promise = std::make_shared<QPromise<QString>>();
    m_lookupRunning = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, lookup = m_lookup] {
        promise->addResult(lookup());
        promise->finish();
    });
    m_lookupRunning.then(&m_guiThread, [this](const QString& command) { lookupEnded(command); });
}

void MHyperJump::lookupEnded(const QString& command) {
    if (!browserCall(command, QString()).program.isEmpty())
        m_browserCommand = command;
    for (const auto& waiting : std::exchange(m_waitingJumps, {}))
        waiting();
}

void MHyperJump::jump(const QString& address, const DesktopServices& desktop) const {
    if (!m_browserCommand.isEmpty()) {
        const ProgramCall call = browserCall(m_browserCommand, address);
        if (desktop.startProgram(call.program, call.arguments))
            return;
    }
    desktop.openUrl(QUrl(address));
}

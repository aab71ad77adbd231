#include "XvfbDisplay.h"

#include <QDeadlineTimer>
#include <QFileInfo>

namespace {

constexpr int firstDisplay = 120;
constexpr int lastDisplay = 139;
constexpr int readyMilliseconds = 15000;

bool displayTaken(int number) {
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
           QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number));
}

} // namespace

XvfbDisplay::XvfbDisplay() {
    for (int number = firstDisplay; number <= lastDisplay; ++number) {
        if (!displayTaken(number) && startOn(number))
            return;
    }
}

XvfbDisplay::~XvfbDisplay() {
    if (server_.state() == QProcess::NotRunning)
        return;
    server_.terminate();
    if (!server_.waitForFinished(5000))
        server_.kill();
    server_.waitForFinished(5000);
}

// The server writes its display number to standard output once it takes clients; one that
// finds the display taken after all exits instead.
bool XvfbDisplay::startOn(int number) {
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-dpi"),
                   QStringLiteral("96"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                   QStringLiteral("-displayfd"), QStringLiteral("1")});
    const QDeadlineTimer deadline(readyMilliseconds);
    while (!server_.canReadLine() && server_.state() != QProcess::NotRunning &&
           !deadline.hasExpired())
        server_.waitForReadyRead(int(deadline.remainingTime()));
    if (server_.canReadLine() && server_.readLine().trimmed().toInt() == number) {
        name_ = QStringLiteral(":%1").arg(number);
        return true;
    }
    server_.kill();
    server_.waitForFinished(5000);
    return false;
}

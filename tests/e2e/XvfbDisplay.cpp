#include "XvfbDisplay.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace {

constexpr int firstDisplay = 120;
constexpr int lastDisplay = 199;
constexpr int readyMilliseconds = 15000;

bool displayTaken(int number) {
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
           QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number));
}

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
}

} // namespace

XvfbDisplay::XvfbDisplay(const QString& windowManager)
    : windowManagerAsked_(!windowManager.isEmpty()) {
    for (int number = firstDisplay; number <= lastDisplay; ++number) {
        if (!displayTaken(number) && startOn(number)) {
            if (windowManagerAsked_ && !startWindowManager(windowManager))
                stop(server_);
            return;
        }
    }
}

XvfbDisplay::~XvfbDisplay() {
    stop(windowManager_);
    stop(server_);
}

// A window manager announces itself with a check window on the root window once it manages.
bool XvfbDisplay::startWindowManager(const QString& program) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), name_);
    windowManager_.setProcessEnvironment(environment);
    windowManager_.setStandardOutputFile(QProcess::nullDevice());
    windowManager_.setStandardErrorFile(QProcess::nullDevice());
    windowManager_.start(program, {});
    if (!windowManager_.waitForStarted())
        return false;
    const QDeadlineTimer deadline(readyMilliseconds);
    while (windowManager_.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        QProcess probe;
        probe.setProcessEnvironment(environment);
        probe.start(QStringLiteral("xprop"),
                    {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        if (probe.waitForFinished(5000) && probe.readAllStandardOutput().contains("window id"))
            return true;
        QThread::msleep(100);
    }
    return false;
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

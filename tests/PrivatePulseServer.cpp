#include "PrivatePulseServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <signal.h>

namespace {

constexpr int startMilliseconds = 10000;
constexpr int stopMilliseconds = 3000;

} // namespace

PrivatePulseServer::PrivatePulseServer() {
    if (!runtimeDir_.isValid())
        return;
    QProcess daemon;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), runtimeDir_.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_.path());
    environment.remove(QStringLiteral("PULSE_SERVER"));
    daemon.setProcessEnvironment(environment);
    daemon.setStandardOutputFile(QProcess::nullDevice());
    daemon.setStandardErrorFile(QProcess::nullDevice());
    daemon.start(QStringLiteral("pulseaudio"),
                 {QStringLiteral("-n"), QStringLiteral("--daemonize=yes"),
                  QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-L"),
                  QStringLiteral("module-native-protocol-unix"), QStringLiteral("-L"),
                  QStringLiteral("module-null-sink sink_name=test"), QStringLiteral("-L"),
                  QStringLiteral("module-null-sink sink_name=mic"), QStringLiteral("-L"),
                  QStringLiteral("module-remap-source source_name=microphone master=mic.monitor")});
    if (!daemon.waitForFinished(startMilliseconds) || daemon.exitStatus() != QProcess::NormalExit ||
        daemon.exitCode() != 0)
        return;

    // The daemonising parent returns once the daemon is ready and has written its pid file.
    QFile pidFile(runtimeDir_.filePath(QStringLiteral("pulse/pid")));
    if (!pidFile.open(QIODevice::ReadOnly))
        return;
    const qint64 pid = pidFile.readAll().trimmed().toLongLong();
    if (pid <= 0 || !QFileInfo::exists(runtimeDir_.filePath(QStringLiteral("pulse/native"))))
        return;
    pid_ = pid;
    // A monitor is never the default recording device on its own.
    if (!pactl({QStringLiteral("set-default-sink"), QStringLiteral("test")}) ||
        !pactl({QStringLiteral("set-default-source"), QStringLiteral("microphone")}))
        stop();
}

bool PrivatePulseServer::pactl(const QStringList& arguments) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), address());
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral("pactl"), arguments);
    return process.waitForFinished(startMilliseconds) &&
           process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

PrivatePulseServer::~PrivatePulseServer() {
    stop();
}

void PrivatePulseServer::stop() {
    if (!isRunning())
        return;
    thaw();
    ::kill(static_cast<pid_t>(pid_), SIGTERM);
    // Not our child once daemonised, so it cannot be waited for. One of its last acts is removing
    // the pid file, and the runtime folder must outlive it.
    const QString pidFile = runtimeDir_.filePath(QStringLiteral("pulse/pid"));
    const QDeadlineTimer deadline(stopMilliseconds);
    while (QFileInfo::exists(pidFile) && !deadline.hasExpired())
        QThread::msleep(10);
    pid_ = 0;
}

void PrivatePulseServer::kill() {
    if (!isRunning())
        return;
    ::kill(static_cast<pid_t>(pid_), SIGKILL);
    // Nothing is left to stop; its files go with the runtime folder.
    pid_ = 0;
}

void PrivatePulseServer::freeze() {
    if (isRunning() && !frozen_)
        frozen_ = ::kill(static_cast<pid_t>(pid_), SIGSTOP) == 0;
}

void PrivatePulseServer::thaw() {
    if (isRunning() && frozen_)
        frozen_ = ::kill(static_cast<pid_t>(pid_), SIGCONT) != 0;
}

QString PrivatePulseServer::address() const {
    return QStringLiteral("unix:") + runtimeDir_.filePath(QStringLiteral("pulse/native"));
}

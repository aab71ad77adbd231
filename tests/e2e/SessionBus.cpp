#include "SessionBus.h"

#include <QDeadlineTimer>

SessionBus::SessionBus(const QString& runtimeDir) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    daemon_.setProcessEnvironment(environment);
    daemon_.setStandardErrorFile(QProcess::nullDevice());
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    // The address is printed once the bus takes connections.
    const QDeadlineTimer deadline(10000);
    while (!daemon_.canReadLine() && daemon_.state() != QProcess::NotRunning &&
           !deadline.hasExpired())
        daemon_.waitForReadyRead(int(deadline.remainingTime()));
    if (daemon_.canReadLine())
        address_ = QString::fromLocal8Bit(daemon_.readLine().trimmed());
}

SessionBus::~SessionBus() {
    if (daemon_.state() == QProcess::NotRunning)
        return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000))
        daemon_.kill();
    daemon_.waitForFinished(5000);
}

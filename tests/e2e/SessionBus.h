#pragma once

#include <QProcess>
#include <QString>

// A D-Bus session bus of the test's own. What it starts on demand, such as the accessibility
// bus, ends with it.
class SessionBus {
public:
    // `runtimeDir` takes the sockets of the services it starts.
    explicit SessionBus(const QString& runtimeDir);
    ~SessionBus();

    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    bool isRunning() const { return !address_.isEmpty(); }
    // The value for DBUS_SESSION_BUS_ADDRESS.
    QString address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

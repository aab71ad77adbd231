#pragma once

#include <QProcess>
#include <QString>

// An X server of the test's own, without a window manager, on the first free display from :120
// on. Stopped when the object goes.
class XvfbDisplay {
public:
    XvfbDisplay();
    ~XvfbDisplay();

    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool isRunning() const { return server_.state() == QProcess::Running; }
    // The value for DISPLAY, such as ":120".
    QString name() const { return name_; }

private:
    bool startOn(int number);

    QProcess server_;
    QString name_;
};

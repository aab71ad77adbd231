#pragma once

#include <QProcess>
#include <QString>

// An X server of the test's own on the first free display from :120 on, with the window manager
// named (such as "openbox") or without one. Both are stopped when the object goes.
class XvfbDisplay {
public:
    explicit XvfbDisplay(const QString& windowManager = {});
    ~XvfbDisplay();

    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // The server runs, and the window manager if one was asked for.
    bool isRunning() const {
        return server_.state() == QProcess::Running &&
               (!windowManagerAsked_ || windowManager_.state() == QProcess::Running);
    }
    // The value for DISPLAY, such as ":120".
    QString name() const { return name_; }

private:
    bool startOn(int number);
    bool startWindowManager(const QString& program);

    QProcess server_;
    QString name_;
    QProcess windowManager_;
    bool windowManagerAsked_ = false;
};

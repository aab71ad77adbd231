#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Stand-ins for the desktop's tools, for a folder put ahead of the program's search path: no
// browser is registered, and whatever is handed to the desktop to open is written down instead
// of opened.
class DesktopStandIns {
public:
    DesktopStandIns();

    bool isReady() const { return ready_; }
    QString folder() const { return dir_.path(); }
    // What was handed to the desktop so far, in order.
    QStringList opened() const;

private:
    QString openedLog() const;

    QTemporaryDir dir_;
    bool ready_ = false;
};

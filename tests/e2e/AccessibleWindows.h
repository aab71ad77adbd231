#pragma once

#include <QDBusConnection>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

struct AccessibleButton {
    QString name;
    QRect place; // on the screen
};

// What the windows on a session bus tell assistive technology, read over the accessibility bus
// as a screen reader reads it. Turning accessibility on is what a screen reader does too; a
// program started afterwards offers its windows there.
class AccessibleWindows {
public:
    explicit AccessibleWindows(const QString& sessionBusAddress);
    ~AccessibleWindows();

    AccessibleWindows(const AccessibleWindows&) = delete;
    AccessibleWindows& operator=(const AccessibleWindows&) = delete;

    bool isConnected() const { return bus_.isConnected(); }
    // The texts of the labels in every open window titled `title`, in the order offered.
    QStringList labelTexts(const QString& title) const;
    // The push buttons in every open window titled `title`, in the order offered.
    QList<AccessibleButton> buttons(const QString& title) const;
    // The contents of the text areas on screen in every open window titled `title`.
    QStringList shownTextAreaTexts(const QString& title) const;

private:
    QDBusConnection bus_;
};

#pragma once

#include <QDBusConnection>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

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
    // The middle of the first label with text in the window titled `title`, on the screen.
    std::optional<QPoint> labelCentre(const QString& title) const;
    // One line for each open window as a screen reader finds it: its title, whether it is
    // active or modal, the texts it shows and the buttons that can be pressed.
    QStringList describeWindows() const;

private:
    QDBusConnection bus_;
};

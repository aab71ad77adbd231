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
    bool enabled = false;
    // Where the accessibility bus reaches it.
    QString service;
    QString path;
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
    // Presses the button by its first action, as a screen reader's command does; what went
    // wrong, or empty once the program has taken the press.
    QString press(const AccessibleButton& button) const;
    // The controls on screen that tell a screen reader nothing, in every window shown: those a
    // learner reaches with the keys, and every button, box, list, slider and bar, whose name is
    // empty or signs alone. One line each: window, role, path of child indices, description.
    QStringList unnamedControls() const;
    // The titles of the windows shown, as a screen reader finds them.
    QStringList shownWindowTitles() const;
    // One line for each open window as a screen reader finds it: its title, whether it is
    // active or modal, the texts it shows and the buttons that can be pressed.
    QStringList describeWindows() const;

private:
    QDBusConnection bus_;
};

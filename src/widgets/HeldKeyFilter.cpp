#include "HeldKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

// The X server repeats a held key as a release and a press at the same moment; Qt marks them
// only when both arrived together, so the times are compared here too. No hand lets go and
// presses again within the same millisecond. Events made by the program itself, by automation and
// by some assistive tools carry no time (X's CurrentTime): Qt then takes every release and press
// for a repeat, so without a time a press is never one.
bool HeldKeyFilter::isRepeat(const QKeyEvent& key) const {
    if (key.timestamp() == 0)
        return false;
    if (key.isAutoRepeat())
        return true;
    const auto released = releasedAt_.constFind(key.key());
    return released != releasedAt_.cend() && *released == key.timestamp();
}

bool HeldKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    // A key event reaches the window system's window first, then the widgets; widgets decide.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr)
        return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    const bool pressedHere = pressedIn_.value(key.key()) == widget->window();
    if (type == QEvent::KeyRelease) {
        releasedAt_.insert(key.key(), key.timestamp());
        // A window that never saw the key go down has nothing to finish when it comes up.
        if (pressedHere)
            return false;
    } else if (!isRepeat(key)) {
        // A shortcut may take the press itself; only its override shows where it went.
        pressedIn_.insert(key.key(), widget->window());
        return false;
    } else if (pressedHere) {
        return false;
    }
    // Accepted, an override also keeps the key from triggering a shortcut.
    event->accept();
    return true;
}

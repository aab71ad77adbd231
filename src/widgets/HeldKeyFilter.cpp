#include "HeldKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

bool HeldKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    // A key event reaches the window system's window first, then the widgets; widgets decide.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) {
        // A shortcut may take the press itself; only its override shows where it went.
        if (type == QEvent::KeyRelease)
            pressedIn_.remove(key->key());
        else
            pressedIn_.insert(key->key(), widget->window());
        return false;
    }
    if (pressedIn_.value(key->key()) == widget->window())
        return false;
    // Accepted, an override also keeps the key from triggering a shortcut.
    event->accept();
    return true;
}

#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

// A key held down does not act on a window opened after it was pressed: the key's auto-repeat
// reaches only the window where it was first pressed. Otherwise a key held through an "OK" or a
// click would close every dialog and message that opens until it is let go. Installed on the
// application.
class HeldKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isRepeat(const QKeyEvent& key) const;

    // Each key pressed, with the window its first press went to.
    QHash<int, QPointer<QWidget>> pressedIn_;
    // When each key was last let go.
    QHash<int, quint64> releasedAt_;
};

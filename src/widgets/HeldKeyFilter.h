#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

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
    // Each key that is down, with the window its first press went to.
    QHash<int, QPointer<QWidget>> pressedIn_;
};

#include "widgets/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <optional>

namespace {

// Where a window's frame goes, given the frame's size; nowhere once what it goes by has gone.
using FramePlace = std::function<std::optional<QPoint>(QSize frame)>;

const QString PendingName = QStringLiteral("placeWhenFramed");

QMargins frameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

bool isFramed(const QWidget& window) {
    return window.isVisible() && !frameMargins(window).isNull();
}

// The window's frame, or before it has one the frame a framed window of ours has.
QMargins likelyFrameMargins(const QWidget& window) {
    if (isFramed(window))
        return frameMargins(window);
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window && other->windowType() != Qt::Popup && isFramed(*other))
            return frameMargins(*other);
    }
    return {};
}

void moveFrame(QWidget& window, const FramePlace& place) {
    const QMargins margins = likelyFrameMargins(window);
    const QSize frame = window.size().grownBy(margins);
    const std::optional<QPoint> target = place(frame);
    // Set as the inner area's place, which window managers keep as asked: a frame position
    // given for a window that already exists is taken as its inner area's by some of them.
    if (target && window.pos() != *target)
        window.setGeometry(QRect(*target + QPoint(margins.left(), margins.top()), window.size()));
}

// Places the window again when its own frame becomes known, then leaves it to the learner.
class PlaceWhenFramed : public QObject {
public:
    PlaceWhenFramed(QWidget& window, FramePlace place)
        : QObject(&window), m_window(window), m_place(std::move(place)) {
        setObjectName(PendingName);
        window.installEventFilter(this);
    }

    void setPlace(FramePlace place) { m_place = std::move(place); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        // The frame comes with no event of its own; the window is shown or painted after it.
        if (watched == &m_window &&
            (type == QEvent::Move || type == QEvent::Show || type == QEvent::Resize ||
             type == QEvent::Paint || type == QEvent::WindowActivate) &&
            isFramed(m_window)) {
            m_window.removeEventFilter(this);
            deleteLater();
            moveFrame(m_window, m_place);
        }
        return false;
    }

private:
    QWidget& m_window;
    FramePlace m_place;
};

void place(QWidget& window, FramePlace place) {
    moveFrame(window, place);
    if (isFramed(window))
        return;
    auto* pending = dynamic_cast<PlaceWhenFramed*>(
        window.findChild<QObject*>(PendingName, Qt::FindDirectChildrenOnly));
    if (pending)
        pending->setPlace(std::move(place));
    else
        new PlaceWhenFramed(window, std::move(place));
}

QPoint centredIn(const QRect& area, QSize frame) {
    return area.center() - QPoint((frame.width() - 1) / 2, (frame.height() - 1) / 2);
}

} // namespace

void centreOnScreen(QWidget& window, const QWidget* owner) {
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    place(window, [area](QSize frame) { return std::optional(centredIn(area, frame)); });
}

void centreOnWindow(QWidget& window, const QWidget& owner) {
    place(window, [owner = QPointer(&owner)](QSize frame) -> std::optional<QPoint> {
        if (!owner)
            return std::nullopt;
        return centredIn(owner->frameGeometry(), frame);
    });
}

void placeAtLowerLeft(QWidget& window, const QWidget& anchor) {
    place(window, [anchor = QPointer(&anchor)](QSize frame) -> std::optional<QPoint> {
        if (!anchor)
            return std::nullopt;
        const QRect corner = anchor->frameGeometry();
        return QPoint(corner.left(), corner.bottom() + 1 - frame.height());
    });
}

void keepAbove(QWidget& window, const QWidget& owner) {
    window.winId();
    if (QWindow* handle = window.windowHandle())
        handle->setTransientParent(owner.windowHandle());
}

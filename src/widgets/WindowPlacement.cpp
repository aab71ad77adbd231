#include "widgets/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>

namespace {

// Where a window's frame goes and how large it is, given its size; nowhere once what it goes by
// has gone.
using FramePlace = std::function<std::optional<QRect>(QSize frame)>;

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

void moveFrame(QWidget& window, const FramePlace& place) {
    const QMargins margins = likelyFrameMargins(window);
    const QSize frame = window.size().grownBy(margins);
    const std::optional<QRect> target = place(frame);
    // Set as the inner area's place, which window managers keep as asked: a frame position
    // given for a window that already exists is taken as its inner area's by some of them.
    if (target && window.geometry() != target->marginsRemoved(margins))
        window.setGeometry(target->marginsRemoved(margins));
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

QRect centredIn(const QRect& area, QSize frame) {
    return {area.center() - QPoint((frame.width() - 1) / 2, (frame.height() - 1) / 2), frame};
}

// The frame of `size` whose top left is nearest `corner` while it stays inside `area`.
QRect keptInside(const QRect& area, QPoint corner, QSize size) {
    const int x =
        std::clamp(corner.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int y =
        std::clamp(corner.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    return {QPoint(x, y), size};
}

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return qint64(common.width()) * common.height();
}

} // namespace

QMargins likelyFrameMargins(const QWidget& window) {
    if (isFramed(window))
        return frameMargins(window);
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window && other->windowType() != Qt::Popup && isFramed(*other))
            return frameMargins(*other);
    }
    return {};
}

QRect frameBeside(const QRect& area, const QRect& owner, QSize wanted, QSize least) {
    const QSize fitting = wanted.boundedTo(area.size());
    const int right = area.right() - owner.right();
    const int left = owner.left() - area.left();
    const int below = area.bottom() - owner.bottom();
    if (right >= least.width())
        return keptInside(area, {owner.right() + 1, owner.top()},
                          {std::min(fitting.width(), right), fitting.height()});
    if (left >= least.width()) {
        const int width = std::min(fitting.width(), left);
        return keptInside(area, {owner.left() - width, owner.top()}, {width, fitting.height()});
    }
    if (below >= least.height())
        return keptInside(area, {owner.left(), owner.bottom() + 1},
                          {fitting.width(), std::min(fitting.height(), below)});
    // No side has room: the place that hides least of the owner, at the least size that is
    // still read well, or the wanted one where the screen is smaller than that.
    const QSize size = least.expandedTo(QSize(1, 1)).boundedTo(fitting);
    QRect best;
    qint64 hidden = std::numeric_limits<qint64>::max();
    for (const QPoint corner :
         {QPoint(owner.right() + 1, owner.top()), QPoint(owner.left() - size.width(), owner.top()),
          QPoint(owner.left(), owner.bottom() + 1),
          QPoint(owner.left(), owner.top() - size.height())}) {
        const QRect candidate = keptInside(area, corner, size);
        if (const qint64 covered = overlap(candidate, owner); covered < hidden) {
            hidden = covered;
            best = candidate;
        }
    }
    return best;
}

void centreOnScreen(QWidget& window, const QWidget* owner) {
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    place(window, [area](QSize frame) { return std::optional(centredIn(area, frame)); });
}

void centreOnWindow(QWidget& window, const QWidget& owner) {
    place(window, [owner = QPointer(&owner)](QSize frame) -> std::optional<QRect> {
        if (!owner)
            return std::nullopt;
        const QRect centred = centredIn(owner->frameGeometry(), frame);
        // A window taller than its owner (a large scale factor) would stand off the screen.
        const QScreen* screen = owner->screen();
        return screen ? keptInside(screen->availableGeometry(), centred.topLeft(), frame) : centred;
    });
}

void placeBeside(QWidget& window, const QWidget& owner, QSize least) {
    const QScreen* screen = owner.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins margins = likelyFrameMargins(window);
    place(window,
          [area, least = least.grownBy(margins),
           owner = QPointer(&owner)](QSize frame) -> std::optional<QRect> {
              if (!owner)
                  return std::nullopt;
              return frameBeside(area, owner->frameGeometry(), frame, least);
          });
}

void placeAtLowerLeft(QWidget& window, const QWidget& anchor) {
    place(window, [anchor = QPointer(&anchor)](QSize frame) -> std::optional<QRect> {
        if (!anchor)
            return std::nullopt;
        const QRect corner = anchor->frameGeometry();
        return QRect(QPoint(corner.left(), corner.bottom() + 1 - frame.height()), frame);
    });
}

void keepAbove(QWidget& window, const QWidget& owner) {
    window.winId();
    if (QWindow* handle = window.windowHandle())
        handle->setTransientParent(owner.windowHandle());
}

#include "widgets/ScreenFit.h"

#include "widgets/WindowPlacement.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

// The window's widgets in the order the keys reach them.
QList<QWidget*> focusChain(QWidget& window) {
    QList<QWidget*> chain;
    for (QWidget* next = window.nextInFocusChain(); next && next != &window;
         next = next->nextInFocusChain())
        chain.append(next);
    return chain;
}

// Moves the window's controls onto a page of the window's size; their places, order and
// visibility stay as they were.
QWidget* movedOntoPage(QWidget& window) {
    const QList<QWidget*> chain = focusChain(window);
    auto* page = new QWidget;
    page->setFixedSize(window.size());
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isWindow())
            continue;
        const bool hidden = control->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                            control->testAttribute(Qt::WA_WState_Hidden);
        control->setParent(page);
        control->setHidden(hidden);
    }
    // Moved, they would follow each other in the order of their making.
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    return page;
}

// A wheel turned over a choice the learner has not gone into scrolls the page, rather than
// changing the choice while it passes under the pointer.
class WheelScrollsPage : public QObject {
public:
    explicit WheelScrollsPage(QScrollArea& area) : QObject(&area), m_area(area) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus())
            return false;
        QCoreApplication::sendEvent(m_area.verticalScrollBar(), event);
        return true;
    }

private:
    QScrollArea& m_area;
};

void scrollPastChoices(QScrollArea& area) {
    auto* filter = new WheelScrollsPage(area);
    for (QWidget* control : area.widget()->findChildren<QWidget*>())
        if (qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractSpinBox*>(control))
            control->installEventFilter(filter);
}

} // namespace

void scrollWhereScreenIsSmaller(QWidget& window, const QWidget* owner) {
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size().shrunkBy(likelyFrameMargins(window));
    const QSize content = window.size();
    if (content.width() <= room.width() && content.height() <= room.height())
        return;

    const int bar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &window);
    bool across = content.width() > room.width();
    const bool down = content.height() + (across ? bar : 0) > room.height();
    across = across || content.width() + (down ? bar : 0) > room.width();
    const QSize shown(std::min(content.width() + (down ? bar : 0), room.width()),
                      std::min(content.height() + (across ? bar : 0), room.height()));

    QWidget* page = movedOntoPage(window);
    auto* area = new QScrollArea(&window);
    area->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own for the keys: focus goes to the controls, and the area scrolls to
    // show the one that has it.
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidget(page);
    scrollPastChoices(*area);
    area->setGeometry(QRect(QPoint(0, 0), shown));
    window.setFixedSize(shown);
}

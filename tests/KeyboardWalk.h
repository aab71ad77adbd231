#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QTabBar>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <functional>

// The controls of a window that a mouse user can work: shown, enabled, and of a kind that takes
// clicks or typing, or a text that takes clicks (shown by a cursor of its own). A list that only
// drops down from its choice is part of that choice. `skip` leaves out controls answered
// otherwise.
inline QList<QWidget*> mouseControls(const QWidget& window,
                                     const std::function<bool(QWidget*)>& skip = {}) {
    QList<QWidget*> controls;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const bool kind =
            qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
            qobject_cast<QTabBar*>(w) || w->testAttribute(Qt::WA_SetCursor) ||
            (qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractSpinBox*>(w->parentWidget())) ||
            (qobject_cast<QAbstractItemView*>(w) && w->window() == &window);
        if (kind && w->isVisibleTo(&window) && w->isEnabled() && !(skip && skip(w)))
            controls.append(w);
    }
    return controls;
}

// Shows the window and waits until the application takes it for the active one, which may come
// after the platform has said so.
inline bool activate(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

// The controls the focus visits when Tab (or Shift+Tab) is pressed on the focused widget,
// starting from `first` and ending when it comes back or after `limit` presses. A spin box's
// field is the spin box.
inline QList<QWidget*> tabWalk(QWidget* first, bool backwards, int limit = 200) {
    QList<QWidget*> visited;
    first->setFocus(Qt::TabFocusReason);
    const auto focused = [] {
        QWidget* w = QApplication::focusWidget();
        if (w && qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            w = w->parentWidget();
        return w;
    };
    for (QWidget* w = focused(); w && visited.size() < limit;) {
        visited.append(w);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        w = focused();
        if (w == first)
            break;
    }
    return visited;
}

// What of `expected` a walk missed, for a failure's message.
inline QStringList missed(const QList<QWidget*>& expected, const QList<QWidget*>& walked) {
    QStringList names;
    for (QWidget* w : expected)
        if (!walked.contains(w))
            names.append(
                QStringLiteral("%1 \"%2\"")
                    .arg(QString::fromLatin1(w->metaObject()->className()),
                         w->objectName().isEmpty() ? w->accessibleName() : w->objectName()));
    return names;
}

// What keeps Tab from going round the window from `first`: a control it misses or a hidden one
// it visits, not coming back to `first`, or Shift+Tab not taking the same way back. Empty when
// nothing does.
inline QString tabRoundTrip(const QWidget& window, QWidget* first) {
    const QList<QWidget*> forwards = tabWalk(first, false);
    if (QApplication::focusWidget() != first)
        return QStringLiteral("Tab did not come back to where it began");
    const QStringList notReached = missed(mouseControls(window), forwards);
    if (!notReached.isEmpty())
        return QStringLiteral("Tab did not reach ") + notReached.join(QStringLiteral("; "));
    if (std::any_of(forwards.begin(), forwards.end(), [](QWidget* w) { return !w->isVisible(); }))
        return QStringLiteral("Tab visited a hidden control");
    QList<QWidget*> backwards = tabWalk(first, true);
    std::reverse(backwards.begin() + 1, backwards.end());
    if (backwards != forwards)
        return QStringLiteral("Shift+Tab did not go the same way back");
    return {};
}

#pragma once

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <iterator>

// Roles of controls a screen reader offers whether or not the keys reach them.
inline bool isControlRole(QAccessible::Role role) {
    constexpr QAccessible::Role controls[] = {QAccessible::Button,      QAccessible::CheckBox,
                                              QAccessible::RadioButton, QAccessible::ComboBox,
                                              QAccessible::SpinBox,     QAccessible::Slider,
                                              QAccessible::List,        QAccessible::ProgressBar};
    return std::ranges::find(controls, role) != std::end(controls);
}

// The controls of a window a learner can reach with the keyboard, and its buttons, boxes,
// lists and bars, that tell a screen reader nothing: no accessible name, or one of signs alone
// (a toggle's "♯").
inline QStringList unnamedControls(const QWidget& window) {
    QStringList unnamed;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        const bool offered = accessible && isControlRole(accessible->role());
        // A spin box's editor and a view's viewport are read as the box or view, which is named.
        const auto* view = qobject_cast<QAbstractScrollArea*>(control->parentWidget());
        const bool part = qobject_cast<QAbstractSpinBox*>(control->parentWidget()) ||
                          (view && view->viewport() == control);
        if (!control->isVisibleTo(&window) || part ||
            (control->focusPolicy() == Qt::NoFocus && !offered))
            continue;
        const QString name = accessible ? accessible->text(QAccessible::Name) : QString();
        if (std::ranges::none_of(name, [](QChar c) { return c.isLetterOrNumber(); }))
            unnamed.append(QStringLiteral("%1 \"%2\" at %3,%4")
                               .arg(QString::fromLatin1(control->metaObject()->className()), name)
                               .arg(control->x())
                               .arg(control->y()));
    }
    return unnamed;
}

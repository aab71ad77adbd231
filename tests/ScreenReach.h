#pragma once

// Whether a learner sees every control of a window on its screen, or can scroll to it.
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QWidget>

// The part of a control a learner must see: a label's text where the label reaches further.
inline QRect seenPart(const QWidget* control) {
    const auto* label = qobject_cast<const QLabel*>(control);
    if (!label || label->wordWrap() || label->text().isEmpty() ||
        Qt::mightBeRichText(label->text()))
        return control->rect();
    const QFontMetrics metrics = label->fontMetrics();
    const QSize text(metrics.horizontalAdvance(label->text()), metrics.height());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), text,
                               label->contentsRect())
        .intersected(label->rect());
}

// The window's frame larger than its screen's available area, and each visible control that
// lies beyond the window and no scroll area brings into view, in words; empty where a learner
// reaches everything.
inline QStringList outOfReach(const QWidget& window) {
    QStringList problems;
    const QRect available = window.screen()->availableGeometry();
    const QSize frame = window.frameGeometry().size();
    if (frame.width() > available.width() || frame.height() > available.height())
        problems.append(QStringLiteral("%1: frame %2 × %3 on a screen of %4 × %5")
                            .arg(window.metaObject()->className())
                            .arg(frame.width())
                            .arg(frame.height())
                            .arg(available.width())
                            .arg(available.height()));
    const auto name = [](const QWidget* control) {
        const QString caption = control->property("text").toString();
        return QStringLiteral("%1 „%2“").arg(control->metaObject()->className(), caption);
    };
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (control->window() != &window || !control->isVisibleTo(&window))
            continue;
        const QScrollArea* area = nullptr; // the nearest around the control
        for (const QWidget* up = control->parentWidget(); up && up != &window && !area;
             up = up->parentWidget())
            area = qobject_cast<const QScrollArea*>(up);
        // Laid out wholly beyond the window's own size, it is seen at no scale: a part of the
        // layout that was never on show.
        const QWidget* page = area && area->widget() && area->widget()->isAncestorOf(control)
                                  ? area->widget()
                                  : &window;
        if (!page->rect().intersects(
                seenPart(control).translated(control->mapTo(page, QPoint(0, 0)))))
            continue;
        if (page != &window) {
            const QRect onPage = seenPart(control).translated(control->mapTo(page, QPoint(0, 0)));
            const QWidget* view = area->viewport();
            const bool scrollsFar =
                area->horizontalScrollBar()->maximum() >= page->width() - view->width() &&
                area->verticalScrollBar()->maximum() >= page->height() - view->height();
            const QRect areaInWindow(area->mapTo(&window, QPoint(0, 0)), area->size());
            if (!page->rect().contains(onPage) || !scrollsFar ||
                !window.rect().contains(areaInWindow))
                problems.append(name(control) + QStringLiteral(" cannot be scrolled to"));
        } else if (!window.rect().contains(
                       seenPart(control).translated(control->mapTo(&window, QPoint(0, 0))))) {
            problems.append(name(control) + QStringLiteral(" lies beyond the window"));
        }
    }
    return problems;
}

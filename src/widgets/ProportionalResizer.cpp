#include "widgets/ProportionalResizer.h"

#include <QEvent>
#include <QResizeEvent>
#include <QWidget>

ProportionalResizer::ProportionalResizer(QWidget* window)
    : QObject(window), m_window(window), m_designSize(window->size()) {
    const QList<QWidget*> children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->isWindow())
            continue;
        m_children.push_back({child, child->geometry(), child->font().pointSizeF()});
    }
    window->installEventFilter(this);
}

bool ProportionalResizer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Resize)
        scaleTo(static_cast<QResizeEvent*>(event)->size());
    return QObject::eventFilter(watched, event);
}

void ProportionalResizer::scaleTo(const QSize& size) {
    if (m_designSize.isEmpty())
        return;
    const double sx = double(size.width()) / m_designSize.width();
    const double sy = double(size.height()) / m_designSize.height();
    const double fontScale = std::min(sx, sy);
    for (const Original& original : m_children) {
        if (!original.widget)
            continue;
        const QRect& g = original.geometry;
        // Scaling both edges, not the size, keeps neighbours meeting where they met.
        const int left = qRound(g.x() * sx);
        const int top = qRound(g.y() * sy);
        const int right = qRound((g.x() + g.width()) * sx);
        const int bottom = qRound((g.y() + g.height()) * sy);
        original.widget->setGeometry(left, top, right - left, bottom - top);
        if (original.pointSize > 0) {
            QFont font = original.widget->font();
            font.setPointSizeF(std::max(1.0, original.pointSize * fontScale));
            original.widget->setFont(font);
        }
    }
}

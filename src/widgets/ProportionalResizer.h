#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

// Keeps every child of a window, at any depth, in proportion to the window's client size:
// geometry scaled by width and height, font size by the smaller of the two factors. Install it
// after the layout is applied; that layout is the proportion kept.
class ProportionalResizer : public QObject {
public:
    explicit ProportionalResizer(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Original {
        QPointer<QWidget> widget;
        QRect geometry;
        double pointSize;
    };

    void scaleTo(const QSize& size);

    QWidget* m_window;
    QSize m_designSize;
    std::vector<Original> m_children;
};

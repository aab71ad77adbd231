#pragma once

#include <QAbstractButton>

// A key of the on-screen keyboard: a plain area with a thin border whose background
// colour marks it. Being a button, it reports a click made on it or on its label, which
// passes the mouse on to it.
class KeyboardKey : public QAbstractButton {
public:
    explicit KeyboardKey(QWidget* parent);

    void setBackColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;
};

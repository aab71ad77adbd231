#pragma once

#include "widgets/AnswerMarks.h"

#include <QAbstractButton>

#include <optional>

// A key of the on-screen keyboard: a plain area with a thin border whose background
// colour marks it, and a cross or a ring drawn on it in the wrong-answer display. Being a button,
// it reports a click made on it or on its label, which passes the mouse on to it.
class KeyboardKey : public QAbstractButton {
public:
    explicit KeyboardKey(QWidget* parent);

    void setBackColor(const QColor& colour);
    // What a screen reader reads of the key while it carries no mark.
    void setName(const QString& name);
    // The mark, and the key read as `note` marked in words; none restores the plain name.
    void setMark(std::optional<AnswerMark> mark, const QString& note = QString());

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<AnswerMark> m_mark;
    QString m_name;
};

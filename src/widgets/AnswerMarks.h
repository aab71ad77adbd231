#pragma once

#include <QString>

#include <optional>

class QPainter;
class QPushButton;
class QRectF;

// The wrong-answer display tells the chosen note from the asked one by shape as well as by red
// and green, which about one man in twelve cannot tell apart.
enum class AnswerMark { Chosen, Asked };

// A cross through the chosen head, its middle left open so that the head's colour still reads
// there; a ring around the asked head. In the painter's pen, around the head's circle.
void drawHeadMark(QPainter& painter, AnswerMark mark, const QRectF& head);

// The same marks whole, inside a box: a cross from corner to corner, a ring touching its sides.
void drawBoxMark(QPainter& painter, AnswerMark mark, const QRectF& box);

// What a screen reader reads of a marked note, in words rather than signs: "f, gesucht",
// "g, gewählt, falsch".
QString markedNoteName(AnswerMark mark, const QString& note);

// The button's caption with "✗ " or "✓ " before it and its accessible name in words for `note`,
// or with none and the name its caption gives.
void setCaptionMark(QPushButton* button, std::optional<AnswerMark> mark,
                    const QString& note = QString());

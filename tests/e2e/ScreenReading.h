#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// Reading the main window from a screenshot as a learner reads it.

// The window's client area as the screen shows it, with whatever lies above it.
QImage grabWindow(quint64 window);
// A part of the screen, with whatever window lies on top there.
QImage grabScreen(const QRect& area);

// A note head in one column of the staff.
struct Head {
    enum class State { Shown, Hidden, Unclear };
    State state = State::Unclear;
    double top = 0; // upper edge in twips, when shown
};
// Looks down the column's middle for one head's light filling; something light of another
// size (a dialog above the staff) leaves it unclear.
Head headInColumn(const QImage& window, int columnX);

// A point of a head's filling above its middle, where no ledger line runs.
QPoint headInside(int columnX, const Head& head);

// The place in a phrase of `notes` whose note the arrow under the staff marks, if it marks one.
std::optional<int> markedPlace(const QImage& window, int notes);

// A new phrase of `notes` in a key without signs, every head white and the arrow under the
// first: the notes its heads stand for in the clef, left to right.
std::optional<QList<int>> newPhrase(const QImage& window, const QString& clef, int notes);
// The phrase's note at `place`, not its last, answered rightly: its head green alone, the arrow
// under the next.
bool phraseNoteRight(const QImage& window, int place, int notes);

// The note index 0..14 whose head stands at `top` in the clef ("Violin", "Bass", "Alto" or
// "Tenor"), if any
// stands near it.
std::optional<int> noteAtHeadTop(const QString& clef, double top);

// The middle of the leftmost head on the staff right of `fromX`, in pixels, when one shows:
// with altered notes the columns stand further right. Other light or coloured marks are passed
// over.
std::optional<int> headColumnAfter(const QImage& window, int fromX);

// Everything drawn on the staff between two verticals that is neither background nor a head's
// filling, each run of columns as its box in pixels: the signs standing there. The staff
// lines alone make no mark.
QList<QRect> marksBetween(const QImage& window, int fromX, int toX);

enum class Tint { White, Red, Green, Other };
// The colour family of a pixel: the style paints a button lighter than its colour but keeps
// the hue.
Tint tintAt(const QImage& image, QPoint point);

// The darkest pixel in an area, where a caption's letters cover it whole: the text's colour.
QColor darkestIn(const QImage& image, const QRect& area);

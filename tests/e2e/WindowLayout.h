#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <cmath>

// Where the test clicks and looks, in twips of each window's client area as its layout gives
// them (15 twips = 1 pixel).
namespace layout {

inline QPoint pixel(double xTwips, double yTwips) {
    return {int(std::lround(xTwips / 15.0)), int(std::lround(yTwips / 15.0))};
}

inline QPoint centre(double left, double top, double width, double height) {
    return pixel(left + width / 2, top + height / 2);
}

// Main window.
inline const QPoint violinButton = centre(120, 120, 1455, 375);
inline const QPoint bassButton = centre(1680, 120, 1455, 375);
inline const QPoint violinEarTrainingButton = centre(120, 600, 1455, 255);
inline const QPoint bassEarTrainingButton = centre(1680, 600, 1455, 255);
inline const QPoint abortButton = centre(120, 960, 3015, 375);
inline const QPoint helpButton = centre(7080, 120, 1215, 375);
inline const QPoint infoButton = centre(8400, 120, 1215, 375);
inline const QPoint endButton = centre(9720, 120, 1215, 375);
inline const QPoint statisticsButton = centre(120, 2760, 3015, 375);
inline const QPoint moreClefsButton = centre(120, 3240, 3015, 375);
// Where the sign of a clef without its own answer row stands: left of the asked column, between
// the middle line and the one below it, clear of both.
inline const QRect clefSignBetweenLines = {pixel(3420, 2300), pixel(3990, 2520)};
// Inside the bar, near its left end, where the first hundredths of a task show.
inline const QPoint progressStart = pixel(126 + 150, 1512 + 196);
// The toggles ♭, ♮ and ♯ under the time bar, shown while an exercise has altered notes.
inline QPoint accidentalToggle(int index) {
    return centre(126 + 600 * index, 1992, 495, 495);
}
constexpr int sharpToggle = 2;

inline double answerLeft(int index) {
    return 120 + 720 * index;
}
inline double answerTop(const QString& clef) {
    return clef == QStringLiteral("Bass") ? 6360 : 5040;
}
inline QPoint answerButton(const QString& clef, int index) {
    return centre(answerLeft(index), answerTop(clef), 735, 495);
}
// On the button's face beside its caption.
inline QPoint answerFace(const QString& clef, int index) {
    return pixel(answerLeft(index) + 120, answerTop(clef) + 247);
}
// Just inside the face's upper left and lower right corners, clear of the button's edge.
inline std::array<QPoint, 2> answerFaceCorners(const QString& clef, int index) {
    return {pixel(answerLeft(index) + 60, answerTop(clef) + 60),
            pixel(answerLeft(index) + 735 - 75, answerTop(clef) + 495 - 75)};
}
// A button's face clear of its edge, where its caption stands.
inline QRect captionArea(double left, double top, double width, double height) {
    return {pixel(left + 60, top + 60), pixel(left + width - 75, top + height - 75)};
}
inline QRect answerCaption(const QString& clef, int index) {
    return captionArea(answerLeft(index), answerTop(clef), 735, 495);
}
inline const QRect helpCaption = captionArea(7080, 120, 1215, 375);

// The vertical through the middle of each column's head, and the height band the heads use:
// below the buttons at the window's top, which a phrase's later heads stand under.
inline const int askedColumnX = pixel(3884.5 + 855 / 2.0, 0).x();
inline const int chosenColumnX = pixel(5774.5 + 855 / 2.0, 0).x();
inline const int headBandTop = pixel(0, 510).y();
inline const int headBandBottom = pixel(0, 4450).y();
constexpr double headDiameter = 375;

// Upper edge of the head of each note index, lowest note first.
constexpr std::array<double, 15> trebleHeadTops = {3752, 3584, 3416, 3248, 3080, 2912, 2744, 2576,
                                                   2408, 2240, 2072, 1904, 1736, 1568, 1414};
constexpr std::array<double, 15> bassHeadTops = {2912, 2744, 2576, 2408, 2240, 2072, 1904, 1736,
                                                 1568, 1414, 1260, 1071, 882,  721,  560};
// The alto and tenor clefs' notes stand three steps above the treble clef's.
constexpr std::array<double, 15> cClefHeadTops = {3248, 3080, 2912, 2744, 2576, 2408, 2240, 2072,
                                                  1904, 1736, 1568, 1414, 1260, 1071, 882};
// The staff's lines from the top, and a staff space.
constexpr std::array<double, 5> staffLineYs = {1568, 1904, 2240, 2576, 2912};
constexpr double staffSpace = 336;
// Where the staff begins, and how far the ledger lines reach either side of their head.
constexpr double staffLeft = 3360;
constexpr double ledgerHalfWidth = 280;
// A note on the middle line.
constexpr double middleLineHeadTop = 2072;

// A phrase's heads in a key without signs: the first in the asked column, each next one a slot
// further right (its ledger lines, a head and 0.6 staff spaces); a wrong note's chosen head a
// head's width right of the asked one.
constexpr double phraseSlot = 2 * ledgerHalfWidth + headDiameter + 0.6 * staffSpace;
inline int phraseColumnX(int place) {
    return pixel(3884.5 + 855 / 2.0 + place * phraseSlot, 0).x();
}
inline int phraseChosenColumnX(int place) {
    return pixel(3884.5 + 855 / 2.0 + place * phraseSlot + headDiameter, 0).x();
}
// Inside the arrow under the staff that marks a phrase's note to answer, below its tip.
inline QRect phraseArrow(int place) {
    const double middle = 3884.5 + 855 / 2.0 + place * phraseSlot;
    return {pixel(middle - 15, 4260), pixel(middle + 15, 4380)};
}

// Settings dialog.
inline const QPoint timePerNoteField = centre(120 + 2394, 240 + 252, 742, 360);
inline const QPoint disappearField = centre(120 + 2394, 240 + 756, 735, 322);
inline QPoint rangeBox(const QString& clef, int index) {
    const double frameTop = clef == QStringLiteral("Bass") ? 3240 : 1680;
    return centre(120 + 240 + 600 * index, frameTop + 480, 615, 495);
}
// Opened from "Weitere Schlüssel…": the clef's range row in the treble frame's place, the clef
// list in the bass frame's.
inline const QPoint clefList = centre(120 + 240, 3240 + 480, 5400, 375);
inline const QPoint startButton = centre(1320, 5040, 1815, 375);
inline const QPoint startWithKeyboardButton = centre(3480, 5040, 2655, 375);
inline const QPoint cancelButton = centre(6480, 5040, 1815, 375);
// The group "Tonart und Versetzungszeichen": the key's list (C major, then the keys with 1 to 7
// sharps, with 1 to 7 flats, and one for each exercise) and the accidentals' list.
inline const QPoint keyList = centre(120 + 2100, 7950 + 300, 4140, 330);
inline const QPoint accidentalsList = centre(120 + 2100, 7950 + 660, 1800, 330);
// "Noten pro Aufgabe:" below the key's group: 1, 4 or 8.
inline const QPoint notesPerTaskList = centre(2220, 9180, 900, 330);
// The tick box of "Mit Instrument oder Stimme antworten (Mikrofon)".
inline const QPoint microphoneBox = pixel(120 + 120, 5580 + 150);

// Keyboard window: a white key is clicked low down, below the black keys, and its colour read
// between the black keys' ends and its caption.
inline QPoint whiteKey(int index) {
    return pixel(240 + 480 * index + 247, 240 + 1450);
}
inline QPoint whiteKeyFace(int index) {
    return pixel(240 + 480 * index + 247, 1267);
}

// Help and about windows.
inline const QPoint helpCloseButton = centre(126, 4620, 1575, 375);
inline const QPoint readmeButton = centre(5010, 5096, 1575, 255);
inline const QPoint homePageLink = centre(0, 4410, 6762, 504);
inline const QPoint infoOkButton = centre(252, 5670, 1935, 375);

} // namespace layout

#pragma once

#include <QString>
#include <QStringList>

// The notes of the treble and bass clefs (index 0 to 14, an f at 0 in either) as A major writes
// them: its signature sharpens every f, c and g.
namespace aMajor {

inline bool sharpened(int index) {
    const int fromF = index % 7;
    return fromF == 0 || fromF == 1 || fromF == 4;
}

// The treble note's German name, as the key spells it or, without its sign, as its natural.
inline QString trebleName(int index, bool withSign = true) {
    static const QStringList naturals = {"f",  "g",  "a",  "h",   "c'",  "d'",  "e'", "f'",
                                         "g'", "a'", "h'", "c''", "d''", "e''", "f''"};
    QString note = naturals.at(index);
    if (withSign && sharpened(index))
        note.insert(1, QStringLiteral("is"));
    return note;
}

// The details line of a treble task whose sharp was forgotten.
inline QString forgottenSign(int task, int index) {
    return QStringLiteral("Aufgabe %1: gesucht %2, gewählt %3 (Vorzeichen vergessen)")
        .arg(task)
        .arg(trebleName(index), trebleName(index, false));
}

} // namespace aMajor

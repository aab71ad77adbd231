#include "training/MistakeNaming.h"

#include "training/ClefTable.h"
#include "training/NoteModel.h"
#include "training/NoteNaming.h"

#include <QCoreApplication>

#include <QStringList>

#include <array>
#include <cstdlib>

namespace {

// The kinds counted; Other stays last.
enum class Kind {
    OtherClef,
    Octave,
    Neighbour,
    TimeOut,
    ForgottenSign,
    WrongSign,
    Enharmonic,
    Other
};
constexpr std::size_t KindCount = std::size_t(Kind::Other) + 1;

// By the steps between two indices, which are neighbouring white keys: 1 to 14.
constexpr std::array<const char*, NoteCount - 1> IntervalNames = {
    QT_TRANSLATE_NOOP("MistakeNaming", "Sekunde"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Terz"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Quarte"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Quinte"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Sexte"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Septime"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Oktave"),
    QT_TRANSLATE_NOOP("MistakeNaming", "None"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Dezime"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Undezime"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Duodezime"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Tredezime"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Quartdezime"),
    QT_TRANSLATE_NOOP("MistakeNaming", "Doppeloktave")};

QString intervalName(int steps) {
    return QCoreApplication::translate("MistakeNaming",
                                       IntervalNames.at(std::size_t(std::abs(steps) - 1)));
}

// The clef whose note on the asked note's staff place has the chosen note's letter: the learner
// read the staff in that clef. A second apart is a neighbour, never a misreading (in the alto
// and tenor clefs the treble or bass clef's letter can be the next one).
std::optional<Clef> misreadAs(Clef clef, int steps) {
    const ClefRow* own = clefRow(clef);
    if (!own || std::abs(steps) == 1)
        return std::nullopt;
    for (const Clef other : misreadingClefs(clef)) {
        const int shift = ladderBaseStep(*clefRow(other)) - ladderBaseStep(*own);
        if ((steps - shift) % SpelledNote::StepsPerOctave == 0)
            return other;
    }
    return std::nullopt;
}

// What the asked and chosen notes say beyond their staff places, when both are spelled.
std::optional<Kind> signKind(const MissedTask& missed) {
    if (!missed.askedNote || !missed.chosenNote)
        return std::nullopt;
    const SpelledNote asked = *missed.askedNote;
    const SpelledNote chosen = *missed.chosenNote;
    // A missed sign leaves the natural, or the key's alteration where the note has a sign of its
    // own; either is the same lapse.
    if (asked.step == chosen.step && asked.alteration != chosen.alteration)
        return chosen.alteration == 0 || chosen == missed.key.spell(asked.step)
                   ? Kind::ForgottenSign
                   : Kind::WrongSign;
    if (asked.step != chosen.step && asked.midiPitch() == chosen.midiPitch())
        return Kind::Enharmonic;
    return std::nullopt;
}

Kind kindOf(Clef clef, const MissedTask& missed) {
    if (!missed.chosenIndex)
        return Kind::TimeOut;
    if (const std::optional<Kind> kind = signKind(missed))
        return *kind;
    const int steps = *missed.chosenIndex - missed.askedIndex;
    if (misreadAs(clef, steps))
        return Kind::OtherClef;
    if (std::abs(steps) % SpelledNote::StepsPerOctave == 0)
        return Kind::Octave;
    if (std::abs(steps) == 1)
        return Kind::Neighbour;
    return Kind::Other;
}

QString signKindText(Kind kind) {
    switch (kind) {
    case Kind::ForgottenSign:
        return QCoreApplication::translate("MistakeNaming", "Vorzeichen vergessen");
    case Kind::WrongSign:
        return QCoreApplication::translate("MistakeNaming", "falsches Vorzeichen");
    default:
        return QCoreApplication::translate("MistakeNaming", "enharmonisch verwechselt");
    }
}

QString askedName(Clef clef, const MissedTask& missed) {
    return missed.askedNote ? noteName(*missed.askedNote) : noteName(clef, missed.askedIndex);
}

QString chosenName(Clef clef, const MissedTask& missed) {
    return missed.chosenNote ? noteName(*missed.chosenNote) : noteName(clef, *missed.chosenIndex);
}

QString mistakeLine(Clef clef, const MissedTask& missed) {
    QString line =
        missed.place
            ? QCoreApplication::translate("MistakeNaming", "Aufgabe %1, Note %2: gesucht %3")
                  .arg(missed.task)
                  .arg(*missed.place + 1)
                  .arg(askedName(clef, missed))
            : QCoreApplication::translate("MistakeNaming", "Aufgabe %1: gesucht %2")
                  .arg(missed.task)
                  .arg(askedName(clef, missed));
    if (!missed.chosenIndex)
        return line + QCoreApplication::translate("MistakeNaming", " (Zeit vorbei)");
    if (const std::optional<Kind> kind = signKind(missed))
        return line + QCoreApplication::translate("MistakeNaming", ", gewählt %1 (%2)")
                          .arg(chosenName(clef, missed), signKindText(*kind));
    const int steps = *missed.chosenIndex - missed.askedIndex;
    line += QCoreApplication::translate("MistakeNaming", ", gewählt %1 (eine %2 %3")
                .arg(chosenName(clef, missed), intervalName(steps),
                     steps > 0 ? QCoreApplication::translate("MistakeNaming", "zu hoch")
                               : QCoreApplication::translate("MistakeNaming", "zu tief"));
    if (const std::optional<Clef> other = misreadAs(clef, steps))
        line += QStringLiteral(" – ") +
                QCoreApplication::translate("Clef", clefRow(*other)->readAsText);
    return line + QLatin1Char(')');
}

QString kindCounts(Clef clef, const QList<MissedTask>& missed, bool alteredNotes) {
    std::array<int, KindCount> count{};
    for (const MissedTask& task : missed)
        ++count.at(std::size_t(kindOf(clef, task)));
    const auto of = [&count](Kind kind) { return count.at(std::size_t(kind)); };
    return QCoreApplication::translate(
               "MistakeNaming", "Oktave verwechselt: %1, Nachbarton: %2, anderer Schlüssel: %3, "
                                "Zeit vorbei: %4, sonst: %5")
               .arg(of(Kind::Octave))
               .arg(of(Kind::Neighbour))
               .arg(of(Kind::OtherClef))
               .arg(of(Kind::TimeOut))
               .arg(of(Kind::Other)) +
           (alteredNotes ? QCoreApplication::translate(
                               "MistakeNaming", ", Vorzeichen vergessen: %1, falsches Vorzeichen: "
                                                "%2, enharmonisch verwechselt: %3")
                               .arg(of(Kind::ForgottenSign))
                               .arg(of(Kind::WrongSign))
                               .arg(of(Kind::Enharmonic))
                         : QString());
}

} // namespace

QString mistakeDetails(Clef clef, const QList<MissedTask>& missed, bool alteredNotes) {
    QStringList lines;
    for (const MissedTask& task : missed)
        lines.append(mistakeLine(clef, task));
    if (missed.size() >= 2)
        lines.append(kindCounts(clef, missed, alteredNotes));
    return lines.join(QLatin1Char('\n'));
}

#include "training/MistakeNaming.h"

#include "training/ClefTable.h"
#include "training/NoteModel.h"

#include <QCoreApplication>

#include <QStringList>

#include <array>
#include <cstdlib>

namespace {

// The kinds counted; Other stays last.
enum class Kind { OtherClef, Octave, Neighbour, TimeOut, Other };
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

constexpr int StepsPerOctave = 7;

// The clef whose note on the asked note's staff place has the chosen note's letter: the learner
// read the staff in that clef. A second apart is a neighbour, never a misreading (in the alto
// and tenor clefs the treble or bass clef's letter can be the next one).
std::optional<Clef> misreadAs(Clef clef, int steps) {
    const ClefRow* own = clefRow(clef);
    if (!own || std::abs(steps) == 1)
        return std::nullopt;
    for (const Clef other : misreadingClefs(clef)) {
        const int shift = ladderBaseStep(*clefRow(other)) - ladderBaseStep(*own);
        if ((steps - shift) % StepsPerOctave == 0)
            return other;
    }
    return std::nullopt;
}

Kind kindOf(Clef clef, const MissedTask& missed) {
    if (!missed.chosen)
        return Kind::TimeOut;
    const int steps = *missed.chosen - missed.asked;
    if (misreadAs(clef, steps))
        return Kind::OtherClef;
    if (std::abs(steps) % StepsPerOctave == 0)
        return Kind::Octave;
    if (std::abs(steps) == 1)
        return Kind::Neighbour;
    return Kind::Other;
}

QString mistakeLine(Clef clef, const MissedTask& missed) {
    QString line = QCoreApplication::translate("MistakeNaming", "Aufgabe %1: gesucht %2")
                       .arg(missed.task)
                       .arg(noteName(clef, missed.asked));
    if (!missed.chosen)
        return line + QCoreApplication::translate("MistakeNaming", " (Zeit vorbei)");
    const int steps = *missed.chosen - missed.asked;
    line += QCoreApplication::translate("MistakeNaming", ", gewählt %1 (eine %2 %3")
                .arg(noteName(clef, *missed.chosen), intervalName(steps),
                     steps > 0 ? QCoreApplication::translate("MistakeNaming", "zu hoch")
                               : QCoreApplication::translate("MistakeNaming", "zu tief"));
    if (const std::optional<Clef> other = misreadAs(clef, steps))
        line += QStringLiteral(" – ") +
                QCoreApplication::translate("Clef", clefRow(*other)->readAsText);
    return line + QLatin1Char(')');
}

QString kindCounts(Clef clef, const QList<MissedTask>& missed) {
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
        .arg(of(Kind::Other));
}

} // namespace

QString mistakeDetails(Clef clef, const QList<MissedTask>& missed) {
    QStringList lines;
    for (const MissedTask& task : missed)
        lines.append(mistakeLine(clef, task));
    if (missed.size() >= 2)
        lines.append(kindCounts(clef, missed));
    return lines.join(QLatin1Char('\n'));
}

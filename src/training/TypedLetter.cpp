#include "training/TypedLetter.h"

#include "training/ExerciseSize.h"
#include "training/NoteModel.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace {

struct LetterStep {
    int letter; // 0 = C .. 6 = B
    std::optional<int> alteration;
};

std::optional<LetterStep> letterStep(QChar typed, NoteLetters letters) {
    static constexpr QStringView Letters = u"cdefgab";
    const QChar lower = typed.toLower();
    if (letters == NoteLetters::German) {
        if (lower == u'h')
            return LetterStep{6, std::nullopt};
        if (lower == u'b')
            return LetterStep{6, -1};
    }
    const qsizetype at = Letters.indexOf(lower);
    if (at < 0)
        return std::nullopt;
    return LetterStep{int(at), std::nullopt};
}

bool isOctaveMark(QChar c) {
    return c == u'\'' || c == u'’' || c == u'′';
}

// Helmholtz's small octave (c to h) is the scientific octave 3, its great octave (C to H) 2.
constexpr int SmallOctave = 3;
constexpr int GreatOctave = 2;

} // namespace

std::optional<TypedNote> noteOfTypedLetter(QChar typed, NoteLetters letters, Clef clef,
                                           const SpelledNote& asked) {
    const std::optional<LetterStep> named = letterStep(typed, letters);
    if (!named)
        return std::nullopt;
    std::optional<TypedNote> nearest;
    int nearestDistance = std::numeric_limits<int>::max();
    for (int index = 0; index < NoteCount; ++index) {
        const std::optional<SpelledNote> note = clefNote(clef, index);
        if (!note || note->letter() != named->letter)
            continue;
        // Places of one letter lie seven steps apart: the nearest is never a tie.
        const int distance = std::abs(note->step - asked.step);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = TypedNote{index, named->alteration};
        }
    }
    return nearest;
}

TypedName readTypedName(QStringView typed, NamingStyle style, Clef clef, bool finished) {
    const TypedName noNote{TypedNameProgress::NoNote, std::nullopt};
    if (typed.isEmpty())
        return noNote;
    const std::optional<LetterStep> named = letterStep(typed.front(), style.letters);
    if (!named)
        return noNote;
    const QStringView octaveText = typed.sliced(1);
    const bool helmholtz = style.octaves == OctaveStyle::Helmholtz;
    const bool great = helmholtz && typed.front().isUpper();
    int octave = great ? GreatOctave : SmallOctave;
    bool digitTyped = false;
    if (octaveText.size() == 1 && octaveText.front().isDigit()) {
        const int digit = octaveText.front().digitValue();
        if (great)
            return noNote;
        octave = helmholtz ? SmallOctave + digit : digit;
        digitTyped = true;
    } else if (std::ranges::all_of(octaveText, isOctaveMark) && !(great && !octaveText.isEmpty())) {
        octave += int(octaveText.size());
    } else {
        return noNote;
    }
    // Scientific names need their digit.
    if (!helmholtz && !digitTyped)
        return finished ? noNote : TypedName{TypedNameProgress::Open, std::nullopt};

    const int step = octave * SpelledNote::StepsPerOctave + named->letter;
    const std::optional<int> index = clefIndexOf(clef, {step, 0});
    const std::optional<TypedNote> note =
        index ? std::optional(TypedNote{*index, named->alteration}) : std::nullopt;
    const bool moreMarksPossible =
        helmholtz && !digitTyped && !great &&
        std::ranges::any_of(std::array{1, 2, 3}, [&](int more) {
            return clefIndexOf(clef, {step + more * SpelledNote::StepsPerOctave, 0}).has_value();
        });
    if (note && (finished || !moreMarksPossible))
        return {TypedNameProgress::Complete, note};
    if (!finished && moreMarksPossible)
        return {TypedNameProgress::Open, note};
    return noNote;
}

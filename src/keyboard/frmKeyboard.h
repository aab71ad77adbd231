#pragma once

#include "training/NoteModel.h"
#include "widgets/AnswerMarks.h"

#include <QKeyEvent>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class Exercise;
class KeyboardKey;
class QLabel;

// The on-screen keyboard of an exercise practised with it: a white key answers with its note
// index as the main window's note button does, a black key with its pitch in an exercise with
// altered notes, and the keys of a wrong answer are marked while it is shown. The main window keeps
// it at its lower left corner; it closes when the keyboard practice ends and is deleted when
// closed.
class frmKeyboard : public QWidget {
    Q_OBJECT

public:
    explicit frmKeyboard(Exercise& exercise);

    // The white keys a black key follows; none after 3, 6 and 10, as on a piano from F upwards.
    static constexpr std::array<int, 11> BlackAfter = {0, 1, 2, 4, 5, 7, 8, 9, 11, 12, 14};

    std::array<KeyboardKey*, NoteCount> picKeyboard{};
    std::array<QLabel*, NoteCount> lblKeyboard{};
    // Black keys: they take clicks, and answer only with altered notes.
    std::array<KeyboardKey*, 11> Picture1{};

    void Beschriften();
    void Markieren(int note, std::uint32_t colour, std::optional<AnswerMark> mark = std::nullopt);
    void picKeyboard_Click(std::int16_t Index);
    void Picture1_Click(int Index);
    // Keys typed here go to the main window's answers by letter; true when one answered.
    void answerTypedWith(std::function<bool(const QKeyEvent&)> answer);
    // A wrong answer's keys in the darker red and green of high contrast.
    void showInHighContrast(bool on) { m_highContrast = on; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LayoutAnwenden();
    void markMistake(int asked, int chosen);
    void clearMarks();
    // The MIDI note a black key sounds in the clef; none where it follows an E or a B, as in the
    // C clefs, whose notes start elsewhere than at F.
    std::optional<int> blackKeyPitch(int key) const;
    // What a screen reader calls a black key: the notes it sounds, or that it sounds none.
    QString blackKeyName(int key) const;
    // Every key that sounds `note`, read as that note marked.
    void markNote(const SpelledNote& note, std::uint32_t colour, AnswerMark mark);

    Exercise& m_exercise;
    std::function<bool(const QKeyEvent&)> m_typedAnswer;
    bool m_highContrast = false;
};

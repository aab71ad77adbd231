#include "keyboard/frmKeyboard.h"

#include "keyboard/KeyboardKey.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"
#include "training/NoteNaming.h"
#include "widgets/Contrast.h"
#include "widgets/DrawnElements.h"
#include "widgets/ProportionalResizer.h"
#include "widgets/Twips.h"

#include <QLabel>

#include <utility>
#include <vector>

frmKeyboard::frmKeyboard(Exercise& exercise)
    : QWidget(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_exercise(exercise) {
    setAttribute(Qt::WA_DeleteOnClose);
    LayoutAnwenden();
    new ProportionalResizer(this);
    for (int i = 0; i < NoteCount; ++i) {
        const auto index = std::int16_t(i);
        connect(picKeyboard[i], &KeyboardKey::clicked, this,
                [this, index] { picKeyboard_Click(index); });
    }
    for (std::size_t j = 0; j < Picture1.size(); ++j)
        connect(Picture1[j], &KeyboardKey::clicked, this, [this, j] { Picture1_Click(int(j)); });
    connect(&m_exercise, &Exercise::mistakeShown, this, &frmKeyboard::markMistake);
    connect(&m_exercise, &Exercise::mistakeCleared, this, &frmKeyboard::clearMarks);
    // An exercise aborted during the display ends it too.
    connect(&m_exercise, &Exercise::ended, this, &frmKeyboard::clearMarks);
    connect(&m_exercise, &Exercise::keyboardPracticeEnded, this, &QWidget::close);
    Beschriften();
}

void frmKeyboard::answerTypedWith(std::function<bool(const QKeyEvent&)> answer) {
    m_typedAnswer = std::move(answer);
}

void frmKeyboard::keyPressEvent(QKeyEvent* event) {
    if (m_typedAnswer && m_typedAnswer(*event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void frmKeyboard::Beschriften() {
    for (int i = 0; i < NoteCount; ++i) {
        lblKeyboard[i]->setText(m_exercise.NummerName(i));
        // A screen reader reads the key that takes the press, not the label painted on it.
        picKeyboard[i]->setName(m_exercise.NummerName(i));
    }
    for (std::size_t j = 0; j < Picture1.size(); ++j)
        Picture1[j]->setName(blackKeyName(int(j)));
}

// Both spellings, as the key itself does not say which one is meant.
QString frmKeyboard::blackKeyName(int key) const {
    const std::optional<SpelledNote> below =
        clefNote(m_exercise.clef(), BlackAfter.at(std::size_t(key)));
    if (!below || !blackKeyPitch(key))
        return tr("stumme Taste");
    const SpelledNote sharp{below->step, below->alteration + 1};
    const SpelledNote flat{below->step + 1, below->alteration - 1};
    return tr("%1 oder %2").arg(noteName(sharp), noteName(flat));
}

void frmKeyboard::Markieren(int note, std::uint32_t colour, std::optional<AnswerMark> mark) {
    if (note < 0 || note >= NoteCount)
        return;
    picKeyboard[note]->setBackColor(fromVbColor(colour));
    picKeyboard[note]->setMark(mark, m_exercise.NummerName(note));
}

void frmKeyboard::picKeyboard_Click(std::int16_t Index) {
    m_exercise.answer(Index, AnswerInput::ScreenKeyboard);
}

// Without altered notes a black key answers nothing, as on the keyboard it stands for.
void frmKeyboard::Picture1_Click(int Index) {
    if (!m_exercise.alteredNotes())
        return;
    if (const std::optional<int> pitch = blackKeyPitch(Index))
        m_exercise.answerPitch(*pitch, AnswerInput::ScreenKeyboard);
}

std::optional<int> frmKeyboard::blackKeyPitch(int key) const {
    const std::optional<SpelledNote> below =
        clefNote(m_exercise.clef(), BlackAfter.at(std::size_t(key)));
    if (!below || SpelledNote::naturalOf(below->midiPitch() + 1))
        return std::nullopt;
    return below->midiPitch() + 1;
}

// With altered notes the keys that sound the notes are marked, black ones too.
void frmKeyboard::markMistake(int asked, int chosen) {
    const std::uint32_t red = answerColour(VbColor::Red, m_highContrast);
    const std::uint32_t green = answerColour(VbColor::Green, m_highContrast);
    const std::optional<SpelledNote> chosenNote = m_exercise.chosenSpelled();
    if (!m_exercise.alteredNotes() || !chosenNote) {
        Markieren(chosen, red, AnswerMark::Chosen);
        Markieren(asked, green, AnswerMark::Asked);
        return;
    }
    markNote(*chosenNote, red, AnswerMark::Chosen);
    markNote(m_exercise.askedSpelled(), green, AnswerMark::Asked);
}

void frmKeyboard::markNote(const SpelledNote& note, std::uint32_t colour, AnswerMark mark) {
    const int pitch = note.midiPitch();
    std::vector<KeyboardKey*> keys;
    for (int i = 0; i < NoteCount; ++i)
        if (const std::optional<SpelledNote> white = clefNote(m_exercise.clef(), i);
            white && white->midiPitch() == pitch)
            keys.push_back(picKeyboard[i]);
    for (std::size_t j = 0; j < Picture1.size(); ++j)
        if (blackKeyPitch(int(j)) == pitch)
            keys.push_back(Picture1[j]);
    for (KeyboardKey* key : keys) {
        key->setBackColor(fromVbColor(colour));
        key->setMark(mark, noteName(note));
    }
}

void frmKeyboard::clearMarks() {
    for (int i = 0; i < NoteCount; ++i)
        Markieren(i, VbColor::White);
    for (KeyboardKey* key : Picture1) {
        key->setBackColor(Qt::black);
        key->setMark(std::nullopt);
    }
}

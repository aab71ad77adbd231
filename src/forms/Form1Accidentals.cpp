// The accidental toggles: ♭, ♮ or ♯ for the next answer button's click or typed letter, while an
// exercise with altered notes runs.
#include "forms/Form1.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>
#include <initializer_list>

namespace {

// The alteration each toggle gives, in the order of cmdVorzeichen.
constexpr std::array<int, 3> Alterations = {-1, 0, 1};

} // namespace

void Form1::connectAccidentals() {
    const std::array<std::initializer_list<Qt::Key>, 3> keys = {
        {{Qt::Key_Minus}, {Qt::Key_Equal, Qt::Key_0}, {Qt::Key_Plus, Qt::Key_NumberSign}}};
    for (std::size_t i = 0; i < cmdVorzeichen.size(); ++i) {
        QPushButton* toggle = cmdVorzeichen[i];
        connect(toggle, &QPushButton::clicked, this, [this, i] { cmdVorzeichen_Click(int(i)); });
        // Belonging to the toggle, a key works only while it is shown and enabled.
        for (const Qt::Key key : keys[i])
            connect(new QShortcut(QKeySequence(key), toggle), &QShortcut::activated, toggle,
                    &QPushButton::click);
    }
    connect(&m_exercise, &Exercise::started, this,
            [this] { showAccidentals(m_exercise.alteredNotes()); });
    connect(&m_exercise, &Exercise::ended, this, [this] { showAccidentals(false); });
    // Whatever ends a task, the next one starts without a sign.
    connect(&m_exercise, &Exercise::taskEnded, this, &Form1::releaseAccidentals);
    connect(&m_exercise, &Exercise::timedOut, this, &Form1::releaseAccidentals);
}

// One sign at a time: a toggle pressed releases the others.
void Form1::cmdVorzeichen_Click(int Index) {
    if (!cmdVorzeichen[std::size_t(Index)]->isChecked())
        return;
    for (std::size_t i = 0; i < cmdVorzeichen.size(); ++i)
        if (int(i) != Index)
            cmdVorzeichen[i]->setChecked(false);
}

void Form1::answerWithButton(Clef row, int button) {
    const std::optional<int> index = answerIndex(row, button);
    if (index)
        answerPlace(*index, clefNote(row, button)->step, std::nullopt);
}

// The staff place `index` (its natural at `step`) answered: as spelled with the alteration
// given or the toggle down, else as the place's natural.
void Form1::answerPlace(int index, int step, std::optional<int> alteration) {
    for (std::size_t i = 0; i < cmdVorzeichen.size() && !alteration; ++i)
        if (cmdVorzeichen[i]->isChecked())
            alteration = Alterations[i];
    releaseAccidentals();
    if (alteration)
        m_exercise.answerSpelled({step, *alteration});
    else
        m_exercise.answer(index);
}

void Form1::showAccidentals(bool shown) {
    releaseAccidentals();
    for (QPushButton* toggle : cmdVorzeichen)
        toggle->setVisible(shown);
}

void Form1::releaseAccidentals() {
    for (QPushButton* toggle : cmdVorzeichen)
        toggle->setChecked(false);
}

bool Form1::isAnswerControl(const QWidget* widget) const {
    const auto holds = [widget](const auto& controls) {
        return std::find(controls.begin(), controls.end(), widget) != controls.end();
    };
    return holds(cmdNoteViolin) || holds(cmdNoteBass) || holds(cmdVorzeichen);
}

// What the main window shows of the exercise: the task, the time, a wrong answer, the rest.
#include "forms/Form1.h"
#include "settings/TypingSettings.h"
#include "training/ClefTable.h"
#include "training/Exercise.h"
#include "training/NoteNaming.h"
#include "widgets/AnswerMarks.h"
#include "widgets/BackColor.h"
#include "widgets/Contrast.h"

#include <QProgressBar>
#include <QPushButton>

#include <tuple>

void Form1::connectExercise() {
    connect(&m_exercise, &Exercise::started, this, &Form1::showStart);
    connect(&m_exercise, &Exercise::keyChosen, this, &Form1::showKey);
    connect(&m_exercise, &Exercise::taskShown, this, &Form1::showTask);
    connect(&m_exercise, &Exercise::headHidden, this, &Form1::hideHead);
    connect(&m_exercise, &Exercise::timeCounted, this, &Form1::showTime);
    connect(&m_exercise, &Exercise::timedOut, this, &Form1::showTimedOut);
    connect(&m_exercise, &Exercise::mistakeShown, this, &Form1::NoteFalschAnzeigen);
    connect(&m_exercise, &Exercise::mistakeCleared, this, &Form1::clearMistake);
    connect(&m_exercise, &Exercise::ended, this, &Form1::showRest);
    connect(&m_exercise, &Exercise::phraseShown, this, &Form1::showPhrase);
    connect(&m_exercise, &Exercise::phraseNoteJudged, this, &Form1::showPhraseNote);
    connect(&m_exercise, &Exercise::markMoved, this, &Form1::moveMark);
}

std::array<QPushButton*, NoteCount>& Form1::buttonRow(Clef row) {
    return row == Clef::Bass ? cmdNoteBass : cmdNoteViolin;
}

// A described clef answers on its own row; the others on every button of either row that
// carries one of their notes.
std::optional<int> Form1::answerIndex(Clef row, int button) const {
    const Clef clef = m_exercise.clef();
    const std::optional<SpelledNote> note = clefNote(row, button);
    if (!note || !answerRows(clef).contains(row))
        return std::nullopt;
    return clefIndexOf(clef, *note);
}

void Form1::showStart() {
    readDisplaySetting();
    m_typeOctave = m_services.store && readTypeOctave(*m_services.store);
    m_typedName.clear();
    ButtonsSperren();
    setAnswerRowEnabled(true);
    // A bar with minimum = maximum turns into a busy indicator: without a time limit it stays
    // empty.
    const int zeitVorbei = m_exercise.zeitVorbei();
    ProgressBar1->setRange(0, zeitVorbei > 0 ? zeitVorbei : 1);
    update();
}

void Form1::showTask(int /*note*/, int staffStep, bool headVisible) {
    m_typedName.clear();
    shpNote.Visible = true;
    hideLedgerLines(0, 11);
    placeNote(shpNote, Column::Asked, staffStep);
    m_askedSign = m_exercise.askedAccidental();
    shpNote.Visible = headVisible;
    update();
}

void Form1::hideHead() {
    shpNote.Visible = false;
    m_phraseHeadsVisible = false;
    update();
}

void Form1::showTime(int hundredths, int of) {
    ProgressBar1->setRange(0, of);
    ProgressBar1->setValue(hundredths);
}

void Form1::showTimedOut() {
    shpNote.Visible = true;
    update();
}

void Form1::NoteFalschAnzeigen(int gefragt, int gewaehlt) {
    const QList<Clef> rows = answerRows(m_exercise.clef());
    const QString askedName = noteName(m_exercise.askedSpelled());
    const std::optional<SpelledNote> chosen = m_exercise.chosenSpelled()
                                                  ? m_exercise.chosenSpelled()
                                                  : clefNote(m_exercise.clef(), gewaehlt);
    const QString chosenName = chosen ? noteName(*chosen) : QString();
    for (const Clef rowClef : rows) {
        auto& row = buttonRow(rowClef);
        for (const auto& [index, colour, mark, name] :
             {std::tuple{gewaehlt, VbColor::Red, AnswerMark::Chosen, chosenName},
              std::tuple{gefragt, VbColor::Green, AnswerMark::Asked, askedName}})
            for (int i = 0; i < NoteCount; ++i)
                if (answerIndex(rowClef, i) == index) {
                    setBackColor(row[i], answerColour(colour, m_highContrast));
                    setCaptionMark(row[i], mark, name);
                }
    }
    describeMistake(chosenName, askedName);
    // Disabling the focused button would pass focus on to "Übung abbrechen", where the next
    // space would abort: the window holds it until the row is back.
    if (QWidget* focused = focusWidget(); focused && isAnswerControl(focused)) {
        m_focusBeforeMistake = focused;
        setFocus(Qt::OtherFocusReason);
    }
    if (!rows.isEmpty())
        setAnswerRowEnabled(false);
    // A phrase shows its notes' answers on its own heads.
    if (m_exercise.phrases())
        return;
    shpNote.BackColor = VbColor::Green;
    shpNoteFalsch.Visible = true;
    shpNote.Visible = true;
    placeNote(shpNoteFalsch, Column::Chosen, staffStep(m_exercise.clef(), gewaehlt));
    m_chosenSign = chosenSign();
    update();
}

// Both heads go with the ledger lines, so that the staff stays empty while the next note sounds.
void Form1::clearMistake() {
    unmarkAnswerButtons();
    setAnswerRowEnabled(true);
    if (m_focusBeforeMistake && m_focusBeforeMistake->isEnabled())
        m_focusBeforeMistake->setFocus(Qt::OtherFocusReason);
    m_focusBeforeMistake = nullptr;
    shpNote.BackColor = VbColor::White;
    shpNote.Visible = false;
    shpNoteFalsch.Visible = false;
    m_chosenSign.reset();
    hideLedgerLines(0, 13);
    update();
}

void Form1::unmarkAnswerButtons() {
    for (auto* row : {&cmdNoteViolin, &cmdNoteBass})
        for (QPushButton* button : *row) {
            setBackColor(button, VbColor::White);
            setCaptionMark(button, std::nullopt);
        }
}

void Form1::setAnswerRowEnabled(bool enabled) {
    for (const Clef rowClef : answerRows(m_exercise.clef()))
        for (int i = 0; i < NoteCount; ++i)
            if (answerIndex(rowClef, i))
                buttonRow(rowClef)[i]->setEnabled(enabled);
    for (QPushButton* toggle : cmdVorzeichen)
        toggle->setEnabled(enabled);
}

void Form1::showRest() {
    ButtonsFreigeben();
    shpNote.Visible = false;
    shpNote.BackColor = VbColor::White;
    shpNoteFalsch.Visible = false;
    unmarkAnswerButtons();
    for (int i = 0; i < NoteCount; ++i) {
        cmdNoteBass[i]->setEnabled(false);
        cmdNoteViolin[i]->setEnabled(false);
    }
    m_focusBeforeMistake = nullptr;
    hideLedgerLines(0, 13);
    m_askedSign.reset();
    m_chosenSign.reset();
    hidePhrase();
    shiftColumns(0);
    ProgressBar1->setValue(0);
    update();
}

// Ending an exercise after its last task or on abort, and telling the result.
#include "training/Form1.h"

#include <QProgressBar>
#include <QTimer>

void Form1::UebungBeenden(bool Abgebrochen) {
    m_taskOpen = false;
    m_state = ExerciseState::Idle;
    ButtonsFreigeben();
    tmrWeg->stop();
    tmrVorbei->stop();
    tmrNoteFalsch->stop();
    shpNote.Visible = false;
    shpNote.BackColor = VbColor::White;
    shpNoteFalsch.Visible = false;
    resetAnswerColours();
    hideLedgerLines(0, 13);
    AusgewählterSchlüssel.clear();
    Gehörtraining = false;
    ZeitZaehler = 0;
    ProgressBar1->setValue(0);
    update();

    const QString text =
        Abgebrochen ? QStringLiteral("Du hast die Übung abgebrochen. Es erfolgt keine Wertung.")
                    : QStringLiteral("Du hast von 25 Aufgaben ") + QString::number(fehler) +
                          QStringLiteral(" falsch gemacht.");
    m_services.message(this, text, QString(), MessageIcon::Information);

    if (UebenMitKeyboard) {
        UebenMitKeyboard = false;
        closeKeyboard();
    }
}

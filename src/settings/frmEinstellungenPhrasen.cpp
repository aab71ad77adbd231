// The settings dialog's notes per task: shown as stored, stored when an exercise starts.
#include "settings/PhraseSettings.h"
#include "settings/frmEinstellungen.h"

#include <QComboBox>

void frmEinstellungen::PhrasenLaden() {
    const int stored =
        m_services.store ? readNotesPerTask(*m_services.store) : NotesPerTaskChoices.front();
    cboNotenProAufgabe->setCurrentIndex(cboNotenProAufgabe->findData(stored));
}

int frmEinstellungen::NotenProAufgabe() const {
    return cboNotenProAufgabe->currentData().toInt();
}

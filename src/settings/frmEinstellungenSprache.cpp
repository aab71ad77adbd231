// The settings dialog's language and note names. They are saved as soon as they are chosen and
// apply from the next start: every window's texts and note names are made once, when it is.
#include "settings/LanguageSettings.h"
#include "settings/SettingsStore.h"
#include "settings/frmEinstellungen.h"

#include <QComboBox>

void frmEinstellungen::SpracheLaden() {
    const LanguageSettings stored =
        m_services.store ? readLanguageSettings(*m_services.store) : LanguageSettings{};
    const NamingStyle style =
        namingStyleFor(stored, shownLanguage(stored.language, systemLanguage()));
    cboSprache->setCurrentIndex(int(stored.language));
    cboNotennamen->setCurrentIndex(int(style.letters));
    cboOktaven->setCurrentIndex(int(style.octaves));
}

// Note names not chosen yet follow the language: they show the newly chosen language's.
void frmEinstellungen::cboSprache_Click() {
    if (!m_services.store)
        return;
    saveLanguageChoice(*m_services.store, LanguageChoice(cboSprache->currentIndex()));
    SpracheLaden();
}

void frmEinstellungen::cboNotennamen_Click() {
    if (m_services.store)
        saveNoteLetters(*m_services.store, NoteLetters(cboNotennamen->currentIndex()));
}

void frmEinstellungen::cboOktaven_Click() {
    if (m_services.store)
        saveOctaveStyle(*m_services.store, OctaveStyle(cboOktaven->currentIndex()));
}

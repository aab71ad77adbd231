#include "settings/PhraseSettings.h"

#include "settings/SettingsStore.h"

#include <algorithm>

namespace {

const QString Section = QStringLiteral("Phrasen");
const QString NotesPerTaskKey = QStringLiteral("NotenProAufgabe");

} // namespace

int readNotesPerTask(const SettingsStore& store) {
    bool ok = false;
    const int notes = store.GetSetting(Section, NotesPerTaskKey).toInt(&ok);
    return ok && std::ranges::find(NotesPerTaskChoices, notes) != NotesPerTaskChoices.end()
               ? notes
               : NotesPerTaskChoices.front();
}

bool saveNotesPerTask(SettingsStore& store, int notesPerTask) {
    return store.SaveSetting(Section, NotesPerTaskKey, QString::number(notesPerTask));
}

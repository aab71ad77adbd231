// The alto and tenor clefs: which one, with or without ear training, and its range, kept for
// the next time.
#include "settings/SettingsStore.h"
#include "settings/frmEinstellungen.h"
#include "training/ClefTable.h"
#include "training/Exercise.h"
#include "training/RangeRule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>

namespace {

const QString Section = QStringLiteral("Einstellungen");
const QString ChoiceKey = QStringLiteral("WeitererSchluessel");

QString rangeKey(Clef clef) {
    return QStringLiteral("Tonraum") + QLatin1String(clefRow(clef)->recordKey);
}

// The choice as the list offers it: "Altschlüssel (Bratsche)".
QString choiceText(const ClefRow& row) {
    return QCoreApplication::translate("Clef", row.choiceText);
}

} // namespace

void frmEinstellungen::WeitereSchluesselAnzeigen() {
    WeitereSchluesselLayout();
    for (const ClefRow& row : clefTable())
        if (row.choiceText)
            cboSchluessel->addItem(choiceText(row), int(row.clef));
    if (SettingsStore* store = m_services.store) {
        const auto stored = clefOfRecordKey(store->GetSetting(Section, ChoiceKey));
        const int index = stored ? cboSchluessel->findData(int(*stored)) : -1;
        if (index >= 0)
            cboSchluessel->setCurrentIndex(index);
    }
    connect(cboSchluessel, &QComboBox::currentIndexChanged, this,
            &frmEinstellungen::cboSchluessel_Click);
    connect(chkGehoer, &QCheckBox::toggled, this, &frmEinstellungen::cboSchluessel_Click);
    cboSchluessel_Click();
    frmWeitere->setEnabled(true);
}

// The exercise takes the clef at once, so that the range row and the staff follow it.
void frmEinstellungen::cboSchluessel_Click() {
    const auto clef = Clef(cboSchluessel->currentData().toInt());
    m_exercise.chooseAgain(clef, chkGehoer->isChecked());
    frmWeitere->setTitle(
        tr("Tonraum für %1  (nur tiefsten und höchsten Ton wählen!)").arg(clefName(clef)));
    const NoteRange range = rangeFromText(
        m_services.store ? m_services.store->GetSetting(Section, rangeKey(clef)) : QString());
    for (int i = 0; i < NoteCount; ++i) {
        chkTonWeitere[i]->setText(noteName(clef, i));
        chkTonWeitere[i]->setChecked(i == range.lowest || i == range.highest);
    }
}

void frmEinstellungen::WeitereSchluesselSpeichern(int lowest, int highest) {
    SettingsStore* store = m_services.store;
    if (!store)
        return;
    const Clef clef = m_exercise.clef();
    store->SaveSetting(Section, ChoiceKey, QLatin1String(clefRow(clef)->recordKey));
    store->SaveSetting(Section, rangeKey(clef), rangeText({lowest, highest}));
}

const std::array<QPushButton*, NoteCount>& frmEinstellungen::rangeBoxesOfClef() const {
    if (frmWeitere)
        return chkTonWeitere;
    return m_exercise.clef() == Clef::Bass ? chkTonBass : chkTonViolin;
}

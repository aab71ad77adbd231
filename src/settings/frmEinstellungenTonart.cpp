// The settings dialog's key and accidentals: shown as stored, stored when an exercise starts.
#include "settings/SettingsStore.h"
#include "settings/frmEinstellungen.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

void frmEinstellungen::TonartLaden() {
    const KeySettings stored =
        m_services.store ? readKeySettings(*m_services.store) : KeySettings{};
    // The entry for each exercise is the one without a key.
    cboTonart->setCurrentIndex(stored.eachExercise ? cboTonart->findData(QVariant())
                                                   : cboTonart->findData(stored.key.fifths));
    spnHoechstens->setValue(stored.mostAccidentals);
    cboVersetzungszeichen->setCurrentIndex(int(stored.accidentals));
    connect(cboTonart, &QComboBox::currentIndexChanged, this, &frmEinstellungen::cboTonart_Click);
    cboTonart_Click();
}

// The most accidentals matter only for a key drawn anew for each exercise.
void frmEinstellungen::cboTonart_Click() {
    const bool eachExercise = !cboTonart->currentData().isValid();
    lblHoechstens->setEnabled(eachExercise);
    spnHoechstens->setEnabled(eachExercise);
}

KeySettings frmEinstellungen::TonartGewaehlt() const {
    const QVariant fifths = cboTonart->currentData();
    return {KeySignature{fifths.toInt()}, !fifths.isValid(), spnHoechstens->value(),
            OwnAccidentals(cboVersetzungszeichen->currentIndex())};
}

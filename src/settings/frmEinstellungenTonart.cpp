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
    m_keysVisible = hasAccidentalSigns(m_services.musicFonts);
    if (!m_keysVisible) {
        NurCDur();
        return;
    }
    connect(cboTonart, &QComboBox::currentIndexChanged, this, &frmEinstellungen::cboTonart_Click);
    cboTonart_Click();
}

// Without a font for the signs, every sharp and flat would be invisible and count wrong: C major
// without accidentals, the stored choice kept for when the font is there again.
void frmEinstellungen::NurCDur() {
    cboTonart->setCurrentIndex(cboTonart->findData(0));
    cboVersetzungszeichen->setCurrentIndex(int(OwnAccidentals::None));
    for (QWidget* choice :
         std::initializer_list<QWidget*>{lblTonart, cboTonart, lblHoechstens, spnHoechstens,
                                         lblVersetzungszeichen, cboVersetzungszeichen})
        choice->setEnabled(false);
    lblNotenschrift->show();
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

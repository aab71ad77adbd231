// The settings dialog's microphone rows: answering by playing or singing, and its level.
#include "settings/MicrophoneSettings.h"
#include "settings/frmEinstellungen.h"
#include "widgets/LevelMeter.h"

#include <QCheckBox>

void frmEinstellungen::MikrofonLaden() {
    const bool found = m_services.microphone.found && m_services.microphone.found();
    chkMikrofon->setEnabled(found);
    if (!found)
        chkMikrofon->setToolTip(tr("Kein Mikrofon gefunden"));
    if (m_services.store) {
        const MicrophoneSettings stored = readMicrophoneSettings(*m_services.store);
        chkMikrofon->setChecked(found && stored.answer);
        chkOktaveFrei->setChecked(stored.anyOctave);
    }
    chkMikrofon_Click();
}

// The level shows, and the device is open, only while the box is ticked.
void frmEinstellungen::chkMikrofon_Click() {
    const bool on = chkMikrofon->isChecked();
    chkOktaveFrei->setEnabled(on);
    if (on && !m_levelWatch && m_services.microphone.watchLevel)
        m_levelWatch = m_services.microphone.watchLevel([this](float db) { Pegel->setLevel(db); });
    else if (!on)
        m_levelWatch.reset();
    Pegel->setLevel(LevelMeter::floorDb);
    Pegel->setVisible(m_levelWatch != nullptr);
}

// A device missing today leaves the learner's choice for the day it is back.
void frmEinstellungen::MikrofonSpeichern() {
    if (!m_services.store || !chkMikrofon->isEnabled())
        return;
    saveMicrophoneSettings(*m_services.store,
                           {chkMikrofon->isChecked(), chkOktaveFrei->isChecked()});
}

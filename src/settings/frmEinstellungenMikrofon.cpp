// The settings dialog's microphone rows: answering by playing or singing, and its level.
#include "settings/MicrophoneSettings.h"
#include "settings/frmEinstellungen.h"
#include "widgets/LevelMeter.h"

#include <QCheckBox>

// Until the system says whether it has a device, the box stays off and unticked.
void frmEinstellungen::MikrofonLaden() {
    chkMikrofon->setEnabled(false);
    if (m_services.store)
        chkOktaveFrei->setChecked(readMicrophoneSettings(*m_services.store).anyOctave);
    chkMikrofon_Click();
    if (m_services.microphone.found)
        m_services.microphone.found(this, [this](bool found) { MikrofonGefunden(found); });
}

// The same answer again leaves what the learner has set since.
void frmEinstellungen::MikrofonGefunden(bool found) {
    if (m_microphoneFound == found)
        return;
    m_microphoneFound = found;
    chkMikrofon->setEnabled(found);
    chkMikrofon->setToolTip(found ? QString() : tr("Kein Mikrofon gefunden"));
    chkMikrofon->setChecked(found && m_services.store &&
                            readMicrophoneSettings(*m_services.store).answer);
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

// A device missing today, or not yet known, leaves the learner's choice for the day it is back.
void frmEinstellungen::MikrofonSpeichern() {
    if (!m_services.store || !chkMikrofon->isEnabled())
        return;
    saveMicrophoneSettings(*m_services.store,
                           {chkMikrofon->isChecked(), chkOktaveFrei->isChecked()});
}

#pragma once

#include "settings/KeySettings.h"
#include "settings/MicrophoneAccess.h"
#include "training/NoteModel.h"
#include "widgets/MessageBox.h"
#include "widgets/MusicFont.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

class Exercise;
class LevelMeter;
class SettingsStore;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// What the settings dialog needs from outside.
struct SettingsServices {
    MessageFunction message;
    SettingsStore* store = nullptr;
    MicrophoneAccess microphone;
    QStringList musicFonts = MusicFontFamilies; // where the signs of a key are looked for
};

// The dialog through which every exercise starts: note range, the two times, whether a
// microphone answers, start or cancel; below, the language and the note names, the key, and the
// notes per task.
// It is made anew for every opening; what it validates it hands to the exercise to start with.
class frmEinstellungen : public QDialog {
    Q_OBJECT

public:
    frmEinstellungen(Exercise& exercise, SettingsServices services, QWidget* owner);

    QGroupBox* frmZeit = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtZeitVorbei = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtZeitWeg = nullptr;
    QGroupBox* frmViolin = nullptr;
    std::array<QPushButton*, NoteCount> chkTonViolin{};
    QGroupBox* frmBass = nullptr;
    std::array<QPushButton*, NoteCount> chkTonBass{};
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdKeyboard = nullptr;
    QPushButton* cmdAbbrechen = nullptr;
    QCheckBox* chkMikrofon = nullptr;
    LevelMeter* Pegel = nullptr;
    QCheckBox* chkOktaveFrei = nullptr;
    QCheckBox* chkOktaveTippen = nullptr;
    QCheckBox* chkSchwacheNoten = nullptr;
    QCheckBox* chkHoherKontrast = nullptr; // beside the notes per task
    // Only when opened for a clef without a row of its own, in the described rows' place.
    QGroupBox* frmWeitere = nullptr;
    std::array<QPushButton*, NoteCount> chkTonWeitere{};
    QGroupBox* frmSchluessel = nullptr;
    QComboBox* cboSchluessel = nullptr;
    QCheckBox* chkGehoer = nullptr;
    QGroupBox* frmSprache = nullptr;
    QLabel* lblSprache = nullptr;
    QComboBox* cboSprache = nullptr;
    QLabel* lblNotennamen = nullptr;
    QComboBox* cboNotennamen = nullptr;
    QLabel* lblOktaven = nullptr;
    QComboBox* cboOktaven = nullptr;
    QLabel* lblSpracheHinweis = nullptr;
    QGroupBox* frmTonart = nullptr;
    QLabel* lblTonart = nullptr;
    QComboBox* cboTonart = nullptr; // the 15 keys by their fifths, then one for each exercise
    QLabel* lblHoechstens = nullptr;
    QSpinBox* spnHoechstens = nullptr;
    QLabel* lblVersetzungszeichen = nullptr;
    QComboBox* cboVersetzungszeichen = nullptr; // in the order of OwnAccidentals
    QLabel* lblNotenschrift = nullptr;          // shown only when no font has the signs of a key
    QLabel* lblNotenProAufgabe = nullptr;
    QComboBox* cboNotenProAufgabe = nullptr; // each entry carries its number of notes

    void cmdOk_Click();
    void cmdKeyboard_Click();
    void cmdAbbrechen_Click();
    void chkMikrofon_Click();
    void cboSchluessel_Click();
    void cboSprache_Click();
    void cboNotennamen_Click();
    void cboOktaven_Click();
    void cboTonart_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LayoutAnwenden();
    void Form_Load();
    bool startExercise(bool withKeyboard);
    void refuse(const QString& text);
    void MikrofonLaden();
    void MikrofonGefunden(bool found);
    void MikrofonSpeichern();
    void WeitereSchluesselLayout();
    void WeitereSchluesselAnzeigen();
    void WeitereSchluesselSpeichern(int lowest, int highest);
    const std::array<QPushButton*, NoteCount>& rangeBoxesOfClef() const;
    void SpracheLaden();
    void TonartLaden();
    void NurCDur();
    // The key and accidentals as the dialog shows them.
    KeySettings TonartGewaehlt() const;
    void PhrasenLaden();
    int NotenProAufgabe() const;

    Exercise& m_exercise;
    SettingsServices m_services;
    bool m_keysVisible = true; // a font draws ♭ ♮ ♯; without one only C major is offered
    std::optional<bool> m_microphoneFound; // nothing until the system has answered
    std::unique_ptr<QObject> m_levelWatch; // the microphone, open while the level shows
};

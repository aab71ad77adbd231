// The settings dialog as it stands before any of its code has run.
#include "settings/PhraseSettings.h"
#include "settings/frmEinstellungen.h"
#include "training/Exercise.h"
#include "training/KeyNaming.h"
#include "training/NoteModel.h"
#include "widgets/Fonts.h"
#include "widgets/LevelMeter.h"
#include "widgets/Pictures.h"
#include "widgets/Twips.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <utility>

namespace {

constexpr double ClientWidth = 9716;
constexpr double ClientHeight = 9630;
constexpr double DialogPointSize = 9.45;

QPushButton* button(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(geometry);
    // No default button: Enter must not start an exercise.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QGroupBox* frame(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* box = new QGroupBox(caption, parent);
    box->setGeometry(geometry);
    return box;
}

QLabel* label(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* l = new QLabel(caption, parent);
    l->setGeometry(geometry);
    return l;
}

QComboBox* choice(QWidget* parent, const QStringList& entries, const QRect& geometry) {
    auto* box = new QComboBox(parent);
    box->addItems(entries);
    box->setGeometry(geometry);
    return box;
}

// Qt leaves the list a choice opens without a name, so a screen reader announces an empty list:
// it takes the caption of its choice, which the caption also labels.
void nameChoice(QComboBox* box, const QString& caption) {
    box->view()->setAccessibleName(caption.endsWith(QLatin1Char(':')) ? caption.chopped(1)
                                                                      : caption);
}

void nameChoice(QComboBox* box, QLabel* caption) {
    caption->setBuddy(box);
    nameChoice(box, caption->text());
}

QLineEdit* timeField(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* field = new QLineEdit(text, parent);
    field->setGeometry(geometry);
    return field;
}

// Boxes drawn as buttons that stay pressed while ticked; index 0 (lowest note) at the left.
std::array<QPushButton*, NoteCount> rangeBoxes(QGroupBox* parent, Clef clef) {
    std::array<QPushButton*, NoteCount> boxes{};
    for (int i = 0; i < NoteCount; ++i) {
        boxes[i] = button(parent, noteName(clef, i), twipsRect(240 + 600 * i, 480, 615, 495));
        boxes[i]->setCheckable(true);
    }
    return boxes;
}

// C major, the keys with sharps, then those with flats, each carrying its fifths; the entry for
// a key drawn anew for each exercise carries none.
QComboBox* keyChoice(QWidget* parent, const QRect& geometry) {
    auto* box = new QComboBox(parent);
    box->addItem(keyName({0}), 0);
    for (int sign : {1, -1})
        for (int n = 1; n <= KeySignature::MaxAccidentals; ++n)
            box->addItem(keyName({sign * n}), sign * n);
    box->addItem(frmEinstellungen::tr("jede Übung eine andere"));
    box->setGeometry(geometry);
    return box;
}

} // namespace

void frmEinstellungen::LayoutAnwenden() {
    setWindowTitle(tr("Einstellungen"));
    setWindowIcon(staffIcon());
    setFont(msSansSerif(DialogPointSize));
    setFixedSize(twipsClientSize(ClientWidth, ClientHeight));

    frmZeit = frame(this, tr("Zeiten"), twipsRect(120, 240, 3402, 1215));
    Label1 = label(frmZeit, tr("Zeit pro Note:"), twipsRect(126, 252, 1274, 266));
    txtZeitVorbei = timeField(frmZeit, QStringLiteral("4"), twipsRect(2394, 252, 742, 360));
    Label2 = label(frmZeit, tr("Note verschwindet nach:"), twipsRect(126, 756, 2156, 266));
    txtZeitWeg = timeField(frmZeit, QStringLiteral("2"), twipsRect(2394, 756, 735, 322));
    // A screen reader names each field by its caption rather than by the frame's title.
    Label1->setBuddy(txtZeitVorbei);
    Label2->setBuddy(txtZeitWeg);

    frmViolin = frame(this,
                      tr("Tonraum für Violinschlüssel  (nur tiefsten und höchsten "
                         "Ton wählen!)"),
                      twipsRect(120, 1680, 9375, 1335));
    frmViolin->setEnabled(false);
    chkTonViolin = rangeBoxes(frmViolin, Clef::Violin);
    frmBass = frame(this,
                    tr("Tonraum für Bassschlüssel  (nur tiefsten und höchsten Ton "
                       "wählen!)"),
                    twipsRect(120, 3240, 9375, 1335));
    frmBass->setEnabled(false);
    chkTonBass = rangeBoxes(frmBass, Clef::Bass);

    cmdOk = button(this, tr("Übung starten"), twipsRect(1320, 5040, 1815, 375));
    cmdOk->setFont(msSansSerif(DialogPointSize, true));
    cmdKeyboard = button(this, tr("Übung mit Keyboard starten"), twipsRect(3480, 5040, 2655, 375));
    cmdAbbrechen = button(this, tr("Abbrechen"), twipsRect(6480, 5040, 1815, 375));
    // Below the rest, which keeps its place.
    chkMikrofon = new QCheckBox(tr("Mit Instrument oder Stimme antworten (Mikrofon)"), this);
    chkMikrofon->setGeometry(twipsRect(120, 5580, 4800, 300));
    Pegel = new LevelMeter(this);
    Pegel->setGeometry(twipsRect(5040, 5625, 4455, 210));
    Pegel->hide();
    chkOktaveFrei = new QCheckBox(tr("Oktave frei (z. B. Männerstimme im Violinschlüssel)"), this);
    chkOktaveFrei->setGeometry(twipsRect(120, 5940, 4800, 300));
    // Beside it, where the row was free.
    chkOktaveTippen = new QCheckBox(tr("Oktave tippen"), this);
    chkOktaveTippen->setGeometry(twipsRect(5040, 5940, 4455, 300));
    chkOktaveTippen->setToolTip(tr("Getippte Antworten nennen die Oktave: c' als c und dann ', "
                                   "oder c1; sonst gilt der Buchstabe allein"));
    chkSchwacheNoten = new QCheckBox(tr("Schwache Noten öfter üben"), this);
    chkSchwacheNoten->setGeometry(twipsRect(120, 6300, 4800, 300));
    // Below everything else, so the rest keeps its place; in the order of the choice's enums.
    frmSprache = frame(this, tr("Sprache und Notennamen"), twipsRect(120, 6720, 9375, 1110));
    lblSprache = label(frmSprache, tr("Sprache:"), twipsRect(126, 300, 1050, 330));
    cboSprache = choice(frmSprache, {tr("Systemsprache"), tr("Deutsch"), tr("English")},
                        twipsRect(1200, 300, 2040, 330));
    lblSpracheHinweis =
        label(frmSprache, tr("Gilt ab dem nächsten Start."), twipsRect(126, 660, 3114, 330));
    lblNotennamen = label(frmSprache, tr("Notennamen:"), twipsRect(3420, 300, 1290, 330));
    cboNotennamen = choice(frmSprache,
                           {tr("deutsch (c d e f g a h, b)"), tr("englisch (C D E F G A B)"),
                            tr("Solmisation (do re mi fa sol la si)")},
                           twipsRect(4740, 300, 4500, 330));
    lblOktaven = label(frmSprache, tr("Oktaven:"), twipsRect(3420, 660, 1290, 330));
    cboOktaven = choice(frmSprache, {tr("Helmholtz (c', c'')"), tr("wissenschaftlich (C4, C5)")},
                        twipsRect(4740, 660, 4500, 330));
    // Below the language, so that everything above keeps its place.
    frmTonart = frame(this, tr("Tonart und Versetzungszeichen"), twipsRect(120, 7950, 9375, 1110));
    lblTonart = label(frmTonart, tr("Tonart:"), twipsRect(126, 300, 1950, 330));
    cboTonart = keyChoice(frmTonart, twipsRect(2100, 300, 4140, 330));
    lblHoechstens = label(frmTonart, tr("höchstens:"), twipsRect(6360, 300, 1140, 330));
    spnHoechstens = new QSpinBox(frmTonart);
    spnHoechstens->setRange(0, KeySignature::MaxAccidentals);
    spnHoechstens->setSuffix(QStringLiteral(" ♯/♭"));
    spnHoechstens->setGeometry(twipsRect(7500, 300, 1740, 330));
    lblVersetzungszeichen =
        label(frmTonart, tr("Versetzungszeichen:"), twipsRect(126, 660, 1950, 330));
    cboVersetzungszeichen =
        choice(frmTonart, {tr("keine"), QStringLiteral("♯"), QStringLiteral("♭"), tr("♯ und ♭")},
               twipsRect(2100, 660, 1800, 330));
    // Beside the accidentals, in two lines.
    lblNotenschrift = label(frmTonart,
                            tr("Die Notenschrift Euterpe fehlt, ohne sie wären Vorzeichen "
                               "unsichtbar: nur C-Dur."),
                            twipsRect(4020, 645, 5220, 450));
    lblNotenschrift->setWordWrap(true);
    lblNotenschrift->hide();
    // Below the key, in the columns of its labels and boxes.
    lblNotenProAufgabe = label(this, tr("Noten pro Aufgabe:"), twipsRect(246, 9180, 1950, 330));
    cboNotenProAufgabe = new QComboBox(this);
    for (const int notes : NotesPerTaskChoices)
        cboNotenProAufgabe->addItem(QString::number(notes), notes);
    cboNotenProAufgabe->setGeometry(twipsRect(2220, 9180, 900, 330));
    cboNotenProAufgabe->setToolTip(tr("Mit 4 oder 8 ist jede Aufgabe eine Phrase: ihre Noten von "
                                      "links nach rechts lesen und der Reihe nach beantworten"));
    chkHoherKontrast = new QCheckBox(tr("Hoher Kontrast"), this);
    chkHoherKontrast->setGeometry(twipsRect(3360, 9195, 3000, 300));
    chkHoherKontrast->setToolTip(tr("Schwarz auf Weiß, dicke Ränder der Notenknöpfe, dunkleres "
                                    "Rot und Grün"));
    for (const auto& [box, caption] :
         {std::pair{cboSprache, lblSprache}, std::pair{cboNotennamen, lblNotennamen},
          std::pair{cboOktaven, lblOktaven}, std::pair{cboTonart, lblTonart},
          std::pair{cboVersetzungszeichen, lblVersetzungszeichen},
          std::pair{cboNotenProAufgabe, lblNotenProAufgabe}})
        nameChoice(box, caption);

    QList<QWidget*> tabOrder = {txtZeitVorbei, cmdOk, cmdAbbrechen};
    tabOrder.append(QList<QWidget*>(chkTonViolin.begin(), chkTonViolin.end()));
    tabOrder.append(QList<QWidget*>(chkTonBass.begin(), chkTonBass.end()));
    tabOrder.append({cmdKeyboard, txtZeitWeg, chkMikrofon, chkOktaveFrei, chkOktaveTippen,
                     chkSchwacheNoten, cboSprache, cboNotennamen, cboOktaven, cboTonart,
                     spnHoechstens, cboVersetzungszeichen, cboNotenProAufgabe, chkHoherKontrast});
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

// The clef choice and the chosen clef's range row in the place of the described frames, which
// stay hidden.
void frmEinstellungen::WeitereSchluesselLayout() {
    frmViolin->hide();
    frmBass->hide();
    frmWeitere = frame(this, QString(), twipsRect(120, 1680, 9375, 1335));
    chkTonWeitere = rangeBoxes(frmWeitere, m_exercise.clef());
    frmSchluessel = frame(this, tr("Schlüssel"), twipsRect(120, 3240, 9375, 1335));
    cboSchluessel = new QComboBox(frmSchluessel);
    cboSchluessel->setGeometry(twipsRect(240, 480, 5400, 375));
    nameChoice(cboSchluessel, frmSchluessel->title());
    chkGehoer = new QCheckBox(tr("Gehör-Training"), frmSchluessel);
    chkGehoer->setGeometry(twipsRect(6000, 510, 3000, 300));

    QList<QWidget*> tabOrder = {cmdAbbrechen};
    tabOrder.append(QList<QWidget*>(chkTonWeitere.begin(), chkTonWeitere.end()));
    tabOrder.append({cboSchluessel, chkGehoer, cmdKeyboard});
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

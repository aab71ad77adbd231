// The settings dialog: its layout, the range and time checks, saving and starting.
#include "FakeServices.h"
#include "KeyboardWalk.h"
#include "ScreenReach.h"
#include "ScreenReaderNames.h"
#include "forms/Form1.h"
#include "settings/frmEinstellungen.h"
#include "training/ClefTable.h"
#include "training/NoteNaming.h"
#include "widgets/HeldKeyFilter.h"
#include "widgets/LevelMeter.h"
#include "widgets/QtTranslations.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTranslator>
#include <QWheelEvent>

namespace {

const QString Einstellungen = QStringLiteral("Einstellungen");

// Opens the dialog through the given mode button; `act` works on it as the learner would.
void openDialog(FakeWorld& world, QPushButton* modeButton,
                const std::function<void(frmEinstellungen&)>& act) {
    world.onDialog = [&](QDialog& dialog) { act(static_cast<frmEinstellungen&>(dialog)); };
    modeButton->click();
}

// The next stop outside the widget: a spin box's own field is part of it.
QWidget* nextTabStop(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus) || widget->isAncestorOf(next))
        next = next->nextInFocusChain();
    return next;
}

// How a key reaches the dialog: pressed, repeated as marked by Qt, or repeated as a release and
// a press at the same moment.
// UntimedRepeat: a release and a press without time stamps (sent by automation or an assistive
// tool), which Qt marks as a repeat.
enum Stroke { Press, Repeat, UnmarkedRepeat, UntimedRepeat };

// When the system answers whether it has a recording device: at once (from what it knew), only
// once the dialog shows, or not at all.
enum class Answer { AtOnce, Later, Never };

void tick(std::array<QPushButton*, 15>& boxes, std::initializer_list<int> indices) {
    for (int i : indices)
        boxes[i]->click();
}

} // namespace

Q_DECLARE_METATYPE(NamingStyle)

class SettingsDialogTest : public QObject {
    Q_OBJECT

    HeldKeyFilter heldKeys_;

private slots:
    void initTestCase() { QCoreApplication::instance()->installEventFilter(&heldKeys_); }

    void init() {
        clearStore();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void layoutBeforeStoredTimes() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        frmEinstellungen dialog(world.exercise, world.settingsServices(), &form);
        QCOMPARE(dialog.windowTitle(), QString("Einstellungen"));
        QCOMPARE(dialog.size(), QSize(648, 642));
        QCOMPARE(dialog.frmViolin->title(),
                 QString("Tonraum für Violinschlüssel  (nur tiefsten und höchsten Ton wählen!)"));
        QCOMPARE(dialog.chkTonViolin[0]->text(), QString("f"));
        QCOMPARE(dialog.chkTonBass[14]->text(), QString("f'"));
        QCOMPARE(dialog.chkTonBass[14]->geometry(), QRect(576, 32, 41, 33));
        QCOMPARE(dialog.cmdKeyboard->text(), QString("Übung mit Keyboard starten"));
        QCOMPARE(dialog.cmdKeyboard->geometry(), QRect(232, 336, 177, 25));
        QCOMPARE(dialog.chkMikrofon->text(),
                 QString("Mit Instrument oder Stimme antworten (Mikrofon)"));
        QCOMPARE(dialog.chkOktaveFrei->text(),
                 QString("Oktave frei (z. B. Männerstimme im Violinschlüssel)"));
        // Below the buttons, the level beside its box.
        QVERIFY(dialog.chkMikrofon->y() > dialog.cmdKeyboard->geometry().bottom());
        QVERIFY(dialog.chkOktaveFrei->y() > dialog.chkMikrofon->geometry().bottom());
        QCOMPARE(dialog.Pegel->y() / 10, dialog.chkMikrofon->y() / 10);
        QVERIFY(dialog.Pegel->x() > dialog.chkMikrofon->geometry().right());
        for (QPushButton* b : {dialog.cmdOk, dialog.cmdKeyboard, dialog.cmdAbbrechen})
            QVERIFY(!b->isDefault() && !b->autoDefault());
        QCOMPARE(nextTabStop(dialog.txtZeitVorbei), dialog.cmdOk);
        // Each time field is named by its own caption, not both by the frame's.
        for (auto [field, caption] : {std::pair{dialog.txtZeitVorbei, "Zeit pro Note"},
                                      std::pair{dialog.txtZeitWeg, "Note verschwindet nach"}})
            QVERIFY(QAccessible::queryAccessibleInterface(field)
                        ->text(QAccessible::Name)
                        .startsWith(QString(caption)));
        QCOMPARE(nextTabStop(dialog.cmdAbbrechen), dialog.chkTonViolin[0]);
        QCOMPARE(nextTabStop(dialog.chkTonViolin[14]), dialog.chkTonBass[0]);
        QCOMPARE(nextTabStop(dialog.cmdKeyboard), dialog.txtZeitWeg);
        QCOMPARE(nextTabStop(dialog.txtZeitWeg), dialog.chkMikrofon);
        // Beside the free octave, off while the store has no value for it.
        QCOMPARE(nextTabStop(dialog.chkOktaveFrei), dialog.chkOktaveTippen);
        QCOMPARE(nextTabStop(dialog.chkOktaveTippen), dialog.chkSchwacheNoten);
        QVERIFY(!dialog.chkOktaveTippen->isChecked());
        QCOMPARE(dialog.chkOktaveTippen->y(), dialog.chkOktaveFrei->y());
        QVERIFY(dialog.chkOktaveTippen->x() > dialog.chkOktaveFrei->geometry().right());
        QVERIFY(dialog.rect().contains(dialog.chkOktaveTippen->geometry()));
        // Below the microphone's rows, off while the store has no value for it.
        QCOMPARE(dialog.chkSchwacheNoten->text(), QString("Schwache Noten öfter üben"));
        QVERIFY(!dialog.chkSchwacheNoten->isChecked());
        QVERIFY(dialog.chkSchwacheNoten->y() >= dialog.chkOktaveFrei->geometry().bottom());
        QVERIFY(dialog.rect().contains(dialog.chkSchwacheNoten->geometry()));
        // Below everything described, the language and the note names.
        QCOMPARE(dialog.frmSprache->title(), QString("Sprache und Notennamen"));
        QVERIFY(dialog.frmSprache->y() > dialog.chkSchwacheNoten->geometry().bottom());
        QVERIFY(dialog.rect().contains(dialog.frmSprache->geometry()));
        QCOMPARE(nextTabStop(dialog.chkSchwacheNoten), dialog.cboSprache);
        // Below the language, the key: C major, then sharps, then flats, then one drawn anew.
        QCOMPARE(dialog.frmTonart->title(), QString("Tonart und Versetzungszeichen"));
        QVERIFY(dialog.frmTonart->y() > dialog.frmSprache->geometry().bottom());
        QVERIFY(dialog.rect().contains(dialog.frmTonart->geometry()));
        QCOMPARE(dialog.lblTonart->text(), QString("Tonart:"));
        QCOMPARE(dialog.cboTonart->count(), 16);
        const QStringList keys = {"C-Dur / a-Moll (keine Vorzeichen)", "G-Dur / e-Moll (1 ♯)",
                                  "Cis-Dur / ais-Moll (7 ♯)",          "F-Dur / d-Moll (1 ♭)",
                                  "Ces-Dur / as-Moll (7 ♭)",           "jede Übung eine andere"};
        for (int i = 0; const int index : {0, 1, 7, 8, 14, 15})
            QCOMPARE(dialog.cboTonart->itemText(index), keys[i++]);
        QCOMPARE(dialog.lblVersetzungszeichen->text(), QString("Versetzungszeichen:"));
        QStringList accidentals;
        for (int i = 0; i < dialog.cboVersetzungszeichen->count(); ++i)
            accidentals.append(dialog.cboVersetzungszeichen->itemText(i));
        QCOMPARE(accidentals, (QStringList{"keine", "♯", "♭", "♯ und ♭"}));
        QCOMPARE(nextTabStop(dialog.cboOktaven), dialog.cboTonart);
        QCOMPARE(nextTabStop(dialog.cboTonart), dialog.spnHoechstens);
        QCOMPARE(nextTabStop(dialog.spnHoechstens), dialog.cboVersetzungszeichen);
        // Below the key, in the columns of its labels and boxes: one note per task at first.
        QCOMPARE(dialog.lblNotenProAufgabe->text(), QString("Noten pro Aufgabe:"));
        QVERIFY(dialog.lblNotenProAufgabe->y() > dialog.frmTonart->geometry().bottom());
        QCOMPARE(dialog.cboNotenProAufgabe->y(), dialog.lblNotenProAufgabe->y());
        const auto leftInDialog = [&](QWidget* w) { return w->mapTo(&dialog, QPoint()).x(); };
        QCOMPARE(leftInDialog(dialog.lblNotenProAufgabe), leftInDialog(dialog.lblTonart));
        QCOMPARE(leftInDialog(dialog.cboNotenProAufgabe), leftInDialog(dialog.cboTonart));
        QStringList notesPerTask;
        for (int i = 0; i < dialog.cboNotenProAufgabe->count(); ++i)
            notesPerTask.append(dialog.cboNotenProAufgabe->itemText(i));
        QCOMPARE(notesPerTask, (QStringList{"1", "4", "8"}));
        QCOMPARE(dialog.cboNotenProAufgabe->currentText(), QString("1"));
        QVERIFY(!dialog.cboNotenProAufgabe->isEditable());
        QCOMPARE(nextTabStop(dialog.cboVersetzungszeichen), dialog.cboNotenProAufgabe);
        // High contrast on the same row, last, off while the store has no value for it.
        QCOMPARE(dialog.chkHoherKontrast->text(), QString("Hoher Kontrast"));
        QCOMPARE(nextTabStop(dialog.cboNotenProAufgabe), dialog.chkHoherKontrast);
        QVERIFY(!dialog.chkHoherKontrast->isChecked());
        QVERIFY(dialog.chkHoherKontrast->x() > dialog.cboNotenProAufgabe->geometry().right());
        QCOMPARE(dialog.chkHoherKontrast->geometry().center().y() / 4,
                 dialog.cboNotenProAufgabe->geometry().center().y() / 4);
    }

    void languageAndKeyRowsFit_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<NamingStyle>("style");
        QTest::addColumn<QStringList>("musicFonts");
        QTest::addColumn<QString>("fSharpMajor");
        const NamingStyle german;
        const NamingStyle english{NoteLetters::English, OctaveStyle::Scientific};
        const NamingStyle solfege{NoteLetters::Solfege, OctaveStyle::Helmholtz};
        const QStringList none = {"Keine Notenschrift"};
        QTest::newRow("German") << false << german << MusicFontFamilies
                                << "Fis-Dur / dis-Moll (6 ♯)";
        QTest::newRow("German, English names")
            << false << english << MusicFontFamilies << "F♯-Dur / D♯-Moll (6 ♯)";
        QTest::newRow("German, solfège")
            << false << solfege << MusicFontFamilies << "Fa♯-Dur / Re♯-Moll (6 ♯)";
        QTest::newRow("English") << true << english << MusicFontFamilies
                                 << "F♯ major / D♯ minor (6 ♯)";
        QTest::newRow("English, German names")
            << true << german << MusicFontFamilies << "Fis major / dis minor (6 ♯)";
        QTest::newRow("German, no music font")
            << false << german << none << "Fis-Dur / dis-Moll (6 ♯)";
        QTest::newRow("English, no music font")
            << true << english << none << "F♯ major / D♯ minor (6 ♯)";
    }
    // Each box of the language, key and notes-per-task rows fits its longest entry, each label
    // its text, in both languages, and each stands within its group and the group within the
    // dialog. The keys are named as the notes are; without a music font a note says why there
    // are none.
    void languageAndKeyRowsFit() {
        QFETCH(bool, english);
        QFETCH(NamingStyle, style);
        QFETCH(QStringList, musicFonts);
        QTranslator englishTexts; // removes itself when it goes
        if (english) {
            QVERIFY(englishTexts.load("virelo_en", VIRELO_PROGRAM_DIR));
            QCoreApplication::installTranslator(&englishTexts);
        }
        setNamingStyle(style);
        const auto germanAgain = qScopeGuard([] { setNamingStyle({}); });
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        SettingsServices services = world.settingsServices();
        services.musicFonts = musicFonts;
        frmEinstellungen dialog(world.exercise, services, &form);
        QCOMPARE(dialog.lblTonart->text(), QString(english ? "Key:" : "Tonart:"));
        QCOMPARE(dialog.lblNotenProAufgabe->text(),
                 QString(english ? "Notes per task:" : "Noten pro Aufgabe:"));
        QTEST(dialog.cboTonart->itemText(dialog.cboTonart->findData(6)), "fSharpMajor");
        const bool fontMissing = musicFonts != MusicFontFamilies;
        QCOMPARE(dialog.lblNotenschrift->isVisibleTo(&dialog), fontMissing);
        QCOMPARE(dialog.lblNotenschrift->text(),
                 QString(english ? "The music font Euterpe is missing; without it accidentals "
                                   "would be invisible: C major only."
                                 : "Die Notenschrift Euterpe fehlt, ohne sie wären Vorzeichen "
                                   "unsichtbar: nur C-Dur."));
        QVERIFY2(dialog.lblNotenschrift->heightForWidth(dialog.lblNotenschrift->width()) <=
                         dialog.lblNotenschrift->height() &&
                     dialog.frmTonart->rect().contains(dialog.lblNotenschrift->geometry()),
                 qPrintable(QStringLiteral("%1 × %2 needs %3")
                                .arg(dialog.lblNotenschrift->width())
                                .arg(dialog.lblNotenschrift->height())
                                .arg(dialog.lblNotenschrift->heightForWidth(
                                    dialog.lblNotenschrift->width()))));
        for (QWidget* widget : std::initializer_list<QWidget*>{
                 dialog.lblSprache, dialog.cboSprache, dialog.lblNotennamen, dialog.cboNotennamen,
                 dialog.lblOktaven, dialog.cboOktaven, dialog.lblSpracheHinweis, dialog.lblTonart,
                 dialog.cboTonart, dialog.lblHoechstens, dialog.spnHoechstens,
                 dialog.lblVersetzungszeichen, dialog.cboVersetzungszeichen, dialog.frmSprache,
                 dialog.frmTonart, dialog.lblNotenProAufgabe, dialog.cboNotenProAufgabe,
                 dialog.chkHoherKontrast})
            QVERIFY2(widget->width() >= widget->sizeHint().width() &&
                         widget->parentWidget()->rect().contains(widget->geometry()),
                     qPrintable(QStringLiteral("%1 %2 × %3, needs %4 × %5")
                                    .arg(widget->objectName().isEmpty()
                                             ? widget->metaObject()->className()
                                             : widget->objectName())
                                    .arg(widget->width())
                                    .arg(widget->height())
                                    .arg(widget->sizeHint().width())
                                    .arg(widget->sizeHint().height())));
        // Every control is named for a screen reader, in the dialog's language.
        const QStringList unnamed = unnamedControls(dialog);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    }

    // Shown as stored, or as the language gives them where nothing usable is stored; a choice
    // is stored at once, and note names not chosen follow a new language.
    void languageAndNoteNames_data() {
        QTest::addColumn<QStringList>("stored"); // Sprache, Notennamen, Oktaven
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("chooseLanguage"); // -1: none
        QTest::addColumn<QStringList>("shownAfter");
        QTest::addColumn<QStringList>("storedAfter");
        const QStringList germanDefaults = {"Systemsprache", "deutsch (c d e f g a h, b)",
                                            "Helmholtz (c', c'')"};
        QTest::newRow("nothing stored") << QStringList{"", "", ""} << germanDefaults << -1
                                        << germanDefaults << QStringList{"", "", ""};
        QTest::newRow("junk") << QStringList{"Latein", "römisch", "2"} << germanDefaults << -1
                              << germanDefaults << QStringList{"Latein", "römisch", "2"};
        QTest::newRow("English chosen, names follow")
            << QStringList{"", "", ""} << germanDefaults << 2
            << QStringList{"English", "englisch (C D E F G A B)", "wissenschaftlich (C4, C5)"}
            << QStringList{"English", "", ""};
        QTest::newRow("English chosen, names kept")
            << QStringList{"", "Solmisation", "Helmholtz"}
            << QStringList{"Systemsprache", "Solmisation (do re mi fa sol la si)",
                           "Helmholtz (c', c'')"}
            << 2
            << QStringList{"English", "Solmisation (do re mi fa sol la si)", "Helmholtz (c', c'')"}
            << QStringList{"English", "Solmisation", "Helmholtz"};
        QTest::newRow("back to German")
            << QStringList{"English", "", ""}
            << QStringList{"English", "englisch (C D E F G A B)", "wissenschaftlich (C4, C5)"} << 1
            << QStringList{"Deutsch", "deutsch (c d e f g a h, b)", "Helmholtz (c', c'')"}
            << QStringList{"Deutsch", "", ""};
    }
    void languageAndNoteNames() {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, shown);
        QFETCH(int, chooseLanguage);
        const QStringList keys = {"Sprache", "Notennamen", "Oktaven"};
        FakeWorld world;
        for (int i = 0; i < 3; ++i)
            if (!stored[i].isEmpty())
                world.store->SaveSetting(Einstellungen, keys[i], stored[i]);
        Form1 form(world.exercise, world.services());
        frmEinstellungen dialog(world.exercise, world.settingsServices(), &form);
        const auto texts = [&] {
            return QStringList{dialog.cboSprache->currentText(),
                               dialog.cboNotennamen->currentText(),
                               dialog.cboOktaven->currentText()};
        };
        QCOMPARE(texts(), shown);
        if (chooseLanguage >= 0) {
            dialog.cboSprache->setCurrentIndex(chooseLanguage);
            emit dialog.cboSprache->activated(chooseLanguage);
        }
        QTEST(texts(), "shownAfter");
        QStringList after;
        for (const QString& key : keys)
            after.append(world.store->GetSetting(Einstellungen, key));
        QTEST(after, "storedAfter");
        // Each box fits its longest entry.
        for (QComboBox* box : {dialog.cboSprache, dialog.cboNotennamen, dialog.cboOktaven})
            QVERIFY2(box->width() >= box->sizeHint().width(), qPrintable(box->currentText()));
    }

    void framesFollowTheClef_data() {
        QTest::addColumn<bool>("bass");
        QTest::newRow("treble") << false;
        QTest::newRow("bass") << true;
    }
    void framesFollowTheClef() {
        QFETCH(bool, bass);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        bool violinEnabled = false, bassEnabled = false;
        openDialog(world, bass ? form.cmdBass : form.cmdViolin, [&](frmEinstellungen& d) {
            violinEnabled = d.chkTonViolin[3]->isEnabled();
            bassEnabled = d.chkTonBass[3]->isEnabled();
            QCOMPARE(d.chkTonViolin[3]->isChecked(), false);
            d.reject();
        });
        QCOMPARE(violinEnabled, !bass);
        QCOMPARE(bassEnabled, bass);
    }

    // "Weitere Schlüssel…": the clef last chosen with its range last chosen (both ends of the
    // clef when none or a damaged one is stored) in the described rows' place; what starts is
    // kept for the next time.
    void moreClefs_data() {
        QTest::addColumn<QString>("storedClef");
        QTest::addColumn<QString>("storedRange");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("names"); // lowest and highest
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<bool>("earTraining");
        const QString alto = "Tonraum für Altschlüssel  (nur tiefsten und höchsten Ton wählen!)";
        const QString tenor = "Tonraum für Tenorschlüssel  (nur tiefsten und höchsten Ton wählen!)";
        QTest::newRow("nothing stored")
            << ""
            << "" << alto << QStringList{"c", "c''"} << QList<int>{0, 14} << false;
        QTest::newRow("tenor and its range")
            << "Tenor"
            << "2-9" << tenor << QStringList{"A", "a'"} << QList<int>{2, 9} << true;
        QTest::newRow("junk") << "Violin"
                              << "9-x" << alto << QStringList{"c", "c''"} << QList<int>{0, 14}
                              << false;
    }
    void moreClefs() {
        QFETCH(QString, storedClef);
        QFETCH(QString, storedRange);
        QFETCH(QString, caption);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, ticked);
        QFETCH(bool, earTraining);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        world.store->SaveSetting(Einstellungen, "WeitererSchluessel", storedClef);
        world.store->SaveSetting(Einstellungen, "Tonraum" + storedClef, storedRange);
        const Clef clef = storedClef == "Tenor" ? Clef::Tenor : Clef::Alto;
        openDialog(world, form.cmdWeitereSchluessel, [&](frmEinstellungen& d) {
            d.show();
            QVERIFY(!d.frmViolin->isVisible() && !d.frmBass->isVisible());
            QCOMPARE(d.frmWeitere->geometry(), d.frmViolin->geometry());
            QCOMPARE(d.frmSchluessel->geometry(), d.frmBass->geometry());
            QCOMPARE(d.cboSchluessel->count(), 2);
            QCOMPARE(d.cboSchluessel->itemText(0), QString("Altschlüssel (Bratsche)"));
            QCOMPARE(d.cboSchluessel->itemText(1),
                     QString("Tenorschlüssel (Violoncello, Fagott, Posaune)"));
            QCOMPARE(d.frmWeitere->title(), caption);
            QCOMPARE(d.chkGehoer->text(), QString("Gehör-Training"));
            QVERIFY(!d.chkGehoer->isChecked());
            QCOMPARE(d.chkTonWeitere[0]->text(), names[0]);
            QCOMPARE(d.chkTonWeitere[14]->text(), names[1]);
            for (int i = 0; i < 15; ++i)
                QCOMPARE(d.chkTonWeitere[i]->isChecked(), ticked.contains(i));
            QCOMPARE(world.exercise.clef(), clef);
            d.chkGehoer->setChecked(earTraining);
            d.cmdOk->click();
        });
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        QCOMPARE(world.exercise.clef(), clef);
        QCOMPARE(world.exercise.earTraining(), earTraining);
        QCOMPARE(world.exercise.lowest(), ticked[0]);
        QCOMPARE(world.exercise.highest(), ticked[1]);
        QCOMPARE(world.store->GetSetting(Einstellungen, "WeitererSchluessel"),
                 clef == Clef::Tenor ? "Tenor" : "Alto");
        QCOMPARE(world.store->GetSetting(Einstellungen,
                                         clef == Clef::Tenor ? "TonraumTenor" : "TonraumAlto"),
                 QString("%1-%2").arg(ticked[0]).arg(ticked[1]));
        world.exercise.abort();

        // The other clef, chosen in the list, brings its own names and range.
        openDialog(world, form.cmdWeitereSchluessel, [&](frmEinstellungen& d) {
            d.cboSchluessel->setCurrentIndex(clef == Clef::Tenor ? 0 : 1);
            QCOMPARE(world.exercise.clef(), clef == Clef::Tenor ? Clef::Alto : Clef::Tenor);
            QCOMPARE(d.chkTonWeitere[14]->text(), QString(clef == Clef::Tenor ? "c''" : "a'"));
            d.reject();
        });
        QCOMPARE(world.exercise.state(), ExerciseState::Idle);
        QVERIFY(!world.exercise.earTraining());
    }

    void storedTimesShownUnconverted() {
        FakeWorld world;
        Form1 form(world.exercise, world.services()); // first start: "9" and "9"
        world.store->SaveSetting(Einstellungen, "Zeitvorbei", "0,125");
        QString vorbei, weg;
        openDialog(world, form.cmdViolin, [&](frmEinstellungen& d) {
            vorbei = d.txtZeitVorbei->text();
            weg = d.txtZeitWeg->text();
            d.reject();
        });
        QCOMPARE(vorbei, QString("0,125"));
        QCOMPARE(weg, QString("9"));
    }

    // Whatever the learner does, at most one character of theirs stays; a longer stored text
    // stays as it is until shortened.
    void typingLimitedToOneCharacter_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("left");
        QTest::newRow("two keys after a digit") << "4" << QStringList{"keys:57"} << "4";
        QTest::newRow("three keys into nothing") << "" << QStringList{"keys:15x"} << "1";
        QTest::newRow("two keys after a stored text")
            << "0,125" << QStringList{"keys:99"} << "0,125";
        QTest::newRow("shortened, then a key")
            << "0,125" << QStringList{"backspace", "keys:9"} << "0,12";
        QTest::newRow("all replaced by two keys")
            << "0,125" << QStringList{"select all", "keys:34"} << "3";
        QTest::newRow("paste into nothing keeps its first character")
            << "" << QStringList{"paste:789", "paste:1"} << "7";
        QTest::newRow("paste after a digit") << "4" << QStringList{"paste:789"} << "4";
        QTest::newRow("paste over all") << "4" << QStringList{"select all", "paste:789"} << "7";
        QTest::newRow("undo after refused keys") << "" << QStringList{"keys:56", "undo"} << "";
        QTest::newRow("undo and redo, then a key")
            << "" << QStringList{"keys:5", "undo", "redo", "keys:6"} << "5";
        QTest::newRow("undo a shortening, then a key")
            << "0,125" << QStringList{"backspace", "undo", "keys:9"} << "0,125";
        QTest::newRow("drop into nothing") << "" << QStringList{"drop:89", "drop:1"} << "8";
        QTest::newRow("drop after a digit") << "4" << QStringList{"drop:8"} << "4";
    }
    void typingLimitedToOneCharacter() {
        QFETCH(QString, shown);
        QFETCH(QStringList, steps);
        QFETCH(QString, left);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        frmEinstellungen dialog(world.exercise, world.settingsServices(), &form);
        for (QLineEdit* field : {dialog.txtZeitVorbei, dialog.txtZeitWeg}) {
            field->setText(shown);
            for (const QString& step : steps) {
                const QString what = step.section(u':', 0, 0);
                const QString text = step.section(u':', 1);
                if (what == "keys") {
                    QTest::keyClicks(field, text);
                } else if (what == "paste") {
                    QGuiApplication::clipboard()->setText(text);
                    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
                } else if (what == "drop") {
                    QMimeData data;
                    data.setText(text);
                    const QPoint end(field->width() - 2, field->height() / 2);
                    QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, {});
                    QCoreApplication::sendEvent(field, &enter);
                    QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, {});
                    QCoreApplication::sendEvent(field, &drop);
                } else if (what == "undo") {
                    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
                } else if (what == "redo") {
                    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
                } else if (what == "backspace") {
                    QTest::keyClick(field, Qt::Key_Backspace);
                } else {
                    field->selectAll();
                }
            }
            QCOMPARE(field->text(), left);
        }
    }

    void rangeMessagesKeepDialogOpen_data() {
        QTest::addColumn<bool>("bass");
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QString>("message");
        QTest::newRow("treble none")
            << false << QList<int>{}
            << "Im Violinschlüssel muss ein tiefster UND ein höchster Ton ausgewählt werden.";
        QTest::newRow("bass one")
            << true << QList<int>{6}
            << "Im Bassschlüssel muss ein tiefster und ein höchster Ton ausgewählt werden.";
    }
    void rangeMessagesKeepDialogOpen() {
        QFETCH(bool, bass);
        QFETCH(QList<int>, ticked);
        QFETCH(QString, message);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        bool stillOpen = false;
        openDialog(world, bass ? form.cmdBass : form.cmdViolin, [&](frmEinstellungen& d) {
            d.show();
            auto& boxes = bass ? d.chkTonBass : d.chkTonViolin;
            for (int i : ticked)
                boxes[i]->click();
            d.txtZeitWeg->setText("7");
            d.cmdKeyboard->click();
            stillOpen = d.isVisible() && d.result() == 0;
            d.reject();
        });
        QVERIFY(stillOpen);
        QCOMPARE(world.messages.size(), 1);
        QCOMPARE(world.messages[0].text, message);
        QCOMPARE(world.messages[0].title, QString("Fehler"));
        QCOMPARE(world.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(world.exercise.state(), ExerciseState::Idle);
        QVERIFY(!world.exercise.keyboardPractice());
        QCOMPARE(world.store->GetSetting(Einstellungen, "Zeitweg"), QString("9"));
    }

    // Shown as stored (junk reads as off) and stored as left at the start.
    void highContrastStored_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("none, ticked") << "" << false << true;
        QTest::newRow("on, unticked") << "1" << true << false;
        QTest::newRow("junk, left") << "ja" << false << false;
    }
    void highContrastStored() {
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        QFETCH(bool, chosen);
        FakeWorld world;
        if (!stored.isEmpty())
            world.store->SaveSetting("Darstellung", "HoherKontrast", stored);
        Form1 form(world.exercise, world.services());
        openDialog(world, form.cmdViolin, [&](frmEinstellungen& d) {
            QCOMPARE(d.chkHoherKontrast->isChecked(), shown);
            d.chkHoherKontrast->setChecked(chosen);
            tick(d.chkTonViolin, {2, 5});
            d.cmdOk->click();
        });
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        QCOMPARE(world.store->GetSetting("Darstellung", "HoherKontrast"),
                 QString(chosen ? "1" : "0"));
    }

    void startWritesRangeTimesAndStore_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QString>("vorbei");
        QTest::addColumn<int>("zeitWeg");
        QTest::addColumn<int>("zeitVorbei");
        QTest::addColumn<bool>("weakNotes");
        // The key's settings as stored before ("" absent), shown, chosen ("" left) and stored
        // after: the key, the most accidentals of one drawn anew, the accidentals.
        QTest::addColumn<QStringList>("storedKey");
        QTest::addColumn<QStringList>("shownKey");
        QTest::addColumn<QStringList>("chosenKey");
        QTest::addColumn<QStringList>("savedKey");
        // The exercise's key, and the sign before the first task's head (the random draws all
        // give 0: the range's lowest note a, a sign of its own, the first kind the rule offers).
        QTest::addColumn<int>("keyFifths");
        QTest::addColumn<QString>("sign");
        // The notes per task stored before ("" absent), shown, chosen ("" left) and stored after,
        // and the exercise's.
        QTest::addColumn<QStringList>("notes");
        QTest::addColumn<int>("notesPerTask");
        const QStringList none = {"", "", ""};
        const QStringList cMajor = {"C-Dur / a-Moll (keine Vorzeichen)", "7", "keine"};
        const QStringList cMajorSaved = {"0", "7", "keine"};
        const QStringList oneNote = {"", "1", "", "1"};
        QTest::newRow("layout texts") << "2"
                                      << "4" << 2000 << 400 << false << none << cMajor << none
                                      << cMajorSaved << 0 << "" << oneNote << 1;
        QTest::newRow("stored long texts") << "0,375"
                                           << "0,125" << 375 << 12 << false << none << cMajor
                                           << none << cMajorSaved << 0 << "" << oneNote << 1;
        QTest::newRow("zero means no limit") << "0"
                                             << "0" << 0 << 0 << false << none << cMajor << none
                                             << cMajorSaved << 0 << "" << oneNote << 1;
        QTest::newRow("weak notes more often") << "2"
                                               << "4" << 2000 << 400 << true << none << cMajor
                                               << none << cMajorSaved << 0 << "" << oneNote << 1;
        QTest::newRow("H major with sharps: a sharp cancelled")
            << "2"
            << "4" << 2000 << 400 << false << none << cMajor
            << QStringList{"H-Dur / gis-Moll (5 ♯)", "", "♯"} << QStringList{"5", "7", "Kreuz"} << 5
            << "♮" << oneNote << 1;
        QTest::newRow("H major with both: a sharp flattened")
            << "2"
            << "4" << 2000 << 400 << false << none << cMajor
            << QStringList{"H-Dur / gis-Moll (5 ♯)", "", "♯ und ♭"}
            << QStringList{"5", "7", "Kreuz und Be"} << 5 << "♭" << oneNote << 1;
        QTest::newRow("C major with flats")
            << "2"
            << "4" << 2000 << 400 << false << none << cMajor << QStringList{"", "", "♭"}
            << QStringList{"0", "7", "Be"} << 0 << "♭" << oneNote << 1;
        QTest::newRow("stored Ces major with both, kept")
            << "2"
            << "4" << 2000 << 400 << false << QStringList{"-7", "3", "Kreuz und Be"}
            << QStringList{"Ces-Dur / as-Moll (7 ♭)", "3", "♯ und ♭"} << none
            << QStringList{"-7", "3", "Kreuz und Be"} << -7 << "♯" << oneNote << 1;
        QTest::newRow("stored: each exercise another, at most 2")
            << "2"
            << "4" << 2000 << 400 << false << QStringList{"jede", "2", "keine"}
            << QStringList{"jede Übung eine andere", "2", "keine"} << none
            << QStringList{"jede", "2", "keine"} << -2 << "" << oneNote << 1;
        QTest::newRow("chosen: each exercise another, at most 4")
            << "2"
            << "4" << 2000 << 400 << false << none << cMajor
            << QStringList{"jede Übung eine andere", "4", ""} << QStringList{"jede", "4", "keine"}
            << -4 << "" << oneNote << 1;
        QTest::newRow("junk reads as C major and none")
            << "2"
            << "4" << 2000 << 400 << false << QStringList{"8", "x", "Kreuze"} << cMajor << none
            << cMajorSaved << 0 << "" << oneNote << 1;
        QTest::newRow("more junk")
            << "2"
            << "4" << 2000 << 400 << false << QStringList{"jede Übung", "-1", "♯"} << cMajor << none
            << cMajorSaved << 0 << "" << oneNote << 1;
        QTest::newRow("four notes per task chosen")
            << "2"
            << "4" << 2000 << 400 << false << none << cMajor << none << cMajorSaved << 0 << ""
            << QStringList{"", "1", "4", "4"} << 4;
        QTest::newRow("stored eight notes per task, kept")
            << "2"
            << "4" << 2000 << 400 << false << none << cMajor << none << cMajorSaved << 0 << ""
            << QStringList{"8", "8", "", "8"} << 8;
        QTest::newRow("stored four, one chosen")
            << "2"
            << "4" << 2000 << 400 << false << none << cMajor << none << cMajorSaved << 0 << ""
            << QStringList{"4", "4", "1", "1"} << 1;
    }

    void startWritesRangeTimesAndStore() {
        QFETCH(QString, weg);
        QFETCH(QString, vorbei);
        QFETCH(int, zeitWeg);
        QFETCH(int, zeitVorbei);
        QFETCH(bool, weakNotes);
        QFETCH(QStringList, storedKey);
        QFETCH(QStringList, shownKey);
        QFETCH(QStringList, chosenKey);
        QFETCH(QStringList, notes);
        const QStringList keyKeys = {"Tonart", "HoechstensVorzeichen", "Versetzungszeichen"};
        FakeWorld world;
        for (int i = 0; i < 3; ++i)
            if (!storedKey[i].isEmpty())
                world.store->SaveSetting("Tonart", keyKeys[i], storedKey[i]);
        if (!notes[0].isEmpty())
            world.store->SaveSetting("Phrasen", "NotenProAufgabe", notes[0]);
        Form1 form(world.exercise, world.services());
        int result = -1;
        const auto keyShown = [](frmEinstellungen& d) {
            return QStringList{d.cboTonart->currentText(),
                               QString::number(d.spnHoechstens->value()),
                               d.cboVersetzungszeichen->currentText()};
        };
        openDialog(world, form.cmdViolin, [&](frmEinstellungen& d) {
            d.show();
            QCOMPARE(keyShown(d), shownKey);
            QCOMPARE(d.spnHoechstens->isEnabled(), shownKey[0] == "jede Übung eine andere");
            if (!chosenKey[0].isEmpty())
                d.cboTonart->setCurrentText(chosenKey[0]);
            if (!chosenKey[1].isEmpty())
                d.spnHoechstens->setValue(chosenKey[1].toInt());
            if (!chosenKey[2].isEmpty())
                d.cboVersetzungszeichen->setCurrentText(chosenKey[2]);
            QCOMPARE(d.spnHoechstens->isEnabled(), d.cboTonart->currentIndex() == 15);
            shownKey = keyShown(d);
            QCOMPARE(d.cboNotenProAufgabe->currentText(), notes[1]);
            if (!notes[2].isEmpty())
                d.cboNotenProAufgabe->setCurrentText(notes[2]);
            tick(d.chkTonViolin, {2, 5, 9});
            d.chkSchwacheNoten->setChecked(weakNotes);
            d.txtZeitWeg->setText(weg);
            d.txtZeitVorbei->setText(vorbei);
            d.cmdOk->click();
            result = d.result();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        QCOMPARE(world.exercise.lowest(), 2);
        QCOMPARE(world.exercise.highest(), 9);
        QCOMPARE(world.exercise.zeitWeg(), zeitWeg);
        QCOMPARE(world.exercise.zeitVorbei(), zeitVorbei);
        QCOMPARE(world.store->GetSetting(Einstellungen, "Zeitweg"), weg);
        QCOMPARE(world.store->GetSetting(Einstellungen, "Zeitvorbei"), vorbei);
        // A read phrase stays silent until its notes are answered.
        QCOMPARE(world.player.played.size(), world.exercise.notesPerTask() == 1 ? 1 : 0);
        QVERIFY(!world.exercise.keyboardPractice());
        QCOMPARE(world.store->GetSetting(Einstellungen, "SchwacheNotenOefter"),
                 QString(weakNotes ? "1" : "0"));
        QCOMPARE(world.recordsAsked, weakNotes ? 1 : 0);
        QStringList saved;
        for (const QString& key : keyKeys)
            saved.append(world.store->GetSetting("Tonart", key));
        QTEST(saved, "savedKey");
        QTEST(world.exercise.key().fifths, "keyFifths");
        const std::optional<int> sign = world.exercise.askedAccidental();
        QTEST(QString(!sign ? "" : *sign > 0 ? "♯" : *sign < 0 ? "♭" : "♮"), "sign");
        frmEinstellungen again(world.exercise, world.settingsServices(), &form);
        QCOMPARE(again.chkSchwacheNoten->isChecked(), weakNotes);
        QCOMPARE(keyShown(again), shownKey);
        QCOMPARE(world.store->GetSetting("Phrasen", "NotenProAufgabe"), notes[3]);
        QTEST(world.exercise.notesPerTask(), "notesPerTask");
        QCOMPARE(again.cboNotenProAufgabe->currentText(), notes[3]);
    }

    void keysNeedTheMusicFont_data() {
        QTest::addColumn<QStringList>("musicFonts");
        QTest::addColumn<QStringList>("storedKey"); // key, most accidentals, accidentals
        QTest::addColumn<QStringList>("shownKey");
        QTest::addColumn<int>("keyFifths");
        const QStringList none = {"Keine Notenschrift"};
        const QStringList gSharps = {"1", "7", "Kreuz"};
        const QStringList cMajor = {"C-Dur / a-Moll (keine Vorzeichen)", "7", "keine"};
        QTest::newRow("music font, G major")
            << MusicFontFamilies << gSharps << QStringList{"G-Dur / e-Moll (1 ♯)", "7", "♯"} << 1;
        QTest::newRow("no music font, G major") << none << gSharps << cMajor << 0;
        QTest::newRow("no music font, each exercise another")
            << none << QStringList{"jede", "2", "Kreuz und Be"}
            << QStringList{"C-Dur / a-Moll (keine Vorzeichen)", "2", "keine"} << 0;
    }
    // Without a font that draws the signs, only C major without accidentals is offered and
    // practised; what was stored waits for the font.
    void keysNeedTheMusicFont() {
        QFETCH(QStringList, musicFonts);
        QFETCH(QStringList, storedKey);
        const QStringList keyKeys = {"Tonart", "HoechstensVorzeichen", "Versetzungszeichen"};
        FakeWorld world;
        for (int i = 0; i < 3; ++i)
            world.store->SaveSetting("Tonart", keyKeys[i], storedKey[i]);
        Form1 form(world.exercise, world.services());
        QVERIFY(world.exercise.chooseMode(Clef::Violin, false));
        SettingsServices services = world.settingsServices();
        services.musicFonts = musicFonts;
        frmEinstellungen dialog(world.exercise, services, &form);
        QTEST((QStringList{dialog.cboTonart->currentText(),
                           QString::number(dialog.spnHoechstens->value()),
                           dialog.cboVersetzungszeichen->currentText()}),
              "shownKey");
        const bool offered = musicFonts == MusicFontFamilies;
        for (QWidget* choice :
             std::initializer_list<QWidget*>{dialog.cboTonart, dialog.cboVersetzungszeichen})
            QCOMPARE(choice->isEnabled(), offered);
        QVERIFY(!dialog.spnHoechstens->isEnabled());
        tick(dialog.chkTonViolin, {0, 14});
        dialog.cmdOk->click();
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        QTEST(world.exercise.key().fifths, "keyFifths");
        if (!offered)
            QCOMPARE(world.exercise.askedAccidental(), std::optional<int>());
        QStringList saved;
        for (const QString& key : keyKeys)
            saved.append(world.store->GetSetting("Tonart", key));
        QCOMPARE(saved, storedKey);
    }

    void keyboardStartSetsFlag() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        openDialog(world, form.cmdBass, [&](frmEinstellungen& d) {
            tick(d.chkTonBass, {0, 14});
            d.cmdKeyboard->click();
        });
        QVERIFY(world.exercise.keyboardPractice());
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
    }

    void badTimesRefused_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QString>("vorbei");
        QTest::addColumn<QString>("field");
        QTest::newRow("empty per note") << "2"
                                        << ""
                                        << "Zeit pro Note";
        QTest::newRow("letters disappearing") << "x"
                                              << "4"
                                              << "Note verschwindet nach";
        QTest::newRow("negative per note") << "2"
                                           << "-1"
                                           << "Zeit pro Note";
        QTest::newRow("too long per note") << "2"
                                           << "99999999"
                                           << "Zeit pro Note";
        QTest::newRow("too long disappearing") << "40"
                                               << "4"
                                               << "Note verschwindet nach";
    }
    void badTimesRefused() {
        QFETCH(QString, weg);
        QFETCH(QString, vorbei);
        QFETCH(QString, field);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        bool stillOpen = false;
        openDialog(world, form.cmdViolin, [&](frmEinstellungen& d) {
            d.show();
            tick(d.chkTonViolin, {0, 1});
            d.txtZeitWeg->setText(weg);
            d.txtZeitVorbei->setText(vorbei);
            d.cmdOk->click();
            stillOpen = d.isVisible();
            d.reject();
        });
        QVERIFY(stillOpen);
        QCOMPARE(world.messages.size(), 1);
        QVERIFY2(world.messages[0].text.contains(field), qPrintable(world.messages[0].text));
        QCOMPARE(world.messages[0].title, QString("Fehler"));
        QCOMPARE(world.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(world.exercise.state(), ExerciseState::Idle);
        QCOMPARE(world.store->GetSetting(Einstellungen, "Zeitweg"), QString("9"));
        QCOMPARE(world.store->GetSetting(Einstellungen, "Zeitvorbei"), QString("9"));
    }

    void cancelStoresNothing_data() {
        QTest::addColumn<int>("how"); // 0: Abbrechen, 1: Esc, 2: Enter in a time field
        QTest::newRow("Abbrechen") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("Enter starts nothing") << 2;
    }
    void cancelStoresNothing() {
        QFETCH(int, how);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        bool open = true;
        openDialog(world, form.cmdViolin, [&](frmEinstellungen& d) {
            d.show();
            tick(d.chkTonViolin, {0, 14});
            d.txtZeitWeg->setText("5");
            if (how == 0)
                d.cmdAbbrechen->click();
            else if (how == 1)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                QTest::keyClick(d.txtZeitWeg, Qt::Key_Return);
            open = d.isVisible();
            d.reject();
        });
        QCOMPARE(open, how == 2);
        QCOMPARE(world.exercise.state(), ExerciseState::Idle);
        QCOMPARE(world.store->GetSetting(Einstellungen, "Zeitweg"), QString("9"));
        QVERIFY(world.player.played.isEmpty());
    }

    // The microphone rows: what a device found or missing and the stored choice show, what a
    // start stores. Stored texts are "1" for on; an absent key is off.
    void microphoneRows_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("storedAnswer");
        QTest::addColumn<QString>("storedOctave");
        QTest::addColumn<bool>("tickAnswer"); // clicked by the learner before the start
        QTest::addColumn<QString>("savedAnswer");
        QTest::addColumn<QString>("savedOctave");
        QTest::newRow("a store without them: off, and stored as off")
            << Answer::AtOnce << true << QString() << QString() << false << "0"
            << "0";
        QTest::newRow("stored on, kept") << Answer::AtOnce << true << "1"
                                         << "1" << false << "1"
                                         << "1";
        QTest::newRow("ticked by the learner")
            << Answer::AtOnce << true << "0" << QString() << true << "1"
            << "0";
        QTest::newRow("untick: the octave stays as it was") << Answer::AtOnce << true << "1"
                                                            << "1" << true << "0"
                                                            << "1";
        QTest::newRow("no device: the choice is kept for its return")
            << Answer::AtOnce << false << "1"
            << "0" << false << "1"
            << "0";
        QTest::newRow("found once the dialog shows: the stored choice shows then")
            << Answer::Later << true << "1"
            << "1" << false << "1"
            << "1";
        QTest::newRow("missing, told once the dialog shows") << Answer::Later << false << "1"
                                                             << "1" << false << "1"
                                                             << "1";
        QTest::newRow("no answer: off, the choice kept") << Answer::Never << true << "1"
                                                         << "1" << false << "1"
                                                         << "1";
    }
    void microphoneRows() {
        QFETCH(Answer, answer);
        QFETCH(bool, found);
        QFETCH(QString, storedAnswer);
        QFETCH(QString, storedOctave);
        QFETCH(bool, tickAnswer);
        QFETCH(QString, savedAnswer);
        QFETCH(QString, savedOctave);
        FakeWorld world;
        world.microphoneFound = found;
        world.microphoneAnswersAtOnce = answer == Answer::AtOnce;
        if (!storedAnswer.isEmpty())
            world.store->SaveSetting(Einstellungen, "Mikrofon", storedAnswer);
        if (!storedOctave.isEmpty())
            world.store->SaveSetting(Einstellungen, "OktaveFrei", storedOctave);
        // The exercise opens the device for itself, which one taking a single client refuses
        // while the level still has it.
        std::optional<bool> levelOpenAtStart;
        QObject::connect(&world.exercise, &Exercise::started,
                         [&] { levelOpenAtStart = bool(world.microphoneLevel); });
        Form1 form(world.exercise, world.services());
        openDialog(world, form.cmdBass, [&](frmEinstellungen& d) {
            d.show();
            if (answer != Answer::AtOnce) {
                QVERIFY(!d.chkMikrofon->isEnabled());
                QVERIFY(!d.chkMikrofon->isChecked());
                QVERIFY(!world.microphoneLevel);
            }
            if (answer == Answer::Later)
                world.microphoneAnswer(found);
            const bool shown = found && answer != Answer::Never;
            QCOMPARE(d.chkMikrofon->isEnabled(), shown);
            QCOMPARE(d.chkMikrofon->toolTip(), shown || answer == Answer::Never
                                                   ? QString()
                                                   : QString("Kein Mikrofon gefunden"));
            QCOMPARE(d.chkMikrofon->isChecked(), shown && storedAnswer == "1");
            QCOMPARE(d.chkOktaveFrei->isChecked(), storedOctave == "1");
            QCOMPARE(d.chkOktaveFrei->isEnabled(), d.chkMikrofon->isChecked());
            // The level shows, from an open device, only while the box is ticked.
            QCOMPARE(d.Pegel->isVisible(), d.chkMikrofon->isChecked());
            QCOMPARE(bool(world.microphoneLevel), d.chkMikrofon->isChecked());
            if (tickAnswer)
                QTest::mouseClick(d.chkMikrofon, Qt::LeftButton, {}, QPoint(8, 8));
            QCOMPARE(bool(world.microphoneLevel), d.chkMikrofon->isChecked());
            if (world.microphoneLevel) {
                world.microphoneLevel(-12.5f);
                QCOMPARE(d.Pegel->level(), -12.5f);
            }
            // The same answer again, as the next search gives it, changes nothing set.
            if (answer != Answer::Never)
                world.microphoneAnswer(found);
            QCOMPARE(bool(world.microphoneLevel), d.chkMikrofon->isChecked());
            tick(d.chkTonBass, {0, 14});
            d.cmdOk->click();
        });
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        QCOMPARE(levelOpenAtStart, std::optional(false));
        QVERIFY2(!world.microphoneLevel, "the device stayed open after the dialog");
        QCOMPARE(world.store->GetSetting(Einstellungen, "Mikrofon"), savedAnswer);
        QCOMPARE(world.store->GetSetting(Einstellungen, "OktaveFrei"), savedOctave);
    }

    // Tab from the first field visits every control a mouse works and comes back around;
    // Shift+Tab goes the other way. For each clef the dialog opens with.
    void tabReachesEveryControl_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("Violinschlüssel") << "cmdViolin";
        QTest::newRow("Bassschlüssel") << "cmdBass";
        QTest::newRow("Weitere Schlüssel") << "cmdWeitereSchluessel";
    }
    void tabReachesEveryControl() {
        QFETCH(QString, mode);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        QPushButton* button = mode == "cmdViolin" ? form.cmdViolin
                              : mode == "cmdBass" ? form.cmdBass
                                                  : form.cmdWeitereSchluessel;
        openDialog(world, button, [&](frmEinstellungen& d) {
            QVERIFY(activate(&d));
            const QString fault = tabRoundTrip(d, d.txtZeitVorbei);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
            d.reject();
        });
    }

    // Space or Return on the focused control does what a click does; Escape cancels, and the
    // focus goes back to the main window's button that opened the dialog.
    void keysWorkLikeClicks_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("range box by Space") << "range box";
        QTest::newRow("check box by Space") << "check box";
        QTest::newRow("choice by arrow keys") << "choice by arrows";
        QTest::newRow("choice opened by Space, chosen by Return") << "choice by its list";
        QTest::newRow("clef chosen by arrow keys and Return") << "clef";
        QTest::newRow("Abbrechen by Return") << "Abbrechen";
        QTest::newRow("Übung starten by Space") << "Übung starten";
        QTest::newRow("Escape cancels") << "Escape";
        QTest::newRow("Return in a time field after the buttons starts nothing")
            << "Return in a time field";
    }
    void keysWorkLikeClicks() {
        QFETCH(QString, action);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        QVERIFY(activate(&form));
        QPushButton* opener = action == "clef" ? form.cmdWeitereSchluessel : form.cmdViolin;
        opener->setFocus(Qt::TabFocusReason);
        bool open = true;
        world.onDialog = [&](QDialog& dialog) {
            auto& d = static_cast<frmEinstellungen&>(dialog);
            QVERIFY(activate(&d));
            const auto press = [](QWidget* control, Qt::Key key) {
                control->setFocus(Qt::TabFocusReason);
                QTest::keyClick(QApplication::focusWidget(), key);
            };
            if (action == "range box") {
                press(d.chkTonViolin[3], Qt::Key_Space);
                QVERIFY(d.chkTonViolin[3]->isChecked());
            } else if (action == "check box") {
                press(d.chkSchwacheNoten, Qt::Key_Space);
                QVERIFY(d.chkSchwacheNoten->isChecked());
            } else if (action == "choice by arrows") {
                press(d.cboNotenProAufgabe, Qt::Key_Down);
                QCOMPARE(d.cboNotenProAufgabe->currentText(), QString("4"));
            } else if (action == "choice by its list") {
                press(d.cboNotenProAufgabe, Qt::Key_Space);
                QTRY_VERIFY(d.cboNotenProAufgabe->view()->isVisible());
                QTest::keyClick(d.cboNotenProAufgabe->view(), Qt::Key_Down);
                QTest::keyClick(d.cboNotenProAufgabe->view(), Qt::Key_Return);
                QTRY_VERIFY(!d.cboNotenProAufgabe->view()->isVisible());
                QCOMPARE(d.cboNotenProAufgabe->currentText(), QString("4"));
            } else if (action == "clef") {
                QCOMPARE(world.exercise.clef(), Clef::Alto);
                press(d.cboSchluessel, Qt::Key_Down);
                QCOMPARE(world.exercise.clef(), Clef::Tenor);
                press(d.cboSchluessel, Qt::Key_Space);
                QTRY_VERIFY(d.cboSchluessel->view()->isVisible());
                QTest::keyClick(d.cboSchluessel->view(), Qt::Key_Up);
                QTest::keyClick(d.cboSchluessel->view(), Qt::Key_Return);
                QTRY_VERIFY(!d.cboSchluessel->view()->isVisible());
                QCOMPARE(world.exercise.clef(), Clef::Alto);
                QVERIFY(d.frmWeitere->title().contains(clefName(Clef::Alto)));
            } else if (action == "Abbrechen") {
                press(d.cmdAbbrechen, Qt::Key_Return);
            } else if (action == "Übung starten") {
                tick(d.chkTonViolin, {0, 14});
                press(d.cmdOk, Qt::Key_Space);
            } else if (action == "Return in a time field") {
                tick(d.chkTonViolin, {0, 14});
                for (QWidget* w : QList<QWidget*>{d.cmdOk, d.cmdKeyboard})
                    w->setFocus(Qt::TabFocusReason);
                press(d.txtZeitWeg, Qt::Key_Return);
            } else {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            }
            open = d.isVisible();
            d.reject();
        };
        opener->click();
        QCOMPARE(open, !QStringList({"Abbrechen", "Übung starten", "Escape"}).contains(action));
        QCOMPARE(world.exercise.state() == ExerciseState::Running, action == "Übung starten");
        if (action == "Escape")
            QTRY_COMPARE(QApplication::focusWidget(), opener);
    }

    // A key held down since before the dialog opened does nothing in it until pressed afresh;
    // one pressed in the dialog repeats as usual. The X server repeats a key as a release and a
    // press at one moment, which Qt does not always mark as repeated.
    void heldKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QList<Stroke>>("strokes");
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("focusMoves");
        const int esc = Qt::Key_Escape;
        const int tab = Qt::Key_Tab;
        QTest::newRow("Esc held from before") << esc << QList{Repeat, Repeat} << true << 0;
        QTest::newRow("Esc held from before, repeats unmarked")
            << esc << QList{UnmarkedRepeat, UnmarkedRepeat} << true << 0;
        QTest::newRow("Esc held from before, then pressed")
            << esc << QList{UnmarkedRepeat, Press} << false << 0;
        QTest::newRow("Tab held from before") << tab << QList{Repeat, UnmarkedRepeat} << true << 0;
        QTest::newRow("Tab pressed and held")
            << tab << QList{Press, Repeat, UnmarkedRepeat} << true << 3;
        QTest::newRow("Esc sent without time stamps") << esc << QList{UntimedRepeat} << false << 0;
    }
    void heldKeys() {
        QFETCH(int, key);
        QFETCH(QList<Stroke>, strokes);
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        bool open = false;
        int focusMoves = 0;
        openDialog(world, form.cmdViolin, [&](frmEinstellungen& d) {
            d.show();
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            d.txtZeitWeg->setFocus();
            quint64 time = 1000;
            for (Stroke stroke : strokes) {
                QWidget* focus = d.focusWidget();
                time += 40;
                const quint64 stamp = stroke == UntimedRepeat ? 0 : time;
                if (stroke == UnmarkedRepeat || stroke == UntimedRepeat) {
                    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
                    release.setTimestamp(stamp);
                    QCoreApplication::sendEvent(focus, &release);
                }
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(),
                                stroke == Repeat || stroke == UntimedRepeat);
                press.setTimestamp(stamp);
                QCoreApplication::sendEvent(focus, &press);
                focusMoves += d.focusWidget() != focus;
            }
            open = d.isVisible();
            d.reject();
        });
        QTEST(open, "open");
        QTEST(focusMoves, "focusMoves");
    }

    // Last, since it changes Qt's texts for the whole run: in German, as the program starts.
    // Each control within the learner's reach on a full HD screen, at twice the size as well:
    // the dialog fits the screen or scrolls, the keys keep their order, and a control reached by
    // Tab scrolls into view.
    void withinReachOfTheScreen_data() {
        QTest::addColumn<bool>("moreClefs");
        QTest::addColumn<bool>("english");
        QTest::newRow("treble and bass rows") << false << false;
        QTest::newRow("more clefs") << true << false;
        QTest::newRow("English") << false << true;
    }
    void withinReachOfTheScreen() {
        QFETCH(bool, moreClefs);
        QFETCH(bool, english);
        QTranslator englishTexts;
        if (english) {
            QVERIFY(englishTexts.load("virelo_en", VIRELO_PROGRAM_DIR));
            QCoreApplication::installTranslator(&englishTexts);
        }
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        form.show();
        openDialog(
            world, moreClefs ? form.cmdWeitereSchluessel : form.cmdViolin,
            [&](frmEinstellungen& d) {
                d.show();
                const QStringList problems = outOfReach(d);
                QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
                QCOMPARE(nextTabStop(d.txtZeitVorbei), d.cmdOk);
                QCOMPARE(nextTabStop(d.cmdAbbrechen),
                         moreClefs ? d.chkTonWeitere[0] : d.chkTonViolin[0]);
                QCOMPARE(nextTabStop(d.chkSchwacheNoten), d.cboSprache);
                QCOMPARE(nextTabStop(d.cboVersetzungszeichen), d.cboNotenProAufgabe);
                d.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&d));
                d.cboVersetzungszeichen->setFocus();
                QTest::keyClick(d.cboVersetzungszeichen, Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), d.cboNotenProAufgabe);
                const QRect seen(d.cboNotenProAufgabe->mapTo(&d, QPoint(0, 0)),
                                 d.cboNotenProAufgabe->size());
                QVERIFY2(d.rect().contains(seen), "the control with the focus is out of view");
                // Where the dialog scrolls, the wheel over a choice not gone into
                // scrolls it and leaves the choice as it was.
                auto* area = d.findChild<QScrollArea*>();
                QCOMPARE(area != nullptr, d.screen()->availableGeometry().height() < 700);
                if (area) {
                    area->verticalScrollBar()->setValue(0);
                    const int octaves = d.cboOktaven->currentIndex();
                    const QPointF at = d.cboOktaven->rect().center();
                    QWheelEvent wheel(at, d.cboOktaven->mapToGlobal(at), QPoint(), QPoint(0, -120),
                                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                    QApplication::sendEvent(d.cboOktaven, &wheel);
                    QCOMPARE(d.cboOktaven->currentIndex(), octaves);
                    QVERIFY(area->verticalScrollBar()->value() > 0);
                }
                d.reject();
            });
    }

    void qtTextsInGerman() {
        installTranslations(*QCoreApplication::instance(), Language::German, {});
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        frmEinstellungen dialog(world.exercise, world.settingsServices(), &form);
        const std::unique_ptr<QMenu> menu(dialog.txtZeitVorbei->createStandardContextMenu());
        QStringList entries;
        for (const QAction* action : menu->actions())
            entries.append(action->text().section(u'\t', 0, 0));
        for (const QString entry : {"&Rückgängig", "&Ausschneiden", "Einf&ügen", "Alles auswählen"})
            QVERIFY2(entries.contains(entry), qPrintable(entries.join(" | ")));
        QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).buttons().value(0)->text(),
                 QString("Abbrechen"));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "tst_settingsdialog.moc"

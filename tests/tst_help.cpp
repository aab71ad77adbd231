// The help window with its note charts, the about dialog, the documentation file and the
// program's pictures.
#include "FakeServices.h"
#include "KeyboardWalk.h"
#include "ScreenReaderNames.h"
#include "forms/Form1.h"
#include "help/ClefGlyph.h"
#include "help/MHyperJump.h"
#include "help/NoteChart.h"
#include "help/NoteChartModel.h"
#include "help/Publisher.h"
#include "help/frmHilfe.h"
#include "help/frmInfo.h"
#include "keyboard/frmKeyboard.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"
#include "widgets/Pictures.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// A settings file of the suite's own: suites run side by side and must not share one.
struct HelpWorld : FakeWorld {
    HelpWorld() { store = std::make_unique<SettingsStore>(dir.filePath("virel542.ini")); }
    QTemporaryDir dir;
};

QList<frmHilfe*> openHelpWindows() {
    QList<frmHilfe*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* help = dynamic_cast<frmHilfe*>(w); help && help->isVisible())
            found.append(help);
    }
    return found;
}

void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A chart's line spacing is whole pixels; a tenth of a pixel is ample for rounding.
constexpr double Tolerance = 0.1;

QWidget* aboutControl(frmInfo& d, const QString& name) {
    const QHash<QString, QWidget*> controls = {{"Label1", d.Label1},
                                               {"Label9", d.Label9},
                                               {"Label10", d.Label10},
                                               {"support name", d.lblSupport[0]},
                                               {"support phone", d.lblSupport[3]},
                                               {"support mail", d.lblSupport[5]},
                                               {"sales name", d.lblVertrieb[0]},
                                               {"sales mail", d.lblVertrieb[5]},
                                               {"Label17", d.Label17},
                                               {"Label8", d.Label8},
                                               {"cmdReadme", d.cmdReadme},
                                               {"cmdOk", d.cmdOk}};
    return controls.value(name);
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        for (frmHilfe* help : openHelpWindows())
            help->close();
        deleteClosedWindows();
    }

    // Each note stands where the note table puts it against the chart's own staff.
    void chartNotePlaces_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("spacesBelowTopLine"); // of the head's centre
        QTest::addColumn<QList<double>>("ledgerLines"); // the same measure
        QTest::newRow("f on the third ledger line below")
            << Clef::Violin << 0 << 7.0 << QList<double>{5, 6, 7};
        QTest::newRow("g below the second ledger line")
            << Clef::Violin << 1 << 6.5 << QList<double>{5, 6};
        QTest::newRow("h below the first ledger line")
            << Clef::Violin << 3 << 5.5 << QList<double>{5};
        QTest::newRow("c' on the first ledger line")
            << Clef::Violin << 4 << 5.0 << QList<double>{5};
        QTest::newRow("d' below the bottom line") << Clef::Violin << 5 << 4.5 << QList<double>{};
        QTest::newRow("h' on the middle line") << Clef::Violin << 10 << 2.0 << QList<double>{};
        QTest::newRow("f'' on the top line") << Clef::Violin << 14 << 0.0 << QList<double>{};
        QTest::newRow("F below the bottom line") << Clef::Bass << 0 << 4.5 << QList<double>{};
        QTest::newRow("G on the bottom line") << Clef::Bass << 1 << 4.0 << QList<double>{};
        QTest::newRow("a on the top line") << Clef::Bass << 9 << 0.0 << QList<double>{};
        QTest::newRow("h above the staff") << Clef::Bass << 10 << -0.5 << QList<double>{};
        QTest::newRow("c' on the first ledger line above")
            << Clef::Bass << 11 << -1.0 << QList<double>{-1};
        QTest::newRow("e' on the second ledger line above")
            << Clef::Bass << 13 << -2.0 << QList<double>{-1, -2};
        QTest::newRow("f' above the second ledger line")
            << Clef::Bass << 14 << -2.5 << QList<double>{-1, -2};
        QTest::newRow("alto c below the first ledger line")
            << Clef::Alto << 0 << 5.5 << QList<double>{5};
        QTest::newRow("alto c' on the middle line") << Clef::Alto << 7 << 2.0 << QList<double>{};
        QTest::newRow("alto c'' above the first ledger line")
            << Clef::Alto << 14 << -1.5 << QList<double>{-1};
        QTest::newRow("tenor A below the first ledger line")
            << Clef::Tenor << 0 << 5.5 << QList<double>{5};
        QTest::newRow("tenor c' on the fourth line") << Clef::Tenor << 9 << 1.0 << QList<double>{};
        QTest::newRow("tenor a' above the first ledger line")
            << Clef::Tenor << 14 << -1.5 << QList<double>{-1};
    }
    void chartNotePlaces() {
        QFETCH(Clef, clef);
        QFETCH(int, index);
        QFETCH(double, spacesBelowTopLine);
        QFETCH(QList<double>, ledgerLines);
        const NoteChartModel chart = noteChart(clef, QSizeF(621, 116));
        QCOMPARE(chart.notes.size(), std::size_t(NoteCount));
        const double s = chart.lineSpacing;
        const double topLine = chart.staffLines[0].y1();
        for (int line = 0; line < 5; ++line)
            QCOMPARE(chart.staffLines[line].y1(), topLine + line * s);

        const ChartNote& note = chart.notes[index];
        QCOMPARE(note.name, noteName(clef, index));
        QVERIFY(std::abs(note.head.center().y() - (topLine + spacesBelowTopLine * s)) < Tolerance);
        QVERIFY(std::abs(note.head.height() - s) < Tolerance);
        QList<double> ledgerPlaces;
        for (const QLineF& ledger : note.ledgerLines) {
            ledgerPlaces.append(std::round((ledger.y1() - topLine) / s * 100) / 100);
            QVERIFY(ledger.x1() < note.head.left() && ledger.x2() > note.head.right());
        }
        std::sort(ledgerPlaces.begin(), ledgerPlaces.end());
        std::sort(ledgerLines.begin(), ledgerLines.end());
        QCOMPARE(ledgerPlaces, ledgerLines);
        // The stem grows out of the head.
        QVERIFY(note.head.contains(note.stem.p1()));
        QVERIFY(std::abs(note.stem.dy()) > 2 * s);
    }

    // The notes climb step by step from left to right, evenly spaced, names beneath them,
    // everything inside the picture, at the layout's size and when the window enlarges it.
    void chartAscends_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("treble, layout size") << Clef::Violin << QSizeF(621, 116);
        QTest::newRow("bass, layout size") << Clef::Bass << QSizeF(622, 117);
        QTest::newRow("treble, enlarged") << Clef::Violin << QSizeF(1250, 240);
        QTest::newRow("bass, wider only") << Clef::Bass << QSizeF(1250, 117);
        QTest::newRow("alto, layout size") << Clef::Alto << QSizeF(621, 116);
        QTest::newRow("tenor, layout size") << Clef::Tenor << QSizeF(622, 117);
    }
    void chartAscends() {
        QFETCH(Clef, clef);
        QFETCH(QSizeF, size);
        const NoteChartModel chart = noteChart(clef, size);
        const QRectF picture(QPointF(0, 0), size);
        QVERIFY(picture.contains(chart.clefBox));
        const double slot = chart.notes[1].head.center().x() - chart.notes[0].head.center().x();
        QVERIFY(chart.notes[0].head.left() > chart.clefBox.right());
        for (int i = 0; i < NoteCount; ++i) {
            const ChartNote& note = chart.notes[i];
            QCOMPARE(note.name, noteName(clef, i));
            QVERIFY(picture.contains(note.head));
            QVERIFY(picture.contains(note.nameBox));
            QVERIFY(picture.contains(note.stem.p2()));
            QVERIFY(std::abs(note.nameBox.center().x() - note.head.center().x()) < Tolerance);
            QVERIFY(note.nameBox.top() > note.head.bottom());
            QVERIFY(note.nameBox.top() > std::max(note.stem.y1(), note.stem.y2()));
            if (i == 0)
                continue;
            const ChartNote& below = chart.notes[i - 1];
            QVERIFY(std::abs(note.head.center().x() - below.head.center().x() - slot) < Tolerance);
            QVERIFY(std::abs(below.head.center().y() - note.head.center().y() -
                             chart.lineSpacing / 2) < Tolerance);
        }
    }

    void chartsShareOneScale() {
        const QSizeF size(621, 116);
        for (const Clef clef : {Clef::Bass, Clef::Alto, Clef::Tenor})
            QCOMPARE(noteChart(Clef::Violin, size).lineSpacing, noteChart(clef, size).lineSpacing);
    }

    // A second page holds the alto and tenor clefs' charts; the button turns back.
    void helpTurnsToTheCClefs() {
        frmHilfe* help = frmHilfe::showSingle(nullptr);
        QCOMPARE(help->cmdWeitereSchluessel->text(), QString("Alt- und Tenorschlüssel"));
        help->cmdWeitereSchluessel->click();
        QCOMPARE(help->Picture1->clef(), Clef::Alto);
        QCOMPARE(help->Picture2->clef(), Clef::Tenor);
        QCOMPARE(help->Picture1->chart().notes[7].name, QString("c'"));
        QCOMPARE(help->cmdWeitereSchluessel->text(), QString("Violin- und Bassschlüssel"));
        help->cmdWeitereSchluessel->click();
        QCOMPARE(help->Picture1->clef(), Clef::Violin);
        QCOMPARE(help->Picture2->clef(), Clef::Bass);
        QVERIFY(!help->cmdWeitereSchluessel->geometry().intersects(help->Ok->geometry()));
    }

    // The signs come from a music font; a font without them gives no sign rather than a box.
    void clefSign_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("treble") << Clef::Violin << MusicFontFamilies << true;
        QTest::newRow("bass") << Clef::Bass << MusicFontFamilies << true;
        QTest::newRow("tenor") << Clef::Tenor << MusicFontFamilies << true;
        QTest::newRow("font without the sign")
            << Clef::Violin << QStringList{"DejaVu Sans"} << false;
        QTest::newRow("font not installed") << Clef::Bass << QStringList{"No Such Font"} << false;
        QTest::newRow("no clef") << Clef::None << MusicFontFamilies << false;
    }
    void clefSign() {
        QFETCH(Clef, clef);
        QFETCH(QStringList, families);
        QFETCH(bool, drawn);
        QCOMPARE(!clefOutline(clef, families).isEmpty(), drawn);
    }

    // "Hilfe" shows one modeless window of its own, at rest and during an exercise.
    void helpOpensOnce_data() {
        QTest::addColumn<bool>("exercise");
        QTest::newRow("at rest") << false;
        QTest::newRow("during an exercise") << true;
    }
    void helpOpensOnce() {
        QFETCH(bool, exercise);
        HelpWorld world;
        Form1 form(world.exercise, world.services());
        form.show();
        if (exercise) {
            world.exercise.chooseMode(Clef::Violin, false);
            world.exercise.Start({0, 14, 0, 0, false});
        }
        QVERIFY(form.cmdHilfe->isEnabled());
        form.cmdHilfe->click();
        form.cmdHilfe->click();
        const QList<frmHilfe*> open = openHelpWindows();
        QCOMPARE(open.size(), 1);
        QCOMPARE(open.first()->parentWidget(), nullptr);
        QVERIFY(!open.first()->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(world.exercise.state(), exercise ? ExerciseState::Running : ExerciseState::Idle);
        if (exercise)
            form.cmdÜbungAbbrechen_Click();
    }

    // "Ende" ends the program with every window, the help window included.
    void endeClosesHelp() {
        HelpWorld world;
        Form1 form(world.exercise, world.services());
        form.show();
        form.cmdHilfe->click();
        QCOMPARE(openHelpWindows().size(), 1);
        QVERIFY(openHelpWindows().first()->isVisible());
        form.cmdEnde->click();
        QVERIFY(!form.isVisible());
        for (const frmHilfe* help : openHelpWindows())
            QVERIFY(!help->isVisible());
    }

    void helpLayout() {
        frmHilfe* help = frmHilfe::showSingle(nullptr);
        QCOMPARE(help->windowTitle(), QString("Hilfe"));
        QVERIFY(!help->windowIcon().isNull());
        QVERIFY(!(help->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(help->Picture1->geometry(), twipsRect(126, 378, 9380, 1806));
        QCOMPARE(help->Picture2->geometry(), twipsRect(126, 2520, 9394, 1820));
        QCOMPARE(help->Ok->text(), QString("Schließen"));
        QCOMPARE(help->Ok->toolTip(), QString("Schließt den Dialog"));
        QVERIFY(help->Ok->isDefault());
        QCOMPARE(help->cmdDrucken->text(), QString("Hilfe &drucken"));
        QVERIFY(help->cmdDrucken->isHidden());
        QVERIFY(!help->cmdDrucken->isEnabled());
    }

    // Tab from the first button visits every control a mouse works, the home page's address
    // too, never the hidden print button, and comes back around; Shift+Tab goes the other way.
    void tabReachesEveryControl_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("Hilfe") << "help";
        QTest::newRow("Info") << "about";
    }
    void tabReachesEveryControl() {
        QFETCH(QString, window);
        HelpWorld world;
        MHyperJump hyperJump([] { return QString(); });
        frmInfo about(world.infoServices(), hyperJump, nullptr);
        QWidget* shown = &about;
        QWidget* first = about.cmdOk;
        if (window == "help") {
            frmHilfe* help = frmHilfe::showSingle(nullptr);
            shown = help;
            first = help->Ok;
        }
        QVERIFY(activate(shown));
        const QString fault = tabRoundTrip(*shown, first);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Space or Return on the focused control does what a click does; Escape closes the window
    // and the focus goes back to the main window's button that opened it.
    void keysWorkLikeClicks_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        const int space = Qt::Key_Space;
        const int enter = Qt::Key_Return;
        const int esc = Qt::Key_Escape;
        QTest::newRow("Hilfe: page turned by Space") << "help"
                                                     << "cmdWeitereSchluessel" << space;
        QTest::newRow("Hilfe: page turned by Return") << "help"
                                                      << "cmdWeitereSchluessel" << enter;
        QTest::newRow("Hilfe: Escape") << "help"
                                       << "Ok" << esc;
        QTest::newRow("Info: readme by Space") << "about"
                                               << "cmdReadme" << space;
        QTest::newRow("Info: readme by Return") << "about"
                                                << "cmdReadme" << enter;
        QTest::newRow("Info: home page by Space") << "about"
                                                  << "Label8" << space;
        QTest::newRow("Info: home page by Return") << "about"
                                                   << "Label8" << enter;
        QTest::newRow("Info: Escape") << "about"
                                      << "cmdOk" << esc;
    }
    void keysWorkLikeClicks() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, key);
        HelpWorld world;
        world.programsStart = true;
        Form1 form(world.exercise, world.services());
        QVERIFY(activate(&form));
        QPushButton* opener = window == "help" ? form.cmdHilfe : form.cmdInfo;
        opener->setFocus(Qt::TabFocusReason);
        bool open = false;
        const auto act = [&](QWidget* shown, QWidget* focused) {
            QVERIFY(activate(shown));
            focused->setFocus(Qt::TabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            open = shown->isVisible();
        };
        world.onDialog = [&](QDialog& dialog) {
            auto& about = static_cast<frmInfo&>(dialog);
            act(&about, aboutControl(about, control));
            about.reject();
        };
        QPointer<frmHilfe> help;
        opener->click();
        if (window == "help") {
            help = openHelpWindows().value(0);
            QVERIFY(help);
            act(help, control == "Ok" ? help->Ok : help->cmdWeitereSchluessel);
        }
        QCOMPARE(open, key != Qt::Key_Escape);
        if (control == "cmdWeitereSchluessel")
            QCOMPARE(help->Picture1->clef(), Clef::Alto);
        if (control == "cmdReadme")
            QCOMPARE(world.openedUrls.size() + world.messages.size(), 1);
        if (control == "Label8")
            QTRY_COMPARE(world.startedPrograms.size() + world.openedUrls.size(), 1);
        if (key == Qt::Key_Escape)
            QTRY_COMPARE(QApplication::focusWidget(), opener);
    }

    // Every control reached by the keyboard is named for a screen reader, in the main window
    // at rest and in an exercise with its toggles, in the keyboard window, help and about.
    void controlsNamedForScreenReaders_data() {
        QTest::addColumn<QString>("window");
        for (const char* window :
             {"main window", "main window in a key", "keyboard window", "help", "about"})
            QTest::newRow(window) << QString(window);
    }
    void controlsNamedForScreenReaders() {
        QFETCH(QString, window);
        HelpWorld world;
        Form1 form(world.exercise, world.services());
        form.show();
        QStringList unnamed;
        if (window.startsWith("main window")) {
            if (window.endsWith("in a key")) {
                world.exercise.chooseMode(Clef::Violin, false);
                world.exercise.Start({.NiedrigsterTon = 0, .HöchsterTon = 14, .keyFifths = -3});
            }
            unnamed = unnamedControls(form);
            // The staff tells which task of which clef and key it shows, never its note.
            if (world.exercise.state() == ExerciseState::Running) {
                QCOMPARE(form.accessibleDescription(),
                         QString("Notenzeile, Aufgabe 1 von 25, Violinschlüssel, Es-Dur / "
                                 "c-Moll (3 ♭)"));
                form.cmdÜbungAbbrechen_Click();
            }
            QCOMPARE(form.accessibleDescription(), QString());
        } else if (window == "keyboard window") {
            // Opened as "Übung mit Keyboard starten" opens it, when the dialog has closed.
            world.onDialog = [&world](QDialog&) {
                world.exercise.Start(
                    {.NiedrigsterTon = 0, .HöchsterTon = 14, .UebenMitKeyboard = true});
            };
            QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
            form.cmdViolin->click();
            QWidget* keyboard = nullptr;
            QVERIFY(QTest::qWaitFor([&] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (qobject_cast<frmKeyboard*>(w) && w->isVisible())
                        keyboard = w;
                return keyboard != nullptr;
            }));
            unnamed = unnamedControls(*keyboard);
            form.cmdÜbungAbbrechen_Click();
        } else if (window == "help") {
            unnamed = unnamedControls(*frmHilfe::showSingle(nullptr));
        } else {
            MHyperJump hyperJump([] { return QString(); });
            frmInfo dialog(world.infoServices(), hyperJump, nullptr);
            dialog.show();
            unnamed = unnamedControls(dialog);
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    }

    void helpCloses_data() {
        QTest::addColumn<int>("key"); // 0: the button is clicked
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Schließen") << 0;
    }
    void helpCloses() {
        QFETCH(int, key);
        QPointer<frmHilfe> help = frmHilfe::showSingle(nullptr);
        if (key == 0)
            help->Ok->click();
        else
            QTest::keyClick(help, Qt::Key(key));
        deleteClosedWindows();
        QVERIFY(help.isNull());
        QVERIFY(openHelpWindows().isEmpty());
    }

    // Enlarging the window enlarges the charts, which stay whole and inside with the button.
    void helpResizes_data() {
        QTest::addColumn<double>("factor");
        QTest::newRow("doubled") << 2.0;
        QTest::newRow("one and a half") << 1.5;
    }
    void helpResizes() {
        QFETCH(double, factor);
        frmHilfe* help = frmHilfe::showSingle(nullptr);
        const double designSpacing = help->Picture1->chart().lineSpacing;
        help->resize((QSizeF(help->size()) * factor).toSize());
        QTRY_VERIFY(help->Picture1->width() > twipsRect(0, 0, 9380, 0).width());
        for (NoteChart* picture : {help->Picture1, help->Picture2}) {
            QVERIFY(help->rect().contains(picture->geometry()));
            const NoteChartModel chart = picture->chart();
            QVERIFY(chart.lineSpacing > designSpacing);
            const QRectF inside(QPointF(0, 0), picture->contentsRect().size());
            for (const ChartNote& note : chart.notes)
                QVERIFY(inside.contains(note.head) && inside.contains(note.nameBox));
        }
        QVERIFY(help->rect().contains(help->Ok->geometry()));
    }

    void aboutLayout_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry"); // a label may only grow to its text
        QTest::addColumn<QString>("caption");
        QTest::addColumn<double>("pointSize"); // 0: the program's default font
        QTest::addColumn<bool>("bold");
        QTest::newRow("Label1") << "Label1" << twipsRect(126, 126, 6524, 616) << "Virelo 5.50 b"
                                << 23.28 << false;
        QTest::newRow("Label9") << "Label9" << twipsRect(126, 1134, 966, 252) << "Support:" << 11.64
                                << true;
        QTest::newRow("Label10") << "Label10" << twipsRect(3654, 1176, 1092, 252)
                                 << "Vertrieb:" << 11.64 << true;
        QTest::newRow("support name") << "support name" << twipsRect(126, 1512, 3402, 252)
                                      << Publisher::Support[0] << 11.64 << true;
        QTest::newRow("support phone") << "support phone" << twipsRect(126, 2646, 3402, 266)
                                       << Publisher::Support[3] << 11.64 << false;
        QTest::newRow("support mail") << "support mail" << twipsRect(126, 3402, 3402, 378)
                                      << Publisher::Support[5] << 11.64 << false;
        QTest::newRow("sales name") << "sales name" << twipsRect(3654, 1512, 3402, 252)
                                    << Publisher::Vertrieb[0] << 11.64 << true;
        QTest::newRow("sales mail") << "sales mail" << twipsRect(3654, 3402, 3402, 252)
                                    << Publisher::Vertrieb[5] << 11.64 << false;
        QTest::newRow("Label17") << "Label17" << twipsRect(0, 4158, 6818, 266)
                                 << "weitere Informationen und Bestellung:" << 10.18 << false;
        QTest::newRow("Label8") << "Label8" << twipsRect(0, 4410, 6762, 504)
                                << "https://www.virelo.example/" << 12.37 << true;
        QTest::newRow("cmdReadme")
            << "cmdReadme" << twipsRect(5010, 5096, 1575, 255) << "Readme.txt" << 0.0 << false;
        QTest::newRow("cmdOk") << "cmdOk" << twipsRect(252, 5670, 1935, 375) << "Ok" << 0.0
                               << false;
    }
    void aboutLayout() {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(double, pointSize);
        QFETCH(bool, bold);
        HelpWorld world;
        MHyperJump hyperJump([] { return QString(); });
        frmInfo dialog(world.infoServices(), hyperJump, nullptr);
        QWidget* widget = aboutControl(dialog, control);
        QVERIFY(widget);
        QCOMPARE(widget->geometry().topLeft(), geometry.topLeft());
        QVERIFY(widget->width() >= geometry.width() && widget->height() >= geometry.height());
        QCOMPARE(widget->property("text").toString(), caption);
        QCOMPARE(widget->font().pointSizeF(),
                 pointSize > 0 ? pointSize : QApplication::font().pointSizeF());
        QCOMPARE(widget->font().bold(), bold);
        // No caption is cut off by the substitute fonts.
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QVERIFY(label->sizeHint().width() <= label->width());
            QVERIFY(label->sizeHint().height() <= label->height());
        } else {
            QVERIFY(widget->fontMetrics().horizontalAdvance(caption) < widget->width() - 4);
        }
    }

    void aboutFrame() {
        HelpWorld world;
        MHyperJump hyperJump([] { return QString(); });
        frmInfo dialog(world.infoServices(), hyperJump, nullptr);
        QCOMPARE(dialog.windowTitle(), QString("Info"));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.size(), twipsClientSize(6762, 6272));
        QCOMPARE(dialog.Label8->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(dialog.Label8->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(dialog.cmdOk->isDefault());
        QVERIFY(!dialog.cmdReadme->isDefault());
    }

    // "Info" shows the about dialog modally over the main window, centred on the screen.
    void aboutOpensCentred() {
        HelpWorld world;
        Form1 form(world.exercise, world.services());
        bool shown = false;
        world.onDialog = [&](QDialog& dialog) {
            shown = dynamic_cast<frmInfo*>(&dialog) != nullptr;
            QCOMPARE(dialog.parentWidget(), &form);
            const QPoint centre = form.screen()->availableGeometry().center();
            QVERIFY((dialog.geometry().center() - centre).manhattanLength() <= 2);
        };
        form.cmdInfo->click();
        QVERIFY(shown);
    }

    void aboutCloses_data() {
        QTest::addColumn<int>("key"); // 0: the button is clicked
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Ok") << 0;
    }
    void aboutCloses() {
        QFETCH(int, key);
        HelpWorld world;
        MHyperJump hyperJump([] { return QString(); });
        frmInfo dialog(world.infoServices(), hyperJump, nullptr);
        dialog.show();
        if (key == 0)
            dialog.cmdOk->click();
        else
            QTest::keyClick(&dialog, Qt::Key(key));
        QVERIFY(!dialog.isVisible());
        QVERIFY(world.messages.isEmpty() && world.openedUrls.isEmpty());
    }

    // "Readme.txt" hands the file beside the program to the desktop, or says why it can't; in
    // English the English readme.
    void readme_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("urlsOpen");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("complaint");
        QTest::addColumn<bool>("english");
        QTest::newRow("opens") << "virelo" << true << true << true << false << false;
        QTest::newRow("space in the folder")
            << "mein Virelo" << true << true << true << false << false;
        QTest::newRow("no viewer") << "virelo" << true << false << true << true << false;
        QTest::newRow("file missing") << "virelo" << false << true << false << true << false;
        QTest::newRow("English") << "virelo" << true << true << true << false << true;
        QTest::newRow("English, file missing")
            << "virelo" << false << true << false << true << true;
    }
    void readme() {
        QFETCH(QString, folder);
        QFETCH(bool, present);
        QFETCH(bool, urlsOpen);
        QFETCH(bool, opened);
        QFETCH(bool, complaint);
        QFETCH(bool, english);
        QTranslator englishTexts; // removes itself when it goes
        if (english) {
            QVERIFY(englishTexts.load("virelo_en", VIRELO_PROGRAM_DIR));
            QCoreApplication::installTranslator(&englishTexts);
        }
        const QString readme = english ? "readme-en.txt" : "readme.txt";
        QTemporaryDir temp;
        const QString programDir = temp.filePath(folder);
        QVERIFY(QDir().mkpath(programDir));
        const QString path = programDir + "/" + readme;
        if (present) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        HelpWorld world;
        world.urlsOpen = urlsOpen;
        InfoServices services = world.infoServices();
        services.programDir = programDir;
        MHyperJump hyperJump([] { return QString(); });
        frmInfo dialog(services, hyperJump, nullptr);
        dialog.cmdReadme->click();
        QCOMPARE(world.openedUrls, opened ? QList<QUrl>{QUrl::fromLocalFile(path)} : QList<QUrl>{});
        QCOMPARE(world.messages.size(), complaint ? 1 : 0);
        if (complaint) {
            QCOMPARE(world.messages[0].title, QString(english ? "Error" : "Fehler"));
            QCOMPARE(world.messages[0].icon, MessageIcon::Warning);
            QVERIFY(world.messages[0].text.contains(readme));
        }
        QVERIFY(world.startedPrograms.isEmpty());
    }

    // A click on the address opens the home page in the browser the desktop names.
    void homePageLink() {
        HelpWorld world;
        MHyperJump hyperJump([] { return QStringLiteral("/usr/bin/web %u"); });
        frmInfo dialog(world.infoServices(), hyperJump, nullptr);
        dialog.show();
        QTest::mouseClick(dialog.Label8, Qt::LeftButton, {}, dialog.Label8->rect().center());
        QTRY_COMPARE(world.startedPrograms,
                     QList<QStringList>({{"/usr/bin/web", Publisher::HomePage}}));
        QVERIFY(world.openedUrls.isEmpty());
    }

    // Each picture draws on a transparent background.
    void pictures_data() {
        QTest::addColumn<QIcon>("icon");
        QTest::newRow("staff") << staffIcon();
        QTest::newRow("information") << informationIcon();
        QTest::newRow("shuttle") << shuttleIcon();
    }
    void pictures() {
        QFETCH(QIcon, icon);
        for (int size : {16, 32}) {
            const QImage image = icon.pixmap(size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            QCOMPARE(qAlpha(image.pixel(0, size - 1)), 0);
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    opaque += qAlpha(image.pixel(x, y)) == 255;
            QVERIFY(opaque > size * size / 8);
        }
    }

    // The hot spot lies on the tip of the finger, not beside it.
    void handCursor() {
        const QCursor cursor = ::handCursor();
        QCOMPARE(cursor.hotSpot(), QPoint(12, 9));
        const QImage image = cursor.pixmap().toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(qAlpha(image.pixel(12, 9)), 255);
        QCOMPARE(qAlpha(image.pixel(12, 4)), 0);
    }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"

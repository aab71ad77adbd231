// The main window at rest, its layout, the mode buttons and the start of an exercise.
#include "FakeServices.h"
#include "forms/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QRect twips(int left, int top, int width, int height) {
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

QList<QPushButton*> modeAndCommandButtons(Form1& f) {
    return {f.cmdViolin, f.cmdBass, f.cmdViolinGehör, f.cmdBassGehör, f.cmdInfo, f.cmdEnde};
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { clearStore(); }

    void windowFrame() {
        FakeWorld world;
        Form1 form(world.services());
        QCOMPARE(form.windowTitle(), QString("Virelo 5.50 (Build: b)"));
        QCOMPARE(form.size(), QSize(741, 490));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.grab().toImage().pixelColor(2, 2), QColor(0, 0, 255));
        // Only the window is blue: styles draw the controls' outlines from their window colour.
        const QColor platform = QApplication::palette().color(QPalette::Window);
        const QList<QWidget*> controls = {form.cmdHilfe, form.cmdNoteBass[3], form.ProgressBar1};
        for (const QWidget* control : controls)
            QCOMPARE(control->palette().color(QPalette::Window), platform);
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void controlGeometry_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::newRow("cmdViolin")
            << "cmdViolin" << twips(120, 120, 1455, 375) << "Violinschlüssel";
        QTest::newRow("cmdBassGehör")
            << "cmdBassGehör" << twips(1680, 600, 1455, 255) << "Gehör-Training";
        QTest::newRow("cmdÜbungAbbrechen")
            << "cmdÜbungAbbrechen" << twips(120, 960, 3015, 375) << "Übung abbrechen";
        QTest::newRow("cmdEnde") << "cmdEnde" << twips(9720, 120, 1215, 375) << "Ende";
        QTest::newRow("violin 0") << "violin0" << twips(120, 5040, 735, 495) << "f";
        QTest::newRow("violin 14") << "violin14" << twips(10200, 5040, 735, 495) << "f''";
        QTest::newRow("bass 0") << "bass0" << twips(120, 6360, 735, 495) << "F";
        QTest::newRow("bass 14") << "bass14" << twips(10200, 6360, 735, 495) << "f'";
        QTest::newRow("lblBassschlüssel")
            << "lblBass" << twips(120, 5880, 2535, 495) << "Bassschlüssel:";
        QTest::newRow("ProgressBar1") << "bar" << twips(126, 1512, 3038, 392) << QString();
    }
    void controlGeometry() {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        FakeWorld world;
        Form1 form(world.services());
        const QMap<QString, QWidget*> controls = {{"cmdViolin", form.cmdViolin},
                                                  {"cmdBassGehör", form.cmdBassGehör},
                                                  {"cmdÜbungAbbrechen", form.cmdÜbungAbbrechen},
                                                  {"cmdEnde", form.cmdEnde},
                                                  {"violin0", form.cmdNoteViolin[0]},
                                                  {"violin14", form.cmdNoteViolin[14]},
                                                  {"bass0", form.cmdNoteBass[0]},
                                                  {"bass14", form.cmdNoteBass[14]},
                                                  {"lblBass", form.lblBassschlüssel},
                                                  {"bar", form.ProgressBar1}};
        QWidget* widget = controls.value(control);
        QCOMPARE(widget->geometry(), geometry);
        QVERIFY(form.rect().contains(widget->geometry()));
        if (auto* button = qobject_cast<QPushButton*>(widget))
            QCOMPARE(button->text(), caption);
        if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), caption);
    }

    void rightEdgesMeet() {
        FakeWorld world;
        Form1 form(world.services());
        QCOMPARE(form.cmdEnde->geometry().right(), form.cmdNoteViolin[14]->geometry().right());
        QCOMPARE(form.cmdEnde->geometry().right(), form.cmdNoteBass[14]->geometry().right());
    }

    void drawnElementsAtRest() {
        FakeWorld world;
        Form1 form(world.services());
        const QList<double> staff = {form.Line1.Y1, form.Line2.Y1, form.Line3.Y1, form.Line4.Y1,
                                     form.Line5.Y1};
        QCOMPARE(staff, (QList<double>{1568, 1904, 2240, 2576, 2912}));
        QCOMPARE(form.Line1.X1, 3360.0);
        QCOMPARE(form.Line5.X2, 6944.0);
        const QList<double> ledgerY = {3248, 3584, 3920, 1260, 882, 560, 4256,
                                       4284, 3948, 3612, 3276, 560, 882, 1260};
        for (int i = 0; i < 14; ++i) {
            QCOMPARE(form.ZusatzLinie[i].Y1, ledgerY[i]);
            QCOMPARE(form.ZusatzLinie[i].Y2, ledgerY[i]);
            QCOMPARE(form.ZusatzLinie[i].X1, i < 7 ? 4032.0 : 5922.0);
            QCOMPARE(form.ZusatzLinie[i].X2, i < 7 ? 4592.0 : 6482.0);
            QVERIFY(!form.ZusatzLinie[i].Visible);
        }
        QVERIFY(!form.shpNote.Visible);
        QVERIFY(!form.shpNoteFalsch.Visible);
        QCOMPARE(form.shpNote.BackColor, VbColor::White);
        QCOMPARE(form.shpNoteFalsch.BackColor, VbColor::Red);
    }

    void idleState() {
        FakeWorld world;
        Form1 form(world.services());
        QCOMPARE(form.exercise().state(), ExerciseState::Idle);
        for (QPushButton* b : modeAndCommandButtons(form))
            QVERIFY2(b->isEnabled(), qPrintable(b->text()));
        QVERIFY(form.cmdHilfe->isEnabled());
        QVERIFY(!form.cmdÜbungAbbrechen->isEnabled());
        QVERIFY(!form.lblViolinschlüssel->isEnabled());
        QVERIFY(!form.lblBassschlüssel->isEnabled());
        for (int i = 0; i < 15; ++i) {
            QVERIFY(!form.cmdNoteViolin[i]->isEnabled());
            QVERIFY(!form.cmdNoteBass[i]->isEnabled());
        }
        QVERIFY(!form.exercise().tmrVorbei->isActive());
        QVERIFY(!form.exercise().tmrWeg->isActive());
        QVERIFY(!form.exercise().tmrNoteFalsch->isActive());
        QVERIFY(!form.exercise().keyboardPractice());
        QCOMPARE(form.exercise().clef(), QString());
    }

    void runningState_data() {
        QTest::addColumn<QString>("clef");
        QTest::newRow("treble") << "Violin";
        QTest::newRow("bass") << "Bass";
    }
    void runningState() {
        QFETCH(QString, clef);
        FakeWorld world;
        Form1 form(world.services());
        form.exercise().chooseMode(clef, false);
        form.exercise().Start({0, 14, 2000, 400, false});
        QCOMPARE(form.exercise().state(), ExerciseState::Running);
        for (QPushButton* b : modeAndCommandButtons(form))
            QVERIFY2(!b->isEnabled(), qPrintable(b->text()));
        QVERIFY(form.cmdHilfe->isEnabled());
        QVERIFY(form.cmdÜbungAbbrechen->isEnabled());
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(form.cmdNoteViolin[i]->isEnabled(), clef == "Violin");
            QCOMPARE(form.cmdNoteBass[i]->isEnabled(), clef == "Bass");
        }
        QCOMPARE(form.exercise().task(), 1);
        QCOMPARE(form.exercise().errors(), 0);
        QCOMPARE(form.exercise().tmrWeg->interval(), 2000);
        QCOMPARE(form.ProgressBar1->maximum(), 400);
    }

    void closeRequestRefused() {
        FakeWorld world;
        Form1 form(world.services());
        form.show();
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCloseEvent event;
        QCoreApplication::sendEvent(&form, &event);
        QVERIFY(!event.isAccepted());
        QVERIFY(form.isVisible());
    }

    void endeCloses() {
        FakeWorld world;
        Form1 form(world.services());
        form.show();
        form.cmdEnde->click();
        QVERIFY(!form.isVisible());
    }

    void modeButtons_data() {
        QTest::addColumn<QString>("cancelledFirst");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("clef");
        QTest::addColumn<bool>("earTraining");
        QTest::newRow("cmdViolin") << ""
                                   << "cmdViolin"
                                   << "Violin" << false;
        QTest::newRow("cmdBass") << ""
                                 << "cmdBass"
                                 << "Bass" << false;
        QTest::newRow("cmdViolinGehör") << ""
                                        << "cmdViolinGehör"
                                        << "Violin" << true;
        QTest::newRow("cmdBassGehör") << ""
                                      << "cmdBassGehör"
                                      << "Bass" << true;
        QTest::newRow("cmdViolin after a cancelled cmdViolinGehör") << "cmdViolinGehör"
                                                                    << "cmdViolin"
                                                                    << "Violin" << false;
        QTest::newRow("cmdBass after a cancelled cmdViolinGehör") << "cmdViolinGehör"
                                                                  << "cmdBass"
                                                                  << "Bass" << false;
    }
    void modeButtons() {
        QFETCH(QString, cancelledFirst);
        QFETCH(QString, button);
        QFETCH(QString, clef);
        QFETCH(bool, earTraining);
        FakeWorld world;
        Form1 form(world.services());
        QString clefSeen;
        bool earTrainingSeen = false;
        ExerciseState stateSeen = ExerciseState::Idle;
        QWidget* owner = nullptr;
        world.onDialog = [&](QDialog& dialog) {
            clefSeen = form.exercise().clef();
            earTrainingSeen = form.exercise().earTraining();
            stateSeen = form.exercise().state();
            owner = dialog.parentWidget();
            dialog.reject();
        };
        const QMap<QString, QPushButton*> buttons = {{"cmdViolin", form.cmdViolin},
                                                     {"cmdBass", form.cmdBass},
                                                     {"cmdViolinGehör", form.cmdViolinGehör},
                                                     {"cmdBassGehör", form.cmdBassGehör}};
        if (!cancelledFirst.isEmpty())
            buttons.value(cancelledFirst)->click();
        buttons.value(button)->click();
        QCOMPARE(world.dialogsShown, cancelledFirst.isEmpty() ? 1 : 2);
        QCOMPARE(clefSeen, clef);
        QCOMPARE(earTrainingSeen, earTraining);
        QCOMPARE(stateSeen, ExerciseState::Choosing);
        QCOMPARE(owner, &form);
        // Cancelled: back at rest, and no ear training is left for the next mode.
        QCOMPARE(form.exercise().state(), ExerciseState::Idle);
        QVERIFY(!form.exercise().earTraining());
        QVERIFY(form.cmdViolin->isEnabled());
        QVERIFY(!form.cmdÜbungAbbrechen->isEnabled());
    }

    void tabOrderStartsAtViolin() {
        FakeWorld world;
        Form1 form(world.services());
        QCOMPARE(form.cmdViolin->nextInFocusChain(), form.cmdBass);
        QCOMPARE(form.cmdEnde->nextInFocusChain(), form.cmdNoteViolin[0]);
        QCOMPARE(form.cmdNoteViolin[14]->nextInFocusChain(), form.cmdNoteBass[0]);
        QCOMPARE(form.cmdNoteBass[14]->nextInFocusChain(), form.cmdÜbungAbbrechen);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

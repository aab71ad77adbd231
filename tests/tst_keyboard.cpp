// The on-screen keyboard: its keys, answers by real clicks, markings, placement, resizing, closing.
#include "AnswerMarkReading.h"
#include "FakeServices.h"
#include "forms/Form1.h"
#include "keyboard/KeyboardKey.h"
#include "keyboard/frmKeyboard.h"
#include "settings/frmEinstellungen.h"
#include "training/NoteNaming.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

const QColor White(255, 255, 255);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QColor Black(0, 0, 0);
const QColor DarkRed(192, 0, 0);
const QColor DarkGreen(0, 128, 0);

// The white key each black key follows.
constexpr std::array<int, 11> BlackAfter = {0, 1, 2, 4, 5, 7, 8, 9, 11, 12, 14};

frmKeyboard* shownKeyboard() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* keyboard = qobject_cast<frmKeyboard*>(widget); keyboard && keyboard->isVisible())
            return keyboard;
    return nullptr;
}

// An exercise over the whole range, started by "Übung mit Keyboard starten" without time limits.
struct KeyboardExercise {
    FakeWorld world;
    std::unique_ptr<Form1> form;
    QPointer<frmKeyboard> keyboard;

    // A key other than C major starts with altered notes, as the dialog's settings would.
    explicit KeyboardExercise(Clef clef, int asked = 7, int fifths = 0, bool highContrast = false) {
        clearStore();
        if (highContrast)
            world.store->SaveSetting("Darstellung", "HoherKontrast", "1");
        form = std::make_unique<Form1>(world.exercise, world.services());
        form->show();
        ask(asked);
        world.onDialog = [this, clef, fifths](QDialog& dialog) {
            if (fifths != 0) {
                ExerciseSettings settings{.NiedrigsterTon = 0, .HöchsterTon = 14};
                settings.UebenMitKeyboard = true;
                settings.keyFifths = fifths;
                world.exercise.Start(settings);
                return;
            }
            auto& d = static_cast<frmEinstellungen&>(dialog);
            auto& boxes = clef == Clef::Bass ? d.chkTonBass : d.chkTonViolin;
            boxes[0]->click();
            boxes[14]->click();
            d.txtZeitVorbei->setText("0");
            d.txtZeitWeg->setText("0");
            d.cmdKeyboard->click();
        };
        // A tool window is raised when shown, which the offscreen platform cannot do.
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
        (clef == Clef::Bass ? form->cmdBass : form->cmdViolin)->click();
        keyboard = shownKeyboard();
    }
    ~KeyboardExercise() { delete keyboard.data(); }

    void ask(int note) { world.randomValue = (note + 0.5) / 15; }

    // A click the window system delivers: the window picks the child under the point.
    void clickAt(QPoint point) const {
        QTest::mouseClick(keyboard->windowHandle(), Qt::LeftButton, {}, point);
    }
    void clickKey(int index) const {
        const KeyboardKey* key = keyboard->picKeyboard[index];
        clickAt(key->mapTo(keyboard.data(), QPoint(3, key->height() - 8)));
    }

    // The colour seen on the lower left of a white key, clear of its label and the black keys.
    QColor keyColour(const QImage& shot, int index) const {
        const KeyboardKey* key = keyboard->picKeyboard[index];
        return shot.pixelColor(key->mapTo(keyboard.data(), QPoint(3, key->height() - 4)));
    }
    QColor blackColour(const QImage& shot, int index) const {
        const KeyboardKey* key = keyboard->Picture1[index];
        return shot.pixelColor(key->mapTo(keyboard.data(), key->rect().center()));
    }
    // The mark drawn on a key, from the ink on what shows of it inside its border: not its
    // name, nor the black keys lying on a white one.
    SeenMark keyMark(const QImage& shot, const KeyboardKey* key) const {
        QRect inked;
        const QRect inside = key->rect().adjusted(2, 2, -2, -2);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const QPoint point = key->mapTo(keyboard.data(), QPoint(x, y));
                if (keyboard->childAt(point) == key && QColor(shot.pixel(point)).lightness() < 60)
                    inked |= QRect(point, QSize(1, 1));
            }
        return markInBounds(shot, inked);
    }
};

// True when a dark pixel of a caption lies on row y within the given columns.
bool rowHasInk(const QImage& image, const QRect& columns, int y) {
    for (int x = columns.left(); x <= columns.right(); ++x)
        if (qGray(image.pixel(x, y)) < 128)
            return true;
    return false;
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void captionsRiseLeftToRight_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<NamingStyle>("style");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("treble") << Clef::Violin << NamingStyle{}
                                << QStringList{"f",  "g",  "a",  "h",   "c'",  "d'",  "e'", "f'",
                                               "g'", "a'", "h'", "c''", "d''", "e''", "f''"};
        QTest::newRow("bass") << Clef::Bass << NamingStyle{}
                              << QStringList{"F", "G", "A", "H",  "c",  "d",  "e", "f",
                                             "g", "a", "h", "c'", "d'", "e'", "f'"};
        QTest::newRow("treble, English")
            << Clef::Violin << NamingStyle{NoteLetters::English, OctaveStyle::Scientific}
            << QStringList{"F3", "G3", "A3", "B3", "C4", "D4", "E4", "F4",
                           "G4", "A4", "B4", "C5", "D5", "E5", "F5"};
        QTest::newRow("treble, solfège")
            << Clef::Violin << NamingStyle{NoteLetters::Solfege, OctaveStyle::Helmholtz}
            << QStringList{"fa",   "sol", "la",  "si",   "do'",  "re'",  "mi'", "fa'",
                           "sol'", "la'", "si'", "do''", "re''", "mi''", "fa''"};
        QTest::newRow("bass, solfège, scientific")
            << Clef::Bass << NamingStyle{NoteLetters::Solfege, OctaveStyle::Scientific}
            << QStringList{"Fa2",  "Sol2", "La2", "Si2", "Do3", "Re3", "Mi3", "Fa3",
                           "Sol3", "La3",  "Si3", "Do4", "Re4", "Mi4", "Fa4"};
    }
    void captionsRiseLeftToRight() {
        QFETCH(Clef, clef);
        QFETCH(NamingStyle, style);
        QFETCH(QStringList, captions);
        setNamingStyle(style);
        const auto germanAgain = qScopeGuard([] { setNamingStyle({}); });
        KeyboardExercise e(clef);
        QVERIFY(e.keyboard);
        for (int i = 0; i < 15; ++i) {
            const QLabel* label = e.keyboard->lblKeyboard[i];
            QCOMPARE(label->text(), captions[i]);
            if (i > 0)
                QVERIFY(e.keyboard->picKeyboard[i]->x() > e.keyboard->picKeyboard[i - 1]->x());
            // Readable: whole, inside its key and not under a black key.
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
            QVERIFY(label->parentWidget()->rect().contains(label->geometry()));
            QCOMPARE(e.keyboard->childAt(label->mapTo(e.keyboard.data(), label->rect().center())),
                     label);
            // The caption stands at the top of its label, as the layout puts it.
            const QImage key = e.keyboard->picKeyboard[i]->grab().toImage();
            int inkTop = label->y();
            while (inkTop < label->geometry().bottom() &&
                   !rowHasInk(key, label->geometry(), inkTop))
                ++inkTop;
            const QFontMetrics metrics = label->fontMetrics();
            const int wanted = metrics.ascent() + metrics.tightBoundingRect(captions[i]).top();
            QVERIFY2(
                std::abs(inkTop - label->y() - wanted) <= 1,
                qPrintable(QString("%1 px down, not %2").arg(inkTop - label->y()).arg(wanted)));
        }
    }

    void clicksAnswerOnlyOnWhiteKeys_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<int>("fifths");
        QTest::newRow("treble key") << Clef::Violin << "key" << 5 << true << 0;
        QTest::newRow("bass lowest key") << Clef::Bass << "key" << 0 << true << 0;
        QTest::newRow("bass label") << Clef::Bass << "label" << 12 << true << 0;
        QTest::newRow("treble highest label") << Clef::Violin << "label" << 14 << true << 0;
        QTest::newRow("black key") << Clef::Violin << "black" << 3 << false << 0;
        QTest::newRow("key covered on its left") << Clef::Bass << "covered left" << 5 << false << 0;
        QTest::newRow("key covered on its right")
            << Clef::Violin << "covered right" << 14 << false << 0;
        QTest::newRow("G major: treble fis") << Clef::Violin << "black" << 0 << true << 1;
        QTest::newRow("G major: treble fis''") << Clef::Violin << "black" << 10 << true << 1;
        QTest::newRow("D major: bass cis") << Clef::Bass << "black" << 3 << true << 2;
        QTest::newRow("F major: treble b") << Clef::Violin << "black" << 2 << true << -1;
        QTest::newRow("G major: treble key") << Clef::Violin << "key" << 5 << true << 1;
        // Typed in the keyboard window, a letter answers as in the main window.
        QTest::newRow("treble letter typed") << Clef::Violin << "letter" << 5 << true << 0;
        QTest::newRow("bass letter typed") << Clef::Bass << "letter" << 12 << true << 0;
    }
    void clicksAnswerOnlyOnWhiteKeys() {
        QFETCH(Clef, clef);
        QFETCH(QString, target);
        QFETCH(int, index);
        QFETCH(bool, answers);
        QFETCH(int, fifths);
        // Asked is the white key clicked, or for a black key the white key to its right: a click
        // that reaches a white key counts as right. In a key the black key's own note is asked,
        // the white key the key's sign moves onto it.
        int asked = index;
        if (target == "black")
            asked = BlackAfter[index] + (fifths > 0 ? 0 : 1);
        KeyboardExercise e(clef, asked, fifths);
        QVERIFY(QTest::qWaitForWindowExposed(e.keyboard));
        frmKeyboard* kb = e.keyboard;
        if (target == "letter") {
            const char letter = "cdefgah"[clefNote(clef, index)->letter()];
            QTest::keyClick(kb->focusWidget() ? kb->focusWidget() : kb, letter);
            QCOMPARE(e.world.exercise.errors(), 0);
            QCOMPARE(e.world.exercise.task(), 2);
            return;
        }

        QWidget* aimed = nullptr;
        QPoint point;
        if (target == "key") {
            aimed = kb->picKeyboard[index];
            point = QPoint(3, aimed->height() - 8);
        } else if (target == "label") {
            aimed = kb->lblKeyboard[index];
            point = aimed->rect().center();
        } else if (target == "black") {
            aimed = kb->Picture1[index];
            point = aimed->rect().center();
        } else {
            aimed = kb->picKeyboard[index];
            point = QPoint(target == "covered left" ? 2 : aimed->width() - 3, 10);
        }
        point = aimed->mapTo(kb, point);
        QWidget* onTop = kb->childAt(point);
        if (target.startsWith("covered"))
            QVERIFY(std::find(kb->Picture1.begin(), kb->Picture1.end(), onTop) !=
                    kb->Picture1.end());
        else
            QCOMPARE(onTop, aimed);

        e.clickAt(point);
        QCOMPARE(e.world.exercise.errors(), 0);
        QCOMPARE(e.world.exercise.task(), answers ? 2 : 1);
    }

    void wrongAnswerMarksKeysUntilDisplayEnds_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("fifths");
        QTest::addColumn<int>("askedBlack"); // the black key marked as asked, or -1
        QTest::addColumn<bool>("highContrast");
        // What a screen reader reads of the marked keys.
        QTest::addColumn<QString>("chosenName");
        QTest::addColumn<QString>("askedName");
        QTest::newRow("treble") << Clef::Violin << 9 << 2 << 0 << -1 << false
                                << "a, gewählt, falsch"
                                << "a', gesucht";
        QTest::newRow("bass") << Clef::Bass << 0 << 14 << 0 << -1 << false << "f', gewählt, falsch"
                              << "F, gesucht";
        QTest::newRow("G major: fis' asked, f' chosen")
            << Clef::Violin << 7 << 7 << 1 << 5 << false << "f', gewählt, falsch"
            << "fis', gesucht";
        QTest::newRow("high contrast")
            << Clef::Violin << 9 << 2 << 0 << -1 << true << "a, gewählt, falsch"
            << "a', gesucht";
        QTest::newRow("high contrast, G major")
            << Clef::Violin << 7 << 7 << 1 << 5 << true << "f', gewählt, falsch"
            << "fis', gesucht";
    }
    void wrongAnswerMarksKeysUntilDisplayEnds() {
        QFETCH(Clef, clef);
        QFETCH(int, asked);
        QFETCH(int, chosen);
        QFETCH(int, fifths);
        QFETCH(int, askedBlack);
        QFETCH(bool, highContrast);
        QFETCH(QString, chosenName);
        QFETCH(QString, askedName);
        KeyboardExercise e(clef, asked, fifths, highContrast);
        const auto keyNames = [&e] {
            QStringList names;
            for (const KeyboardKey* key : e.keyboard->picKeyboard)
                names.append(key->accessibleName());
            for (const KeyboardKey* key : e.keyboard->Picture1)
                names.append(key->accessibleName());
            return names;
        };
        const QStringList plainNames = keyNames();
        QVERIFY(QTest::qWaitForWindowExposed(e.keyboard));
        e.clickKey(chosen);
        QCOMPARE(e.world.exercise.errors(), 1);
        // High contrast darkens the two as on the main window's buttons.
        const QColor red = highContrast ? DarkRed : Red;
        const QColor green = highContrast ? DarkGreen : Green;
        QImage shot = e.keyboard->grab().toImage();
        for (int i = 0; i < 15; ++i)
            QCOMPARE(e.keyColour(shot, i), i == chosen                    ? red
                                           : i == asked && askedBlack < 0 ? green
                                                                          : White);
        for (int j = 0; j < 11; ++j)
            QCOMPARE(e.blackColour(shot, j), j == askedBlack ? green : Black);
        // By shape too: the chosen key crossed, the asked one ringed.
        for (int i = 0; i < 15; ++i)
            QCOMPARE(e.keyMark(shot, e.keyboard->picKeyboard[i]), i == chosen ? SeenMark::Cross
                                                                  : i == asked && askedBlack < 0
                                                                      ? SeenMark::Ring
                                                                      : SeenMark::None);
        if (askedBlack >= 0)
            QCOMPARE(e.keyMark(shot, e.keyboard->Picture1[askedBlack]), SeenMark::Ring);
        QCOMPARE(e.keyboard->picKeyboard[chosen]->accessibleName(), chosenName);
        QCOMPARE(
            (askedBlack >= 0 ? e.keyboard->Picture1[askedBlack] : e.keyboard->picKeyboard[asked])
                ->accessibleName(),
            askedName);

        e.world.exercise.tmrNoteFalsch_Timer();
        QCOMPARE(e.world.exercise.task(), 2);
        shot = e.keyboard->grab().toImage();
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(e.keyColour(shot, i), White);
            QCOMPARE(e.keyMark(shot, e.keyboard->picKeyboard[i]), SeenMark::None);
        }
        for (int j = 0; j < 11; ++j)
            QCOMPARE(e.blackColour(shot, j), Black);
        QCOMPARE(keyNames(), plainNames);
    }

    void staysAtTheMainWindowsLowerLeft() {
        KeyboardExercise e(Clef::Violin);
        QVERIFY(e.keyboard);
        const auto corner = [&] { return e.keyboard->frameGeometry().bottomLeft(); };
        QCOMPARE(corner(), e.form->frameGeometry().bottomLeft());

        e.form->move(20, 100);
        QTRY_COMPARE(corner(), e.form->frameGeometry().bottomLeft());

        // A taller keyboard is brought back by the main window's next repaint.
        e.keyboard->resize(e.keyboard->width(), e.keyboard->height() * 2);
        QTRY_VERIFY(corner() != e.form->frameGeometry().bottomLeft());
        e.form->repaint();
        QTRY_COMPARE(corner(), e.form->frameGeometry().bottomLeft());
    }

    void keysScaleWithTheWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("doubled") << QSize(1472, 290);
        QTest::newRow("wider only") << QSize(1100, 145);
        QTest::newRow("odd and smaller") << QSize(613, 101);
    }
    void keysScaleWithTheWindow() {
        QFETCH(QSize, size);
        KeyboardExercise e(Clef::Bass);
        frmKeyboard* kb = e.keyboard;
        const QSize design = kb->size();
        const double sx = double(size.width()) / design.width();
        const double sy = double(size.height()) / design.height();
        kb->resize(size);
        QTRY_COMPARE(kb->size(), size);

        const auto near = [](double actual, double expected) {
            return std::abs(actual - expected) <= 1.0;
        };
        for (int i = 0; i < 15; ++i) {
            const QRect key = kb->picKeyboard[i]->geometry();
            QVERIFY(near(key.x(), (240 + 480 * i) / 15.0 * sx));
            QVERIFY(near(key.y(), 240 / 15.0 * sy));
            QVERIFY(near(key.width(), 495 / 15.0 * sx));
            QVERIFY(near(key.height(), 1575 / 15.0 * sy));
        }
        for (std::size_t j = 0; j < BlackAfter.size(); ++j) {
            const QRect black = kb->Picture1[j]->geometry();
            QVERIFY(near(black.height(), 975 / 15.0 * sy));
            if (BlackAfter[j] == 14) {
                QCOMPARE(black.right(), kb->picKeyboard[14]->geometry().right());
                continue;
            }
            // Over the boundary of the two white keys, a quarter of the way along it.
            const int boundary = kb->picKeyboard[BlackAfter[j] + 1]->x();
            QVERIFY(black.left() < boundary && black.right() > boundary);
            QVERIFY(near(boundary - black.left(), 120 / 15.0 * sx));
            QCOMPARE(kb->childAt(black.center()), kb->Picture1[j]);
        }
        const QLabel* label = kb->lblKeyboard[3];
        QCOMPARE(label->font().pointSizeF(), 11.64 * std::min(sx, sy));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }

    void closeBoxMidExerciseOnlyRemovesTheWindow() {
        KeyboardExercise e(Clef::Violin, 4);
        QVERIFY(QTest::qWaitForWindowExposed(e.keyboard));
        // What the close box sends.
        e.keyboard->windowHandle()->close();
        QVERIFY(!shownKeyboard());
        QCOMPARE(e.world.exercise.state(), ExerciseState::Running);

        // Before and after the window is really gone: a wrong answer marks nothing visible.
        e.form->cmdNoteViolin[6]->click();
        QCOMPARE(e.world.exercise.errors(), 1);
        QVERIFY(!shownKeyboard());
        QTRY_VERIFY(e.keyboard.isNull());
        e.world.exercise.tmrNoteFalsch_Timer();
        QCOMPARE(e.world.exercise.task(), 2);
        e.form->cmdNoteViolin[(e.world.exercise.askedIndex() + 1) % 15]->click();
        QCOMPARE(e.world.exercise.errors(), 2);
        e.world.exercise.tmrNoteFalsch_Timer();
        QCOMPARE(e.world.exercise.task(), 3);
        QVERIFY(!shownKeyboard());
    }

    void closesAfterTheResultMessage_data() {
        QTest::addColumn<bool>("abort");
        QTest::newRow("completed") << false;
        QTest::newRow("aborted") << true;
    }
    void closesAfterTheResultMessage() {
        QFETCH(bool, abort);
        KeyboardExercise e(Clef::Bass);
        QVERIFY(QTest::qWaitForWindowExposed(e.keyboard));
        bool shownDuringMessage = false;
        e.world.onMessage = [&](const ShownMessage&) {
            shownDuringMessage = e.keyboard && e.keyboard->isVisible();
        };
        if (abort) {
            e.form->cmdÜbungAbbrechen->click();
        } else {
            for (int task = 1; task <= 25; ++task) {
                e.ask(task % 15);
                e.clickKey(e.world.exercise.askedIndex());
            }
            QCOMPARE(e.world.messages.last().text,
                     QString("Du hast von 25 Aufgaben 0 falsch gemacht."));
        }
        QCOMPARE(e.world.messages.size(), 1);
        QVERIFY(shownDuringMessage);
        QVERIFY(!shownKeyboard());
        QVERIFY(!e.world.exercise.keyboardPractice());
        QTRY_VERIFY(e.keyboard.isNull());
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"

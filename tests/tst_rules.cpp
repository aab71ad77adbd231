// The widget-free rules: note names, the range rule, time texts, the staff ladder, the naming of
// mistakes, MIDI keys and the sequencer ports a keyboard is connected from.
#include "input/MidiNotes.h"
#include "input/SequencerPorts.h"
#include "training/ClefTable.h"
#include "training/KeyNaming.h"
#include "training/MistakeNaming.h"
#include "training/NoteModel.h"
#include "training/NoteNaming.h"
#include "training/Phrase.h"
#include "training/RangeRule.h"
#include "training/StaffPlacement.h"
#include "training/TaskRandom.h"
#include "training/TimeText.h"
#include "training/TypedLetter.h"
#include "training/WeakNotes.h"

#include <QScopeGuard>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <vector>

using MidiMessage = std::vector<unsigned char>;
Q_DECLARE_METATYPE(MidiMessage)

Q_DECLARE_METATYPE(MissedTask)
Q_DECLARE_METATYPE(NamingStyle)
Q_DECLARE_METATYPE(SpelledNote)
Q_DECLARE_METATYPE(TypedNameProgress)

namespace {

const char* nameOf(Clef clef) {
    return clefRow(clef) ? clefRow(clef)->recordKey : "none";
}

// The letter of an index in a clef, also for places beyond its 15 notes.
QChar letterOf(Clef clef, int index) {
    return noteName(clef, (index % 7 + 7) % 7).at(0).toLower();
}

// Whether `chosen` has the letter that the staff place of `asked` has in the other clef.
bool isOtherClefReading(Clef clef, int asked, int chosen) {
    const Clef other = clef == Clef::Bass ? Clef::Violin : Clef::Bass;
    const int otherIndex = staffStep(clef, asked) - staffStep(other, 0);
    return letterOf(clef, chosen) == letterOf(other, otherIndex);
}

// The details of a wrong answer followed by a time-out on the same note, worked out by hand.
QString expectedWrongThenTimeOut(Clef clef, int asked, int chosen) {
    static const QStringList intervals = {
        "Sekunde", "Terz",   "Quarte",   "Quinte",    "Sexte",     "Septime",     "Oktave",
        "None",    "Dezime", "Undezime", "Duodezime", "Tredezime", "Quartdezime", "Doppeloktave"};
    const int distance = std::abs(chosen - asked);
    const bool otherClef = isOtherClefReading(clef, asked, chosen);
    const bool octave = distance == 7 || distance == 14;
    const bool neighbour = distance == 1;
    QString wrong = QString("Aufgabe 1: gesucht %1, gewählt %2 (eine %3 %4")
                        .arg(noteName(clef, asked), noteName(clef, chosen), intervals[distance - 1],
                             chosen > asked ? "zu hoch" : "zu tief");
    if (otherClef)
        wrong += clef == Clef::Bass ? " – wie im Violinschlüssel gelesen"
                                    : " – wie im Bassschlüssel gelesen";
    return wrong + ")\n" +
           QString("Aufgabe 2: gesucht %1 (Zeit vorbei)\n").arg(noteName(clef, asked)) +
           QString("Oktave verwechselt: %1, Nachbarton: %2, anderer Schlüssel: %3, Zeit vorbei: 1, "
                   "sonst: %4")
               .arg(int(!otherClef && octave))
               .arg(int(!otherClef && neighbour))
               .arg(int(otherClef))
               .arg(int(!otherClef && !octave && !neighbour));
}

} // namespace

class RulesTest : public QObject {
    Q_OBJECT

private slots:
    void noteNames_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        const std::pair<Clef, QStringList> clefs[] = {
            {Clef::Violin,
             {"f", "g", "a", "h", "c'", "d'", "e'", "f'", "g'", "a'", "h'", "c''", "d''", "e''",
              "f''"}},
            {Clef::Bass,
             {"F", "G", "A", "H", "c", "d", "e", "f", "g", "a", "h", "c'", "d'", "e'", "f'"}},
            {Clef::Alto,
             {"c", "d", "e", "f", "g", "a", "h", "c'", "d'", "e'", "f'", "g'", "a'", "h'", "c''"}},
            {Clef::Tenor,
             {"A", "H", "c", "d", "e", "f", "g", "a", "h", "c'", "d'", "e'", "f'", "g'", "a'"}}};
        for (const auto& [clef, names] : clefs)
            for (int i = 0; i < 15; ++i)
                QTest::addRow("%s %d", nameOf(clef), i) << clef << i << names[i];
        for (const Clef clef : {Clef::Violin, Clef::Bass, Clef::Alto, Clef::Tenor}) {
            QTest::addRow("%s -1", nameOf(clef)) << clef << -1 << QString();
            QTest::addRow("%s 15", nameOf(clef)) << clef << 15 << QString();
        }
        QTest::newRow("no clef") << Clef::None << 4 << QString();
    }
    void noteNames() {
        QFETCH(Clef, clef);
        QFETCH(int, index);
        QFETCH(QString, name);
        QCOMPARE(noteName(clef, index), name);
    }

    void spelledNames_data() {
        QTest::addColumn<SpelledNote>("note");
        QTest::addColumn<NamingStyle>("style");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pitch");
        const NamingStyle german{NoteLetters::German, OctaveStyle::Helmholtz};
        const NamingStyle germanNumbered{NoteLetters::German, OctaveStyle::Scientific};
        const NamingStyle english{NoteLetters::English, OctaveStyle::Scientific};
        const NamingStyle englishHelmholtz{NoteLetters::English, OctaveStyle::Helmholtz};
        const NamingStyle solfege{NoteLetters::Solfege, OctaveStyle::Helmholtz};
        const NamingStyle solfegeNumbered{NoteLetters::Solfege, OctaveStyle::Scientific};
        const int c4 = 28;
        QTest::newRow("c' German") << SpelledNote{c4, 0} << german << "c'" << 60;
        QTest::newRow("h German") << SpelledNote{c4 - 1, 0} << german << "h" << 59;
        QTest::newRow("b German (B flat)") << SpelledNote{c4 - 1, -1} << german << "b" << 58;
        QTest::newRow("B German great") << SpelledNote{c4 - 8, -1} << german << "B" << 46;
        QTest::newRow("H German great") << SpelledNote{c4 - 8, 0} << german << "H" << 47;
        QTest::newRow("heses'") << SpelledNote{c4 + 6, -2} << german << "heses'" << 69;
        QTest::newRow("cis'") << SpelledNote{c4, 1} << german << "cis'" << 61;
        QTest::newRow("es''") << SpelledNote{c4 + 9, -1} << german << "es''" << 75;
        QTest::newRow("as") << SpelledNote{c4 - 2, -1} << german << "as" << 56;
        QTest::newRow("Es great") << SpelledNote{c4 - 12, -1} << german << "Es" << 39;
        QTest::newRow("eis'") << SpelledNote{c4 + 2, 1} << german << "eis'" << 65;
        QTest::newRow("his' sounds c''") << SpelledNote{c4 + 6, 1} << german << "his'" << 72;
        QTest::newRow("ces'' sounds h'") << SpelledNote{c4 + 7, -1} << german << "ces''" << 71;
        QTest::newRow("fisis") << SpelledNote{c4 - 4, 2} << german << "fisis" << 55;
        QTest::newRow("eses'") << SpelledNote{c4 + 2, -2} << german << "eses'" << 62;
        QTest::newRow("asas'") << SpelledNote{c4 + 5, -2} << german << "asas'" << 67;
        QTest::newRow("contra C") << SpelledNote{c4 - 21, 0} << german << "C," << 24;
        QTest::newRow("German numbered") << SpelledNote{c4, 1} << germanNumbered << "Cis4" << 61;
        QTest::newRow("German numbered b")
            << SpelledNote{c4 - 1, -1} << germanNumbered << "B3" << 58;
        QTest::newRow("English C4") << SpelledNote{c4, 0} << english << "C4" << 60;
        QTest::newRow("English B3") << SpelledNote{c4 - 1, 0} << english << "B3" << 59;
        QTest::newRow("English B flat 3") << SpelledNote{c4 - 1, -1} << english << "B♭3" << 58;
        QTest::newRow("English F sharp 5") << SpelledNote{c4 + 10, 1} << english << "F♯5" << 78;
        QTest::newRow("English B sharp 3") << SpelledNote{c4 - 1, 1} << english << "B♯3" << 60;
        QTest::newRow("English Helmholtz")
            << SpelledNote{c4 + 6, -1} << englishHelmholtz << "b♭'" << 70;
        QTest::newRow("English Helmholtz great")
            << SpelledNote{c4 - 8, 0} << englishHelmholtz << "B" << 47;
        QTest::newRow("solfege do'") << SpelledNote{c4, 0} << solfege << "do'" << 60;
        QTest::newRow("solfege si") << SpelledNote{c4 - 1, 0} << solfege << "si" << 59;
        QTest::newRow("solfege Sol great") << SpelledNote{c4 - 10, 0} << solfege << "Sol" << 43;
        QTest::newRow("solfege mi flat") << SpelledNote{c4 + 2, -1} << solfege << "mi♭'" << 63;
        QTest::newRow("solfege numbered") << SpelledNote{c4, 1} << solfegeNumbered << "Do♯4" << 61;
        QTest::newRow("triple sharp") << SpelledNote{c4, 3} << german << QString() << 63;
    }
    void spelledNames() {
        QFETCH(SpelledNote, note);
        QFETCH(NamingStyle, style);
        QFETCH(QString, name);
        QFETCH(int, pitch);
        QCOMPARE(noteName(note, style), name);
        QCOMPARE(note.midiPitch(), pitch);
    }

    void rangeRule_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::addColumn<QString>("message");
        QTest::newRow("none treble")
            << Clef::Violin << QList<int>{} << -1 << -1
            << "Im Violinschlüssel muss ein tiefster UND ein höchster Ton ausgewählt werden.";
        QTest::newRow("none bass")
            << Clef::Bass << QList<int>{} << -1 << -1
            << "Im Bassschlüssel muss ein tiefster UND ein höchster Ton ausgewählt werden.";
        QTest::newRow("one treble")
            << Clef::Violin << QList<int>{7} << -1 << -1
            << "Im Violinschlüssel muss ein tiefster und ein höchster Ton ausgewählt werden.";
        QTest::newRow("one bass")
            << Clef::Bass << QList<int>{14} << -1 << -1
            << "Im Bassschlüssel muss ein tiefster und ein höchster Ton ausgewählt werden.";
        QTest::newRow("between ignored")
            << Clef::Violin << QList<int>{2, 5, 9} << 2 << 9 << QString();
        QTest::newRow("full range") << Clef::Bass << QList<int>{0, 14} << 0 << 14 << QString();
        QTest::newRow("neighbours") << Clef::Bass << QList<int>{3, 4} << 3 << 4 << QString();
    }
    void rangeRule() {
        QFETCH(Clef, clef);
        QFETCH(QList<int>, ticked);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        QFETCH(QString, message);
        std::array<bool, 15> boxes{};
        for (int i : ticked)
            boxes[i] = true;
        const auto result = rangeFromTicks(boxes, clef);
        if (message.isEmpty()) {
            QVERIFY(std::holds_alternative<NoteRange>(result));
            QCOMPARE(std::get<NoteRange>(result).lowest, lowest);
            QCOMPARE(std::get<NoteRange>(result).highest, highest);
        } else {
            QVERIFY(std::holds_alternative<QString>(result));
            QCOMPARE(std::get<QString>(result), message);
        }
    }

    // A range kept in the settings; whatever is not a range of two notes reads as all 15.
    void storedRange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::newRow("kept") << "3-9" << 3 << 9;
        QTest::newRow("neighbours") << "13-14" << 13 << 14;
        QTest::newRow("missing") << "" << 0 << 14;
        QTest::newRow("one note") << "5-5" << 0 << 14;
        QTest::newRow("upside down") << "9-3" << 0 << 14;
        QTest::newRow("beyond the clef") << "0-15" << 0 << 14;
        QTest::newRow("below the clef") << "-1-4" << 0 << 14;
        QTest::newRow("junk") << "c-g" << 0 << 14;
    }
    void storedRange() {
        QFETCH(QString, text);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        const NoteRange range = rangeFromText(text);
        QCOMPARE(range.lowest, lowest);
        QCOMPARE(range.highest, highest);
        if (!text.isEmpty() && lowest == 3)
            QCOMPARE(rangeText(range), text);
    }

    void timeText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("factor");
        QTest::addColumn<int>("expected"); // -1: refused
        QTest::newRow("2 s in ms") << "2" << 1000 << 2000;
        QTest::newRow("4 s in 1/100") << "4" << 100 << 400;
        QTest::newRow("9 s in ms") << "9" << 1000 << 9000;
        QTest::newRow("tie to even down") << "0,125" << 100 << 12;
        QTest::newRow("tie to even up") << "0,375" << 100 << 38;
        // Ties on the decimal number, which a binary double misses on either side.
        QTest::newRow("decimal tie down") << "0,545" << 100 << 54;
        QTest::newRow("decimal tie up") << "1,015" << 100 << 102;
        QTest::newRow("just past a tie") << "0,12500000000000000001" << 100 << 13;
        QTest::newRow("just short of a tie") << "0,37499999999999999999" << 100 << 37;
        QTest::newRow("one and a half") << "1,5" << 1000 << 1500;
        QTest::newRow("zero") << "0" << 100 << 0;
        QTest::newRow("surrounding spaces") << " 3 " << 100 << 300;
        QTest::newRow("largest ms") << "32,767" << 1000 << 32767;
        QTest::newRow("ms too large") << "33" << 1000 << -1;
        QTest::newRow("largest 1/100") << "327,67" << 100 << 32767;
        QTest::newRow("1/100 too large") << "99999999" << 100 << -1;
        QTest::newRow("empty") << "" << 100 << -1;
        QTest::newRow("letters") << "abc" << 100 << -1;
        QTest::newRow("negative") << "-1" << 1000 << -1;
        QTest::newRow("infinity") << "inf" << 100 << -1;
        QTest::newRow("not a number") << "nan" << 100 << -1;
    }
    void timeText() {
        QFETCH(QString, text);
        QFETCH(int, factor);
        QFETCH(int, expected);
        const auto converted = convertTimeText(text, factor, QLocale(QLocale::German));
        if (expected < 0)
            QVERIFY(!converted.has_value());
        else
            QCOMPARE(converted.value_or(-1), expected);
    }

    void weakNoteWeight_data() {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("missed");
        QTest::addColumn<double>("weight");
        QTest::newRow("never asked") << 0 << 0 << 3.0;
        QTest::newRow("missed every time, asked 4 times") << 4 << 4 << 3.0;
        QTest::newRow("asked 5 times, never missed") << 5 << 0 << 1.0;
        QTest::newRow("asked 5 times, always missed") << 5 << 5 << 5.0;
        QTest::newRow("a quarter missed") << 200 << 50 << 2.0;
    }
    void weakNoteWeight() {
        QFETCH(int, asked);
        QFETCH(int, missed);
        QFETCH(double, weight);
        QCOMPARE(::weakNoteWeight({asked, missed}), weight);
    }

    // A typed letter names its place nearest the asked note among the clef's; the German b is
    // h flat, the English b a natural; solfège is typed in English letters.
    void typedLetters_data() {
        QTest::addColumn<NoteLetters>("letters");
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("askedIndex");
        QTest::addColumn<QChar>("typed");
        QTest::addColumn<int>("index"); // -1: no note
        QTest::addColumn<int>("alteration");
        const auto G = NoteLetters::German, E = NoteLetters::English, S = NoteLetters::Solfege;
        QTest::newRow("German h below the asked c''")
            << G << Clef::Violin << 11 << QChar('h') << 10 << 0;
        QTest::newRow("German b is h flat") << G << Clef::Violin << 11 << QChar('b') << 10 << -1;
        QTest::newRow("English b is a natural") << E << Clef::Violin << 11 << QChar('b') << 10 << 0;
        QTest::newRow("English has no h") << E << Clef::Violin << 11 << QChar('h') << -1 << 0;
        QTest::newRow("solfège typed as C") << S << Clef::Violin << 3 << QChar('C') << 4 << 0;
        QTest::newRow("at the clef's lowest, e above")
            << G << Clef::Bass << 0 << QChar('e') << 6 << 0;
        QTest::newRow("at the clef's highest, g below")
            << G << Clef::Violin << 14 << QChar('g') << 8 << 0;
        QTest::newRow("alto: the nearer of two a") << G << Clef::Alto << 9 << QChar('a') << 12 << 0;
        QTest::newRow("a digit names nothing") << G << Clef::Violin << 7 << QChar('4') << -1 << 0;
    }
    void typedLetters() {
        QFETCH(NoteLetters, letters);
        QFETCH(Clef, clef);
        QFETCH(int, askedIndex);
        QFETCH(QChar, typed);
        QFETCH(int, index);
        QFETCH(int, alteration);
        const std::optional<TypedNote> note =
            noteOfTypedLetter(typed, letters, clef, *clefNote(clef, askedIndex));
        QCOMPARE(note.has_value(), index >= 0);
        if (!note)
            return;
        QCOMPARE(note->index, index);
        QCOMPARE(note->alteration.value_or(0), alteration);
    }

    // Names typed with their octave: open while a further mark could still name another of the
    // clef's notes, complete once they name one, nothing for a name outside the clef.
    void typedNames_data() {
        QTest::addColumn<NamingStyle>("style");
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("finished");
        QTest::addColumn<TypedNameProgress>("progress");
        QTest::addColumn<int>("index"); // -1: no note
        QTest::addColumn<int>("alteration");
        const NamingStyle H{NoteLetters::German, OctaveStyle::Helmholtz};
        const NamingStyle Sci{NoteLetters::English, OctaveStyle::Scientific};
        const auto Open = TypedNameProgress::Open, Complete = TypedNameProgress::Complete,
                   NoNote = TypedNameProgress::NoNote;
        QTest::newRow("c waits for its mark")
            << H << Clef::Violin << "c" << false << Open << -1 << 0;
        QTest::newRow("c' waits, c'' is in the clef too")
            << H << Clef::Violin << "c'" << false << Open << 4 << 0;
        QTest::newRow("c' confirmed") << H << Clef::Violin << "c'" << true << Complete << 4 << 0;
        QTest::newRow("c'' is the clef's last c")
            << H << Clef::Violin << "c''" << false << Complete << 11 << 0;
        QTest::newRow("c1 is c'") << H << Clef::Violin << "c1" << false << Complete << 4 << 0;
        QTest::newRow("small g confirmed")
            << H << Clef::Violin << "g" << true << Complete << 1 << 0;
        QTest::newRow("German b' is h' flat")
            << H << Clef::Violin << "b'" << false << Complete << 10 << -1;
        QTest::newRow("great C below the treble")
            << H << Clef::Violin << "C" << false << NoNote << -1 << 0;
        QTest::newRow("great F opens the bass")
            << H << Clef::Bass << "F" << false << Complete << 0 << 0;
        QTest::newRow("C4 is c'") << Sci << Clef::Violin << "C4" << false << Complete << 4 << 0;
        QTest::newRow("scientific names wait for the digit")
            << Sci << Clef::Violin << "c" << false << Open << -1 << 0;
        QTest::newRow("no digit, confirmed")
            << Sci << Clef::Violin << "c" << true << NoNote << -1 << 0;
        QTest::newRow("C7 above the clef")
            << Sci << Clef::Violin << "C7" << false << NoNote << -1 << 0;
        QTest::newRow("junk after the letter")
            << H << Clef::Violin << "cx" << false << NoNote << -1 << 0;
    }
    void typedNames() {
        QFETCH(NamingStyle, style);
        QFETCH(Clef, clef);
        QFETCH(QString, typed);
        QFETCH(bool, finished);
        QFETCH(TypedNameProgress, progress);
        QFETCH(int, index);
        QFETCH(int, alteration);
        const TypedName read = readTypedName(typed, style, clef, finished);
        QCOMPARE(read.progress, progress);
        QCOMPARE(read.note.has_value(), index >= 0);
        if (!read.note)
            return;
        QCOMPARE(read.note->index, index);
        QCOMPARE(read.note->alteration.value_or(0), alteration);
    }

    // Many phrases from a seeded generator: every note in the range, no move wider than a sixth,
    // and the moves shared as melodies share them (steps most, then thirds, then leaps); a
    // weighted place drawn more often than its unweighted mirror image.
    void phrases_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::addColumn<QList<double>>("weights");
        QTest::addColumn<bool>("checkShares");
        QTest::addColumn<bool>("clockSeeded"); // the program's own source, not a seeded one
        QTest::newRow("eight over the whole range")
            << 8 << 0 << 14 << QList<double>{} << true << false;
        QTest::newRow("four in the middle octave")
            << 4 << 4 << 11 << QList<double>{} << true << false;
        QTest::newRow("eight within three places")
            << 8 << 5 << 7 << QList<double>{} << false << false;
        QTest::newRow("four on one place") << 4 << 9 << 9 << QList<double>{} << false << false;
        QTest::newRow("eight at the range's top, the top weak")
            << 8 << 10 << 14 << QList<double>{1, 1, 1, 1, 5} << false << false;
        QTest::newRow("a weak place in the middle")
            << 8 << 0 << 14 << QList<double>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5, 1, 1, 1} << false
            << false;
        QTest::newRow("eight from the clock-seeded source")
            << 8 << 0 << 14 << QList<double>{} << true << true;
    }
    void phrases() {
        QFETCH(int, length);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        QFETCH(QList<double>, weights);
        QFETCH(bool, checkShares);
        QFETCH(bool, clockSeeded);
        std::mt19937 generator(20261210);
        std::uniform_real_distribution<double> uniform(0, 1);
        const std::function<double()> random = [&] {
            return clockSeeded ? timeSeededRandom() : uniform(generator);
        };
        const std::vector<double> weightList(weights.begin(), weights.end());
        std::vector<int> drawn(15);
        std::vector<int> moves(15);
        int allMoves = 0;
        for (int n = 0; n < 2000; ++n) {
            const std::vector<int> phrase = drawPhrase(length, lowest, highest, weightList, random);
            QCOMPARE(int(phrase.size()), length);
            for (std::size_t i = 0; i < phrase.size(); ++i) {
                QVERIFY2(phrase[i] >= lowest && phrase[i] <= highest,
                         qPrintable(QStringLiteral("place %1 drawn").arg(phrase[i])));
                ++drawn[std::size_t(phrase[i])];
                if (i == 0)
                    continue;
                const int move = std::abs(phrase[i] - phrase[i - 1]);
                QVERIFY2(move <= 5, qPrintable(QStringLiteral("a move of %1 places").arg(move)));
                ++moves[std::size_t(move)];
                ++allMoves;
            }
        }
        if (checkShares) {
            const auto share = [&](int from, int to) {
                int count = 0;
                for (int move = from; move <= to; ++move)
                    count += moves[std::size_t(move)];
                return double(count) / allMoves;
            };
            QVERIFY2(share(1, 1) > 0.45 && share(1, 1) < 0.7,
                     qPrintable(QString::number(share(1, 1))));
            QVERIFY2(share(2, 2) > 0.15 && share(2, 2) < share(1, 1),
                     qPrintable(QString::number(share(2, 2))));
            QVERIFY2(share(3, 5) > 0.03 && share(3, 5) < share(2, 2),
                     qPrintable(QString::number(share(3, 5))));
            QVERIFY2(share(0, 0) > 0.01 && share(0, 0) < 0.1,
                     qPrintable(QString::number(share(0, 0))));
        }
        const auto heaviest = std::max_element(weights.begin(), weights.end());
        if (heaviest != weights.end()) {
            const int weak = lowest + int(heaviest - weights.begin());
            const int mirror =
                highest - (weak - lowest) == weak ? weak - 1 : highest - (weak - lowest);
            QVERIFY2(drawn[std::size_t(weak)] > 2 * drawn[std::size_t(mirror)],
                     qPrintable(QStringLiteral("the weak place %1 drawn %2 times, %3 drawn %4")
                                    .arg(weak)
                                    .arg(drawn[std::size_t(weak)])
                                    .arg(mirror)
                                    .arg(drawn[std::size_t(mirror)])));
        }
    }

    // The program's chance drawn again and again within a tick of the clock, as a phrase's
    // notes are drawn: every number new, each in [0, 1).
    void timeSeededDrawsDiffer() {
        std::set<double> drawn;
        for (int n = 0; n < 1000; ++n) {
            const double number = timeSeededRandom();
            QVERIFY(number >= 0 && number < 1);
            drawn.insert(number);
        }
        QVERIFY2(
            drawn.size() > 990,
            qPrintable(QStringLiteral("%1 different numbers in 1000 draws").arg(drawn.size())));
    }

    void timeTextFollowsLocale() {
        QCOMPARE(convertTimeText("1.5", 1000, QLocale(QLocale::English)).value_or(-1), 1500);
        QCOMPARE(convertTimeText("1,5", 1000, QLocale(QLocale::German)).value_or(-1), 1500);
    }

    void mistakeDetails_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<QList<MissedTask>>("missed");
        QTest::addColumn<QString>("details");
        QTest::newRow("none") << Clef::Violin << QList<MissedTask>{} << QString();
        QTest::newRow("one wrong") << Clef::Violin << QList<MissedTask>{{3, 11, 9}}
                                   << "Aufgabe 3: gesucht c'', gewählt a' (eine Terz zu tief)";
        QTest::newRow("one timed out") << Clef::Bass << QList<MissedTask>{{7, 6, std::nullopt}}
                                       << "Aufgabe 7: gesucht e (Zeit vorbei)";
        QTest::newRow("bass read as treble")
            << Clef::Bass << QList<MissedTask>{{5, 1, 6}}
            << "Aufgabe 5: gesucht G, gewählt e (eine Sexte zu hoch – wie im Violinschlüssel "
               "gelesen)";
        QTest::newRow("alto read as treble")
            << Clef::Alto << QList<MissedTask>{{4, 7, 13}}
            << "Aufgabe 4: gesucht c', gewählt h' (eine Septime zu hoch – wie im "
               "Violinschlüssel gelesen)";
        QTest::newRow("alto read as bass")
            << Clef::Alto << QList<MissedTask>{{6, 8, 2}}
            << "Aufgabe 6: gesucht d', gewählt e (eine Septime zu tief – wie im Bassschlüssel "
               "gelesen)";
        QTest::newRow("tenor read as treble, two lines")
            << Clef::Tenor << QList<MissedTask>{{8, 6, 14}, {9, 6, 7}}
            << "Aufgabe 8: gesucht g, gewählt a' (eine None zu hoch – wie im Violinschlüssel "
               "gelesen)\n"
               "Aufgabe 9: gesucht g, gewählt a (eine Sekunde zu hoch)\n"
               "Oktave verwechselt: 0, Nachbarton: 1, anderer Schlüssel: 1, Zeit vorbei: 0, "
               "sonst: 0";
        QTest::newRow("tenor read as bass")
            << Clef::Tenor << QList<MissedTask>{{2, 9, 5}}
            << "Aufgabe 2: gesucht c', gewählt f (eine Quinte zu tief – wie im Bassschlüssel "
               "gelesen)";
        QTest::newRow("every kind")
            << Clef::Violin
            << QList<MissedTask>{{2, 4, 11}, {4, 5, 6}, {9, 9, 8}, {12, 7, 9}, {20, 3, {}}}
            << "Aufgabe 2: gesucht c', gewählt c'' (eine Oktave zu hoch)\n"
               "Aufgabe 4: gesucht d', gewählt e' (eine Sekunde zu hoch)\n"
               "Aufgabe 9: gesucht a', gewählt g' (eine Sekunde zu tief)\n"
               "Aufgabe 12: gesucht f', gewählt a' (eine Terz zu hoch – wie im Bassschlüssel "
               "gelesen)\n"
               "Aufgabe 20: gesucht h (Zeit vorbei)\n"
               "Oktave verwechselt: 1, Nachbarton: 2, anderer Schlüssel: 1, Zeit vorbei: 1, "
               "sonst: 0";
        // Every wrong answer in both clefs; one wrong sign would hide in any of them.
        for (const Clef clef : {Clef::Violin, Clef::Bass}) {
            for (int asked = 0; asked < 15; ++asked) {
                for (int chosen = 0; chosen < 15; ++chosen) {
                    if (chosen == asked)
                        continue;
                    QTest::addRow("%s %d as %d", nameOf(clef), asked, chosen)
                        << clef << QList<MissedTask>{{1, asked, chosen}, {2, asked, {}}}
                        << expectedWrongThenTimeOut(clef, asked, chosen);
                }
            }
        }
    }
    void mistakeDetails() {
        QFETCH(Clef, clef);
        QFETCH(QList<MissedTask>, missed);
        QFETCH(QString, details);
        QCOMPARE(::mistakeDetails(clef, missed), details);
    }

    // A MIDI message in a clef: the note index it answers with, -1 for none.
    void midiKeys_data() {
        QTest::addColumn<MidiMessage>("message");
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("index");
        const int treble[15] = {53, 55, 57, 59, 60, 62, 64, 65, 67, 69, 71, 72, 74, 76, 77};
        const int bass[15] = {41, 43, 45, 47, 48, 50, 52, 53, 55, 57, 59, 60, 62, 64, 65};
        for (int i = 0; i < 15; ++i) {
            QTest::addRow("Violin %d", i)
                << MidiMessage{0x90, (unsigned char)treble[i], 100} << Clef::Violin << i;
            QTest::addRow("Bass %d", i)
                << MidiMessage{0x90, (unsigned char)bass[i], 100} << Clef::Bass << i;
        }
        const int alto[15] = {48, 50, 52, 53, 55, 57, 59, 60, 62, 64, 65, 67, 69, 71, 72};
        const int tenor[15] = {45, 47, 48, 50, 52, 53, 55, 57, 59, 60, 62, 64, 65, 67, 69};
        for (int i = 0; i < 15; ++i) {
            QTest::addRow("Alto %d", i)
                << MidiMessage{0x90, (unsigned char)alto[i], 100} << Clef::Alto << i;
            QTest::addRow("Tenor %d", i)
                << MidiMessage{0x90, (unsigned char)tenor[i], 100} << Clef::Tenor << i;
        }
        QTest::newRow("alto c'' above bass f'") << MidiMessage{0x90, 72, 100} << Clef::Alto << 14;
        QTest::newRow("below alto") << MidiMessage{0x90, 47, 100} << Clef::Alto << -1;
        QTest::newRow("above alto") << MidiMessage{0x90, 74, 100} << Clef::Alto << -1;
        QTest::newRow("below tenor") << MidiMessage{0x90, 43, 100} << Clef::Tenor << -1;
        QTest::newRow("above tenor") << MidiMessage{0x90, 71, 100} << Clef::Tenor << -1;
        QTest::newRow("black key c#' tenor") << MidiMessage{0x90, 61, 100} << Clef::Tenor << -1;
        QTest::newRow("black key f# treble") << MidiMessage{0x90, 54, 100} << Clef::Violin << -1;
        QTest::newRow("black key c#' treble") << MidiMessage{0x90, 61, 100} << Clef::Violin << -1;
        QTest::newRow("black key B bass") << MidiMessage{0x90, 46, 100} << Clef::Bass << -1;
        QTest::newRow("below treble") << MidiMessage{0x90, 52, 100} << Clef::Violin << -1;
        QTest::newRow("above treble") << MidiMessage{0x90, 79, 100} << Clef::Violin << -1;
        QTest::newRow("bass F in treble") << MidiMessage{0x90, 41, 100} << Clef::Violin << -1;
        QTest::newRow("below bass") << MidiMessage{0x90, 40, 100} << Clef::Bass << -1;
        QTest::newRow("treble f'' in bass") << MidiMessage{0x90, 77, 100} << Clef::Bass << -1;
        QTest::newRow("no clef") << MidiMessage{0x90, 60, 100} << Clef::None << -1;
        QTest::newRow("velocity 0 is a release") << MidiMessage{0x90, 60, 0} << Clef::Violin << -1;
        QTest::newRow("softest") << MidiMessage{0x90, 60, 1} << Clef::Violin << 4;
        QTest::newRow("channel 2") << MidiMessage{0x91, 60, 64} << Clef::Violin << 4;
        QTest::newRow("channel 10") << MidiMessage{0x99, 48, 64} << Clef::Bass << 4;
        QTest::newRow("channel 16") << MidiMessage{0x9F, 77, 64} << Clef::Violin << 14;
        QTest::newRow("note-off") << MidiMessage{0x80, 60, 64} << Clef::Violin << -1;
        QTest::newRow("key pressure") << MidiMessage{0xA0, 60, 64} << Clef::Violin << -1;
        QTest::newRow("controller") << MidiMessage{0xB0, 60, 64} << Clef::Violin << -1;
        QTest::newRow("program change") << MidiMessage{0xC0, 60} << Clef::Violin << -1;
        QTest::newRow("channel pressure") << MidiMessage{0xD0, 60} << Clef::Violin << -1;
        QTest::newRow("pitch bend") << MidiMessage{0xE0, 60, 64} << Clef::Violin << -1;
        QTest::newRow("song position") << MidiMessage{0xF2, 60, 64} << Clef::Violin << -1;
        QTest::newRow("sysex") << MidiMessage{0xF0, 0x7E, 60, 64, 0xF7} << Clef::Violin << -1;
        QTest::newRow("clock") << MidiMessage{0xF8} << Clef::Violin << -1;
        QTest::newRow("empty") << MidiMessage{} << Clef::Violin << -1;
        QTest::newRow("cut short") << MidiMessage{0x90, 60} << Clef::Violin << -1;
        QTest::newRow("too long") << MidiMessage{0x90, 60, 64, 0} << Clef::Violin << -1;
        QTest::newRow("key not a data byte") << MidiMessage{0x90, 0xBC, 64} << Clef::Violin << -1;
        QTest::newRow("velocity not a data byte")
            << MidiMessage{0x90, 60, 0x80} << Clef::Violin << -1;
    }
    void midiKeys() {
        QFETCH(MidiMessage, message);
        QFETCH(Clef, clef);
        QFETCH(int, index);
        const std::optional<int> pitch = pressedPitch(message);
        const std::optional<int> answer = pitch ? noteIndexOfPitch(clef, *pitch) : std::nullopt;
        QCOMPARE(answer.value_or(-1), index);
    }

    // The ALSA sequencer's ports as a machine with two keyboards shows them (the test machines
    // have no sequencer): which ones the program connects to its input.
    void sequencerSources() {
        const auto port = [](int client, int number, const char* clientName, bool kernel,
                             bool readable, int pid = 0) {
            SequencerPort p;
            p.address = {client, number};
            p.clientName = clientName;
            p.portName = "port";
            p.kernelClient = kernel;
            p.pid = pid;
            p.readable = readable;
            p.writable = true;
            return p;
        };
        std::vector<SequencerPort> ports = {
            port(0, 0, "System", true, true),              // timer
            port(0, 1, "System", true, true),              // announcements
            port(14, 0, "Midi Through", true, true),       // the kernel's loop
            port(20, 0, "USB Keystation", true, true),     // a keyboard
            port(24, 0, "Digital Piano", true, true),      // another, two ports
            port(24, 1, "Digital Piano", true, true),      //
            port(28, 0, "Synth Out Only", true, false),    // takes MIDI, sends none
            port(128, 0, "Virelo", false, true, 4242),     // the program itself
            port(129, 0, "Sequencer App", false, true, 7), // a program's output
        };
        ports[7].portName = "Eingang";
        const std::vector<SequencerAddress> expected = {{20, 0}, {24, 0}, {24, 1}};
        QVERIFY(hardwareSources(ports) == expected);

        // The own input: of a program's client of this process, by its name, open to others.
        QVERIFY(ownInput(ports, 4242, "Eingang") == (SequencerAddress{128, 0}));
        QVERIFY(!ownInput(ports, 4243, "Eingang"));
        QVERIFY(!ownInput(ports, 4242, "Ausgang"));
        ports[7].writable = false;
        QVERIFY(!ownInput(ports, 4242, "Eingang"));
        ports[7].writable = true;
        ports[7].kernelClient = true;
        QVERIFY(!ownInput(ports, 4242, "Eingang"));
    }

    // Each clef's 15 notes: their pitches, where they stand, and the note its sign's line names.
    void clefTable_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("lowestPitch");
        QTest::addColumn<int>("firstStaffStep");
        QTest::addColumn<QString>("lineNote");
        QTest::newRow("Violin") << Clef::Violin << 53 << 0 << "g'";
        QTest::newRow("Bass") << Clef::Bass << 41 << 5 << "f";
        QTest::newRow("Alto") << Clef::Alto << 48 << 3 << "c'";
        QTest::newRow("Tenor") << Clef::Tenor << 45 << 3 << "c'";
    }
    void clefTable() {
        QFETCH(Clef, clef);
        QFETCH(int, lowestPitch);
        QFETCH(int, firstStaffStep);
        QFETCH(QString, lineNote);
        constexpr int whiteKeySemitones[7] = {2, 2, 1, 2, 2, 2, 1}; // from C
        int pitch = lowestPitch;
        for (int i = 0; i < 15; ++i) {
            const SpelledNote note = *clefNote(clef, i);
            QCOMPARE(note.midiPitch(), pitch);
            QCOMPARE(staffStep(clef, i), firstStaffStep + i);
            QCOMPARE(noteOnStaff(clef, firstStaffStep + i), note);
            QCOMPARE(noteOnStaff(clef, firstStaffStep + i, 1)->midiPitch(), pitch + 1);
            QCOMPARE(clefIndexOf(clef, note).value_or(-1), i);
            pitch += whiteKeySemitones[note.letter()];
        }
        const ClefRow& row = *clefRow(clef);
        // The sign's line: rung 7 is the lowest staff line, each line two steps up.
        const int lineStaffStep = 2 * (10 - 7) + 2 * (row.glyphLine - 1);
        QCOMPARE(noteName(*noteOnStaff(clef, lineStaffStep), {}), lineNote);
        QCOMPARE(clefOfRecordKey(QString::fromLatin1(row.recordKey)), clef);
    }

    // Key signatures: sharps f c g d a e h a fifth up or a fourth down each, flats the other way
    // round, every sign on the staff or the space just above or below it.
    void signaturePositions_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<QStringList>("sharps");
        QTest::addColumn<QStringList>("flats");
        QTest::newRow("Violin") << Clef::Violin
                                << QStringList{"F5", "C5", "G5", "D5", "A4", "E5", "B4"}
                                << QStringList{"B4", "E5", "A4", "D5", "G4", "C5", "F4"};
        QTest::newRow("Bass") << Clef::Bass << QStringList{"F3", "C3", "G3", "D3", "A2", "E3", "B2"}
                              << QStringList{"B2", "E3", "A2", "D3", "G2", "C3", "F2"};
        QTest::newRow("Alto") << Clef::Alto << QStringList{"F4", "C4", "G4", "D4", "A3", "E4", "B3"}
                              << QStringList{"B3", "E4", "A3", "D4", "G3", "C4", "F3"};
        QTest::newRow("Tenor") << Clef::Tenor
                               << QStringList{"F3", "C4", "G3", "D4", "A3", "E4", "B3"}
                               << QStringList{"B3", "E4", "A3", "D4", "G3", "C4", "F3"};
    }
    void signaturePositions() {
        QFETCH(Clef, clef);
        QFETCH(QStringList, sharps);
        QFETCH(QStringList, flats);
        const ClefRow& row = *clefRow(clef);
        const NamingStyle scientific{NoteLetters::English, OctaveStyle::Scientific};
        const QString sharpOrder = "FCGDAEB";
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(noteName(SpelledNote{row.sharps[i], 0}, scientific), sharps[i]);
            QCOMPARE(noteName(SpelledNote{row.flats[i], 0}, scientific), flats[i]);
            QCOMPARE(sharps[i].at(0), sharpOrder.at(i));
            QCOMPARE(flats[i].at(0), sharpOrder.at(6 - i));
            for (const int step : {row.sharps[i], row.flats[i]}) {
                const int onStaff = step - ladderBaseStep(row);
                QVERIFY2(onStaff >= 5 && onStaff <= 15, qPrintable(sharps[i]));
            }
            if (i > 0) {
                const int sharpMove = row.sharps[i] - row.sharps[i - 1];
                const int flatMove = row.flats[i] - row.flats[i - 1];
                QVERIFY(sharpMove == 4 || sharpMove == -3);
                QVERIFY(flatMove == 3 || flatMove == -4);
            }
        }
    }

    // Every key's scale as its signature spells it: the circle of fifths, each scale a major
    // one (whole, whole, half, whole, whole, whole, half), and in every clef the signature's
    // signs stand on exactly the letters the key alters.
    void keySpelling_data() {
        QTest::addColumn<int>("fifths");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("scale");
        QTest::newRow("C") << 0 << "C-Dur / a-Moll (keine Vorzeichen)"
                           << "c d e f g a h";
        QTest::newRow("G") << 1 << "G-Dur / e-Moll (1 ♯)"
                           << "g a h c d e fis";
        QTest::newRow("D") << 2 << "D-Dur / h-Moll (2 ♯)"
                           << "d e fis g a h cis";
        QTest::newRow("A") << 3 << "A-Dur / fis-Moll (3 ♯)"
                           << "a h cis d e fis gis";
        QTest::newRow("E") << 4 << "E-Dur / cis-Moll (4 ♯)"
                           << "e fis gis a h cis dis";
        QTest::newRow("H") << 5 << "H-Dur / gis-Moll (5 ♯)"
                           << "h cis dis e fis gis ais";
        QTest::newRow("Fis") << 6 << "Fis-Dur / dis-Moll (6 ♯)"
                             << "fis gis ais h cis dis eis";
        QTest::newRow("Cis") << 7 << "Cis-Dur / ais-Moll (7 ♯)"
                             << "cis dis eis fis gis ais his";
        QTest::newRow("F") << -1 << "F-Dur / d-Moll (1 ♭)"
                           << "f g a b c d e";
        QTest::newRow("B") << -2 << "B-Dur / g-Moll (2 ♭)"
                           << "b c d es f g a";
        QTest::newRow("Es") << -3 << "Es-Dur / c-Moll (3 ♭)"
                            << "es f g as b c d";
        QTest::newRow("As") << -4 << "As-Dur / f-Moll (4 ♭)"
                            << "as b c des es f g";
        QTest::newRow("Des") << -5 << "Des-Dur / b-Moll (5 ♭)"
                             << "des es f ges as b c";
        QTest::newRow("Ges") << -6 << "Ges-Dur / es-Moll (6 ♭)"
                             << "ges as b ces des es f";
        QTest::newRow("Ces") << -7 << "Ces-Dur / as-Moll (7 ♭)"
                             << "ces des es fes ges as b";
    }
    void keySpelling() {
        QFETCH(int, fifths);
        QFETCH(QString, name);
        QFETCH(QString, scale);
        const KeySignature key{fifths};
        QCOMPARE(keyName(key), name);
        QCOMPARE(keyOfRecordKey(recordKeyOf(key)), key);
        // The tonic a fifth (four steps) up per sharp, in the small octave.
        const int tonicLetter = ((fifths * 4) % 7 + 7) % 7;
        const int tonic = 3 * SpelledNote::StepsPerOctave + tonicLetter;
        constexpr int majorSteps[7] = {2, 2, 1, 2, 2, 2, 1};
        QStringList names;
        int pitch = key.spell(tonic).midiPitch();
        for (int degree = 0; degree < 7; ++degree) {
            const SpelledNote note = key.spell(tonic + degree);
            names.append(noteName(note, {}).remove('\''));
            QCOMPARE(note.midiPitch(), pitch);
            pitch += majorSteps[degree];
        }
        QCOMPARE(names.join(' '), scale);
        for (const ClefRow& row : ::clefTable()) {
            const SignatureSteps& signs = fifths > 0 ? row.sharps : row.flats;
            for (int n = 0; n < key.accidentalCount(); ++n) {
                QCOMPARE(SpelledNote{signs[n]}.letter(), signatureLetter(fifths > 0, n));
                QCOMPARE(key.spell(signs[n]).alteration, fifths > 0 ? 1 : -1);
            }
        }
    }

    // A key's tonics are named as the learner names notes; the octaves' style has no say.
    void keyNameFollowsNoteNames_data() {
        QTest::addColumn<int>("fifths");
        QTest::addColumn<NamingStyle>("style");
        QTest::addColumn<QString>("name");
        const NamingStyle english{NoteLetters::English, OctaveStyle::Scientific};
        const NamingStyle solfege{NoteLetters::Solfege, OctaveStyle::Helmholtz};
        QTest::newRow("German, scientific octaves")
            << -7 << NamingStyle{NoteLetters::German, OctaveStyle::Scientific}
            << "Ces-Dur / as-Moll (7 ♭)";
        QTest::newRow("English F sharp") << 6 << english << "F♯-Dur / D♯-Moll (6 ♯)";
        QTest::newRow("English B flat") << -2 << english << "B♭-Dur / G-Moll (2 ♭)";
        QTest::newRow("English B, Helmholtz")
            << 5 << NamingStyle{NoteLetters::English, OctaveStyle::Helmholtz}
            << "B-Dur / G♯-Moll (5 ♯)";
        QTest::newRow("solfège C") << 0 << solfege << "Do-Dur / La-Moll (keine Vorzeichen)";
        QTest::newRow("solfège C flat") << -7 << solfege << "Do♭-Dur / La♭-Moll (7 ♭)";
        QTest::newRow("solfège C sharp") << 7 << solfege << "Do♯-Dur / La♯-Moll (7 ♯)";
    }
    void keyNameFollowsNoteNames() {
        QFETCH(int, fifths);
        QFETCH(NamingStyle, style);
        QTEST(keyName({fifths}, style), "name");
        setNamingStyle(style);
        const auto germanAgain = qScopeGuard([] { setNamingStyle({}); });
        QTEST(keyName({fifths}), "name");
    }

    void keyOfRecordKeyRefusesJunk() {
        for (const char* junk : {"", "8", "-8", "x", "1.5", "-2147483648", "99999999999"})
            QVERIFY2(!keyOfRecordKey(QString::fromLatin1(junk)), junk);
        QCOMPARE(keyName({8}), QString());
    }

    // With altered notes the details name a forgotten or wrong sign and an enharmonic mix-up,
    // and the count line grows by them; the staff-place kinds keep their words.
    void signMistakeDetails_data() {
        QTest::addColumn<QList<MissedTask>>("missed");
        QTest::addColumn<QString>("details");
        const int f1 = 3 * 7 + 3; // f (small octave), index 0 in the treble clef
        QTest::newRow("sign forgotten")
            << QList<MissedTask>{{1, 7, 7, SpelledNote{f1 + 7, 1}, SpelledNote{f1 + 7, 0}}}
            << "Aufgabe 1: gesucht fis', gewählt f' (Vorzeichen vergessen)";
        QTest::newRow("wrong sign")
            << QList<MissedTask>{{2, 7, 7, SpelledNote{f1 + 7, 1}, SpelledNote{f1 + 7, -1}}}
            << "Aufgabe 2: gesucht fis', gewählt fes' (falsches Vorzeichen)";
        QTest::newRow("G: natural sign missed, the key's sharp taken")
            << QList<MissedTask>{{3, 7, 7, SpelledNote{f1 + 7, 0}, SpelledNote{f1 + 7, 1}, {1}}}
            << "Aufgabe 3: gesucht f', gewählt fis' (Vorzeichen vergessen)";
        QTest::newRow("G: natural sign taken for a flat")
            << QList<MissedTask>{{3, 7, 7, SpelledNote{f1 + 7, 0}, SpelledNote{f1 + 7, -1}, {1}}}
            << "Aufgabe 3: gesucht f', gewählt fes' (falsches Vorzeichen)";
        QTest::newRow("Es: own sharp missed, the key's flat taken")
            << QList<MissedTask>{{3,
                                  13,
                                  13,
                                  SpelledNote{f1 + 13, 1},
                                  SpelledNote{f1 + 13, -1},
                                  {-3}}}
            << "Aufgabe 3: gesucht eis'', gewählt es'' (Vorzeichen vergessen)";
        QTest::newRow("C: own sharp taken for a flat")
            << QList<MissedTask>{{3, 13, 13, SpelledNote{f1 + 13, 1}, SpelledNote{f1 + 13, -1}}}
            << "Aufgabe 3: gesucht eis'', gewählt es'' (falsches Vorzeichen)";
        QTest::newRow("enharmonic, every kind counted")
            << QList<MissedTask>{{4, 7, 8, SpelledNote{f1 + 7, 1}, SpelledNote{f1 + 8, -1}},
                                 {5, 7, 7, SpelledNote{f1 + 7, 1}, SpelledNote{f1 + 7, 0}},
                                 {6, 7, 9, SpelledNote{f1 + 7, 1}, SpelledNote{f1 + 9, 0}},
                                 {7, 7, std::nullopt, SpelledNote{f1 + 7, -1}}}
            << "Aufgabe 4: gesucht fis', gewählt ges' (enharmonisch verwechselt)\n"
               "Aufgabe 5: gesucht fis', gewählt f' (Vorzeichen vergessen)\n"
               "Aufgabe 6: gesucht fis', gewählt a' (eine Terz zu hoch – wie im Bassschlüssel "
               "gelesen)\n"
               "Aufgabe 7: gesucht fes' (Zeit vorbei)\n"
               "Oktave verwechselt: 0, Nachbarton: 0, anderer Schlüssel: 1, Zeit vorbei: 1, "
               "sonst: 0, Vorzeichen vergessen: 1, falsches Vorzeichen: 0, enharmonisch "
               "verwechselt: 1";
    }
    void signMistakeDetails() {
        QFETCH(QList<MissedTask>, missed);
        QFETCH(QString, details);
        QCOMPARE(::mistakeDetails(Clef::Violin, missed, true), details);
    }

    // Uneven rungs: the rule must read the heights, not assume a spacing.
    void ladderReadsEveryHeight() {
        const LineLadder ladder = {0, 10, 30, 60, 100, 150, 210, 280, 360, 450, 550};
        QCOMPARE(placeOnLadder(ladder, 0)->top, (450 + 550) / 2.0);
        QCOMPARE(placeOnLadder(ladder, 1)->top, 450.0);
        QCOMPARE(placeOnLadder(ladder, 19)->top, 0.0);
        QCOMPARE(placeOnLadder(ladder, 18)->top, 5.0);
        QVERIFY(!placeOnLadder(ladder, -1));
        QVERIFY(!placeOnLadder(ladder, 20));
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "tst_rules.moc"

#pragma once

#include "forms/AccidentalSigns.h"
#include "forms/Form1Services.h"
#include "training/KeySignature.h"
#include "training/NoteModel.h"
#include "training/StaffPlacement.h"
#include "widgets/AnswerMarks.h"
#include "widgets/DrawnElements.h"

#include <QPainterPath>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class Exercise;
class QLabel;
class QPainter;
class QProgressBar;
class QPushButton;
class frmKeyboard;
struct TypedNote;

// The circle a head is drawn as: as high as its box, centred in it.
QRectF headCircle(const DrawnShape& head);

// The main window: a view of the exercise. It shows what the exercise tells it and forwards
// what the learner does.
class Form1 : public QWidget {
    Q_OBJECT

public:
    Form1(Exercise& exercise, Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // Controls.
    QPushButton* cmdViolin = nullptr;
    QPushButton* cmdBass = nullptr;
    QPushButton* cmdViolinGehör = nullptr;
    QPushButton* cmdBassGehör = nullptr;
    QPushButton* cmdÜbungAbbrechen = nullptr;
    QPushButton* cmdHilfe = nullptr;
    QPushButton* cmdStatistik = nullptr;
    QPushButton* cmdInfo = nullptr;
    QPushButton* cmdEnde = nullptr;
    QPushButton* cmdWeitereSchluessel = nullptr; // the alto and tenor clefs
    std::array<QPushButton*, NoteCount> cmdNoteViolin{};
    std::array<QPushButton*, NoteCount> cmdNoteBass{};
    // The accidental of the next answer button's click: ♭, ♮, ♯. Shown only while an exercise
    // with altered notes runs.
    std::array<QPushButton*, 3> cmdVorzeichen{};
    QLabel* lblViolinschlüssel = nullptr;
    QLabel* lblBassschlüssel = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // Drawn elements, in twips.
    DrawnLine Line1, Line2, Line3, Line4, Line5;
    std::array<DrawnLine, 14> ZusatzLinie{};
    DrawnShape shpNote;
    DrawnShape shpNoteFalsch;

    // Button handlers.
    void cmdViolin_Click();
    void cmdBass_Click();
    void cmdViolinGehör_Click();
    void cmdBassGehör_Click();
    void cmdÜbungAbbrechen_Click();
    void cmdHilfe_Click();
    void cmdStatistik_Click();
    void cmdInfo_Click();
    void cmdEnde_Click();
    void cmdNoteViolin_Click(std::int16_t Index);
    void cmdNoteBass_Click(std::int16_t Index);
    void cmdWeitereSchluessel_Click();
    void cmdVorzeichen_Click(int Index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void LayoutAnwenden();
    void Form_Load();
    void connectExercise();
    void ButtonsSperren();
    void ButtonsFreigeben();
    void enableModeButtons(bool enabled);
    void showSettingsDialog(Clef clef, bool earTraining);
    void openKeyboard();
    void keepKeyboardAtCorner();

    // What the exercise tells the window to show.
    void showStart();
    void showTask(int note, int staffStep, bool headVisible);
    void hideHead();
    void showTime(int hundredths, int of);
    void showTimedOut();
    void NoteFalschAnzeigen(int gefragt, int gewaehlt);
    void clearMistake();
    void unmarkAnswerButtons();
    void showRest();

    // A task of several notes.
    void showPhrase(bool headsVisible);
    void showPhraseNote(int place);
    void moveMark(int place);
    void hidePhrase();
    double phraseSignRoom() const;
    double phraseSlotWidth() const;
    double phraseLedgerLeft(int place) const;
    int phraseNotesOnScreen(int notes) const;
    int phraseFirstShown() const;
    void fitPhrase();
    void keepOnScreen();
    void nameForScreenReaders();
    void describeStaff();
    // The wrong-answer display's outcome in words, while it shows.
    void describeMistake(const QString& chosenName, const QString& askedName);
    void drawPhrase(QPainter& painter);
    void drawPhraseHead(QPainter& painter, DrawnShape head, int step, double ledgerLeft,
                        double ledgerRight, std::optional<int> sign, double signGap,
                        const QColor& signColour, std::optional<AnswerMark> mark);
    // A head of the wrong-answer display marked in the staff's ink.
    void drawMark(QPainter& painter, AnswerMark mark, const QRectF& head) const;

    // High contrast, read when the window opens and when an exercise starts.
    void readDisplaySetting();
    QColor staffBackground() const;
    // A head's layout colour as the window shows it: darker red and green in high contrast, and
    // black where the blue staff has white.
    QColor headFill(std::uint32_t colour) const;

    enum class Column { Asked, Chosen };
    LineLadder columnLadder(Column column) const;
    void placeNote(DrawnShape& head, Column column, int step);
    void hideLedgerLines(int first, int last);
    // The exercise's note index that an answer button stands for, if it answers at all.
    std::optional<int> answerIndex(Clef row, int button) const;
    std::array<QPushButton*, NoteCount>& buttonRow(Clef row);
    // An answer button clicked: with an accidental toggle down the spelled note, else its index.
    void answerWithButton(Clef row, int button);
    // A note letter typed: the letter's place nearest the asked note, as its button answers.
    bool answerWithLetter(QChar typed);
    bool answerWithKeyText(const QKeyEvent& event);
    // With "Oktave tippen": the name typed so far, answered once it names one note.
    bool answerWithTypedName(const QKeyEvent& event);
    void answerTypedNote(const TypedNote& note);
    void answerPlace(int index, int step, std::optional<int> alteration);
    void layOutAccidentals();
    void connectAccidentals();
    void showAccidentals(bool shown);
    void releaseAccidentals();
    bool isAnswerControl(const QWidget* widget) const;
    void setAnswerRowEnabled(bool enabled);
    bool clefSignOnStaff() const;
    const QPainterPath& placedClefSign() const;
    void drawClefSign(QPainter& painter);

    // The key signature after the clef, and the signs of the heads' own before them.
    void showKey(KeySignature key);
    void shiftColumns(double shift);
    std::optional<int> chosenSign() const;
    double staffSpace() const;
    double signatureLeft() const;
    double signatureAdvance(int alteration) const;
    void drawKeySignature(QPainter& painter);
    void drawAccidental(QPainter& painter, const DrawnShape& head, std::optional<int> alteration,
                        const QColor& colour);
    void drawSign(QPainter& painter, int alteration, double right, double middle,
                  const QColor& colour);

    Exercise& m_exercise;
    Form1Services m_services;
    bool m_closeAllowed = false;
    QPointer<frmKeyboard> m_keyboard;
    QPointer<QWidget> m_focusBeforeMistake; // the answer button that had focus
    mutable Clef m_signClef = Clef::None;   // the clef whose sign m_sign is
    mutable QPainterPath m_sign;            // placed on the staff, in twips
    // Where a clef's sign begins, and where a C clef's ends at the most.
    static constexpr double ClefSignLeft = 3420, ClefSignRight = 3990;
    std::optional<AccidentalSigns> m_accidentalSigns; // made when first needed
    double m_columnShift = 0;        // how far right both columns stand to make room for the signs
    std::optional<int> m_askedSign;  // the alteration signed before the asked head
    std::optional<int> m_chosenSign; // and before the chosen one
    QSize m_restingSize;             // the window's own, which phrases may widen
    double m_restingStaffEnd = 0;    // before any shift for a signature
    bool m_phraseShown = false;
    int m_phraseNotesShown = 1; // side by side; fewer than the phrase's where the screen is narrow
    bool m_typeOctave = false;
    QString m_typedName;
    bool m_phraseHeadsVisible = true; // of the notes not answered yet
    bool m_highContrast = false;
};

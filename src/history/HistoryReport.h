#pragma once

#include "training/KeySignature.h"
#include "training/NoteModel.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class QSqlDatabase;

enum class ModeFilter { Reading, EarTraining, Both };
// Exercises of single notes (one per task), of phrases (several per task), or both.
enum class PhraseFilter { Both, SingleNotes, Phrases };

// Which part of the record a report looks at.
struct ReportFilter {
    Clef clef = Clef::Violin;
    ModeFilter mode = ModeFilter::Both;
    std::optional<QDateTime> since;  // none: all of it
    std::optional<KeySignature> key; // none: every key
    PhraseFilter phrases = PhraseFilter::Both;
};

struct NoteSummary {
    SpelledNote note;
    int tasks = 0;
    int missed = 0;              // wrong or timed out
    std::optional<int> medianMs; // of the answers given, time-outs left out
};

// The note chosen instead of the one asked, and how often.
struct Confusion {
    SpelledNote asked;
    SpelledNote chosen;
    int count = 0;
};

struct ExercisePoint {
    QDateTime startedAt;
    int errors = 0;
};

struct HistoryReport {
    // The clef's natural notes, each with the altered notes asked on its step beside it (flats
    // before, sharps after), low to high.
    QList<NoteSummary> notes;
    QList<Confusion> confusions;   // most frequent first
    QList<ExercisePoint> finished; // oldest first
    int exercises = 0;             // with at least one task
    int tasks = 0;
    int wrong = 0;
    int timedOut = 0;
    qint64 practiceMs = 0; // from each exercise's start to its last task
    // The keys of all the record's tasks, whatever the filter: C major, then sharps, then flats.
    QList<KeySignature> keys;
    // Whether any of the record's tasks, whatever the filter, is a note of a phrase.
    bool hasPhrases = false;
};

HistoryReport readReport(const QSqlDatabase& db, const ReportFilter& filter);

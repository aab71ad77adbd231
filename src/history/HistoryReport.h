#pragma once

#include "training/NoteModel.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

class QSqlDatabase;

enum class ModeFilter { Reading, EarTraining, Both };

// Which part of the record a report looks at.
struct ReportFilter {
    Clef clef = Clef::Violin;
    ModeFilter mode = ModeFilter::Both;
    std::optional<QDateTime> since; // none: all of it
};

struct NoteSummary {
    int tasks = 0;
    int missed = 0;              // wrong or timed out
    std::optional<int> medianMs; // of the answers given, time-outs left out
};

// The note chosen instead of the one asked, and how often.
struct Confusion {
    int asked = 0;
    int chosen = 0;
    int count = 0;
};

struct ExercisePoint {
    QDateTime startedAt;
    int errors = 0;
};

struct HistoryReport {
    std::array<NoteSummary, NoteCount> notes{};
    QList<Confusion> confusions;   // most frequent first
    QList<ExercisePoint> finished; // oldest first
    int exercises = 0;             // with at least one task
    int tasks = 0;
    int wrong = 0;
    int timedOut = 0;
    qint64 practiceMs = 0; // from each exercise's start to its last task
};

HistoryReport readReport(const QSqlDatabase& db, const ReportFilter& filter);

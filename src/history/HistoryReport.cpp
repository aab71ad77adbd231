#include "history/HistoryReport.h"

#include "history/ClefKey.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

// The tasks a filter takes, as a condition on the tables `e` and `t`; its values bound in order.
QString taskCondition(const ReportFilter& filter) {
    QString condition = QStringLiteral("e.clef = ? AND e.started_at >= ?");
    if (filter.mode != ModeFilter::Both)
        condition += QStringLiteral(" AND e.ear_training = ?");
    if (filter.key)
        condition += QStringLiteral(" AND t.key_fifths = ?");
    if (filter.phrases == PhraseFilter::SingleNotes)
        condition += QStringLiteral(" AND e.notes_per_task = 1");
    else if (filter.phrases == PhraseFilter::Phrases)
        condition += QStringLiteral(" AND e.notes_per_task > 1");
    return condition;
}

void bindFilter(QSqlQuery& query, const ReportFilter& filter) {
    query.addBindValue(clefKey(filter.clef));
    query.addBindValue(filter.since ? filter.since->toMSecsSinceEpoch() : qint64(0));
    if (filter.mode != ModeFilter::Both)
        query.addBindValue(filter.mode == ModeFilter::EarTraining);
    if (filter.key)
        query.addBindValue(filter.key->fifths);
}

// Low to high by step, a step's flats before its natural and its sharps after.
bool lower(const SpelledNote& a, const SpelledNote& b) {
    return std::pair(a.step, a.alteration) < std::pair(b.step, b.alteration);
}

int median(std::vector<int>& values) {
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    const int below = *std::max_element(values.begin(), middle);
    return (below + *middle) / 2;
}

void readTasks(const QSqlDatabase& db, const ReportFilter& filter, HistoryReport& report) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT t.asked_step, t.asked_alteration, t.chosen_step,"
                                 " t.chosen_alteration, t.correct, t.answer_ms FROM task t"
                                 " JOIN exercise e ON e.id = t.exercise_id WHERE ") +
                  taskCondition(filter));
    bindFilter(query, filter);
    if (!query.exec())
        return;
    const auto byStep = [](const SpelledNote& a, const SpelledNote& b) { return lower(a, b); };
    std::map<SpelledNote, std::vector<int>, decltype(byStep)> answerTimes(byStep);
    std::map<SpelledNote, NoteSummary, decltype(byStep)> notes(byStep);
    for (const NoteSummary& natural : report.notes)
        notes[natural.note] = natural;
    const auto byPair = [](const std::pair<SpelledNote, SpelledNote>& a,
                           const std::pair<SpelledNote, SpelledNote>& b) {
        return lower(a.first, b.first) || (a.first == b.first && lower(a.second, b.second));
    };
    std::map<std::pair<SpelledNote, SpelledNote>, int, decltype(byPair)> confusions(byPair);
    while (query.next()) {
        if (query.value(0).isNull())
            continue;
        const SpelledNote asked{query.value(0).toInt(), query.value(1).toInt()};
        ++report.tasks;
        NoteSummary& note = notes[asked];
        note.note = asked;
        ++note.tasks;
        const bool answered = !query.value(2).isNull();
        if (answered)
            answerTimes[asked].push_back(query.value(5).toInt());
        if (query.value(4).toBool())
            continue;
        ++note.missed;
        ++(answered ? report.wrong : report.timedOut);
        if (answered)
            ++confusions[{asked, {query.value(2).toInt(), query.value(3).toInt()}}];
    }
    report.notes.clear();
    for (auto& [spelled, note] : notes) {
        auto times = answerTimes.find(spelled);
        if (times != answerTimes.end())
            note.medianMs = median(times->second);
        report.notes.append(note);
    }
    for (const auto& [pair, count] : confusions)
        report.confusions.append({pair.first, pair.second, count});
    // Most frequent first; as often, in the order of the notes.
    std::stable_sort(report.confusions.begin(), report.confusions.end(),
                     [](const Confusion& a, const Confusion& b) { return a.count > b.count; });
}

// C major, the sharp keys, then the flat keys, as the settings list them.
void readKeys(const QSqlDatabase& db, HistoryReport& report) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT DISTINCT key_fifths FROM task")))
        return;
    while (query.next())
        report.keys.append(KeySignature{query.value(0).toInt()});
    const auto place = [](KeySignature key) {
        return key.fifths >= 0 ? key.fifths : KeySignature::MaxAccidentals - key.fifths;
    };
    std::sort(report.keys.begin(), report.keys.end(),
              [&](KeySignature a, KeySignature b) { return place(a) < place(b); });
}

void readPhrases(const QSqlDatabase& db, HistoryReport& report) {
    QSqlQuery query(db);
    report.hasPhrases = query.exec(QStringLiteral(
                            "SELECT EXISTS (SELECT 1 FROM exercise e WHERE e.notes_per_task > 1"
                            " AND EXISTS (SELECT 1 FROM task t WHERE t.exercise_id = e.id))")) &&
                        query.next() && query.value(0).toBool();
}

void readExercises(const QSqlDatabase& db, const ReportFilter& filter, HistoryReport& report) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT e.started_at, e.outcome = 'finished', e.errors,"
                                 " MAX(t.ended_at) FROM exercise e"
                                 " JOIN task t ON t.exercise_id = e.id WHERE ") +
                  taskCondition(filter) + QStringLiteral(" GROUP BY e.id ORDER BY e.started_at"));
    bindFilter(query, filter);
    if (!query.exec())
        return;
    while (query.next()) {
        const qint64 started = query.value(0).toLongLong();
        ++report.exercises;
        report.practiceMs += std::max<qint64>(0, query.value(3).toLongLong() - started);
        if (query.value(1).toBool())
            report.finished.append(
                {QDateTime::fromMSecsSinceEpoch(started), query.value(2).toInt()});
    }
}

} // namespace

HistoryReport readReport(const QSqlDatabase& db, const ReportFilter& filter) {
    HistoryReport report;
    for (int index = 0; index < NoteCount; ++index)
        if (const std::optional<SpelledNote> natural = clefNote(filter.clef, index))
            report.notes.append(NoteSummary{*natural, 0, 0, std::nullopt});
    if (!db.isOpen())
        return report;
    readTasks(db, filter, report);
    readExercises(db, filter, report);
    readKeys(db, report);
    readPhrases(db, report);
    return report;
}

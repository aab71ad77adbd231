#include "history/HistoryReport.h"

#include "history/ClefKey.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// The exercises a filter takes, as a condition on the table `e`; its values bound in order.
QString exerciseCondition(const ReportFilter& filter) {
    QString condition = QStringLiteral("e.clef = ? AND e.started_at >= ?");
    if (filter.mode != ModeFilter::Both)
        condition += QStringLiteral(" AND e.ear_training = ?");
    return condition;
}

void bindFilter(QSqlQuery& query, const ReportFilter& filter) {
    query.addBindValue(clefKey(filter.clef));
    query.addBindValue(filter.since ? filter.since->toMSecsSinceEpoch() : qint64(0));
    if (filter.mode != ModeFilter::Both)
        query.addBindValue(filter.mode == ModeFilter::EarTraining);
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
    query.prepare(QStringLiteral("SELECT t.asked, t.chosen, t.correct, t.answer_ms FROM task t"
                                 " JOIN exercise e ON e.id = t.exercise_id WHERE ") +
                  exerciseCondition(filter));
    bindFilter(query, filter);
    if (!query.exec())
        return;
    std::array<std::vector<int>, NoteCount> answerTimes;
    QHash<int, int> confusions; // asked × NoteCount + chosen
    while (query.next()) {
        const int asked = query.value(0).toInt();
        if (asked < 0 || asked >= NoteCount)
            continue;
        ++report.tasks;
        NoteSummary& note = report.notes[asked];
        ++note.tasks;
        const bool answered = !query.value(1).isNull();
        if (answered)
            answerTimes[asked].push_back(query.value(3).toInt());
        if (query.value(2).toBool())
            continue;
        ++note.missed;
        ++(answered ? report.wrong : report.timedOut);
        const int chosen = query.value(1).toInt();
        if (answered && chosen >= 0 && chosen < NoteCount)
            ++confusions[asked * NoteCount + chosen];
    }
    for (int i = 0; i < NoteCount; ++i)
        if (!answerTimes[i].empty())
            report.notes[i].medianMs = median(answerTimes[i]);
    for (auto it = confusions.cbegin(); it != confusions.cend(); ++it)
        report.confusions.append({it.key() / NoteCount, it.key() % NoteCount, it.value()});
    std::sort(report.confusions.begin(), report.confusions.end(),
              [](const Confusion& a, const Confusion& b) {
                  return std::tie(b.count, a.asked, a.chosen) <
                         std::tie(a.count, b.asked, b.chosen);
              });
}

void readExercises(const QSqlDatabase& db, const ReportFilter& filter, HistoryReport& report) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT e.started_at, e.outcome = 'finished', e.errors,"
                                 " MAX(t.ended_at) FROM exercise e"
                                 " JOIN task t ON t.exercise_id = e.id WHERE ") +
                  exerciseCondition(filter) +
                  QStringLiteral(" GROUP BY e.id ORDER BY e.started_at"));
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
    if (!db.isOpen())
        return report;
    readTasks(db, filter, report);
    readExercises(db, filter, report);
    return report;
}

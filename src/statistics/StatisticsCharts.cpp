// The two charts of the statistics window, drawn anew from the report.
#include "statistics/frmStatistik.h"
#include "training/NoteModel.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace {

void clearChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

QValueAxis* valueAxis(QChart* chart, const QString& title, double max, Qt::Alignment side,
                      const QString& labelFormat = QStringLiteral("%d")) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(0, max);
    axis->applyNiceNumbers();
    axis->setLabelFormat(labelFormat);
    chart->addAxis(axis, side);
    return axis;
}

} // namespace

// The share of misses as bars, the median answer time as points over them.
void frmStatistik::showNotes() {
    clearChart(chtNoten);
    const Clef clef = filter().clef;
    auto* shares = new QBarSet(tr("falsch oder Zeit abgelaufen (%)"));
    auto* medians = new QScatterSeries;
    medians->setName(tr("Median der Antwortzeit (s)"));
    medians->setMarkerSize(9);
    QStringList names;
    double slowest = 1;
    for (int i = 0; i < NoteCount; ++i) {
        const NoteSummary& note = m_report.notes[i];
        names.append(noteName(clef, i));
        *shares << (note.tasks ? 100.0 * note.missed / note.tasks : 0.0);
        if (note.medianMs) {
            medians->append(i, *note.medianMs / 1000.0);
            slowest = std::max(slowest, *note.medianMs / 1000.0);
        }
    }
    auto* bars = new QBarSeries;
    bars->append(shares);
    chtNoten->addSeries(bars);
    chtNoten->addSeries(medians);

    auto* notes = new QBarCategoryAxis;
    notes->append(names);
    chtNoten->addAxis(notes, Qt::AlignBottom);
    bars->attachAxis(notes);
    medians->attachAxis(notes);
    bars->attachAxis(valueAxis(chtNoten, QStringLiteral("%"), 100, Qt::AlignLeft));
    medians->attachAxis(
        valueAxis(chtNoten, QStringLiteral("s"), slowest, Qt::AlignRight, QStringLiteral("%.1f")));
}

void frmStatistik::showExercises() {
    clearChart(chtUebungen);
    auto* errors = new QLineSeries;
    errors->setName(tr("Fehler"));
    errors->setPointsVisible(m_report.finished.size() < 100);
    int most = 5;
    for (const ExercisePoint& point : m_report.finished) {
        errors->append(double(point.startedAt.toMSecsSinceEpoch()), point.errors);
        most = std::max(most, point.errors);
    }
    chtUebungen->addSeries(errors);

    auto* time = new QDateTimeAxis;
    time->setFormat(tr("dd.MM.yy"));
    const QDateTime now = QDateTime::currentDateTime();
    time->setRange(m_report.finished.isEmpty() ? now.addDays(-7)
                                               : m_report.finished.first().startedAt,
                   m_report.finished.size() < 2 ? now : m_report.finished.last().startedAt);
    chtUebungen->addAxis(time, Qt::AlignBottom);
    errors->attachAxis(time);
    errors->attachAxis(valueAxis(chtUebungen, tr("Fehler"), most, Qt::AlignLeft));
}

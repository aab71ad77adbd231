// The two charts of the statistics window, drawn anew from the report.
#include "statistics/frmStatistik.h"
#include "training/NoteModel.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// The lines of the left axis; the right axis has as many, so that one grid serves both.
constexpr int GridLines = 6;
// The most errors an exercise can have: one per task.
constexpr int MostErrors = 25;
// Up to this many exercises each shows as a point; beyond, a moving average over as many as
// `AveragedExercises` shows the trend through their zigzag.
constexpr int PointedExercises = 100;
constexpr int AveragedExercises = 20;
// A date axis labels this many days apart at least; exercises within fewer days are numbered.
constexpr int DateTicks = 5;
// Room left around the points, as a share of the axis, so that none is cut at the plot's edge.
constexpr double Margin = 0.04;

// Dates as the language shown writes them.
QString dateFormat() {
    return frmStatistik::tr("dd.MM.yy");
}
QString dateTimeFormat() {
    return frmStatistik::tr("dd.MM.yy hh:mm");
}

void clearChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

// The smallest of 1, 2 and 5 times a power of ten that is at least `least`.
double niceStep(double least) {
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= least)
            return factor * power;
    }
    return 10.0 * power;
}

// An axis from `low` to `high` (with room for the points at either end) with its ticks every
// `step` from `first`.
QValueAxis* tickedAxis(QChart* chart, const QString& title, double low, double high, double first,
                       double step, Qt::Alignment side, const QString& labelFormat) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    const double room = Margin * (high - low);
    axis->setRange(low - room, high + room);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(first);
    axis->setTickInterval(step);
    axis->setLabelFormat(labelFormat);
    chart->addAxis(axis, side);
    return axis;
}

QString exerciseText(int number, const ExercisePoint& point) {
    return QCoreApplication::translate("frmStatistik", "Übung %1 vom %2: %n Fehler", nullptr,
                                       point.errors)
        .arg(number)
        .arg(point.startedAt.toString(dateTimeFormat()));
}

QString period(const QList<ExercisePoint>& exercises) {
    const QString first = exercises.first().startedAt.toString(dateFormat());
    const QString last = exercises.last().startedAt.toString(dateFormat());
    return first == last ? first : QStringLiteral("%1 – %2").arg(first, last);
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
    double slowest = 0;
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
    const int intervals = GridLines - 1;
    auto* share = new QValueAxis;
    share->setTitleText(QStringLiteral("%"));
    share->setRange(0, 100);
    share->setTickCount(GridLines);
    share->setLabelFormat(QStringLiteral("%d"));
    chtNoten->addAxis(share, Qt::AlignLeft);
    bars->attachAxis(share);
    // As many ticks as the share's, on its grid lines, and room above the slowest point.
    const double step = niceStep(std::max(1.0, slowest * (1 + 2 * Margin)) / intervals);
    auto* seconds = new QValueAxis;
    seconds->setTitleText(QStringLiteral("s"));
    seconds->setRange(0, step * intervals);
    seconds->setTickCount(GridLines);
    seconds->setLabelFormat(step < 1 ? QStringLiteral("%.1f") : QStringLiteral("%d"));
    seconds->setGridLineVisible(false);
    chtNoten->addAxis(seconds, Qt::AlignRight);
    medians->attachAxis(seconds);
    lblNotenLeer->setVisible(m_report.tasks == 0);
}

// Each finished exercise's errors over time; numbered when they fall within too few days for
// dates to tell them apart. Many show as a mean per day with a moving average through them.
// Each point tells its date and time in its tool tip.
void frmStatistik::showExercises() {
    clearChart(chtUebungen);
    const QList<ExercisePoint>& exercises = m_report.finished;
    const bool numbered = !exercises.isEmpty() && exercises.first().startedAt.daysTo(
                                                      exercises.last().startedAt) < DateTicks - 1;
    const bool many = exercises.size() > PointedExercises;
    const bool perDay = many && !numbered;

    // The points of the line, of the moving average when there are many, and the line's texts.
    QList<QPointF> line;
    QList<QPointF> trend;
    QStringList texts;
    int most = 0;
    double sum = 0;
    for (qsizetype i = 0; i < exercises.size(); ++i) {
        const ExercisePoint& exercise = exercises[i];
        most = std::max(most, exercise.errors);
        sum += exercise.errors -
               (i >= AveragedExercises ? exercises[i - AveragedExercises].errors : 0);
        const double average = sum / double(std::min<qsizetype>(i + 1, AveragedExercises));
        if (!perDay) {
            line.append({numbered ? double(i + 1) : double(exercise.startedAt.toMSecsSinceEpoch()),
                         double(exercise.errors)});
            texts.append(exerciseText(int(i) + 1, exercise));
            if (many)
                trend.append({line.last().x(), average});
            continue;
        }
        // The day's last exercise closes its point.
        const QDate day = exercise.startedAt.date();
        qsizetype first = i;
        while (first > 0 && exercises[first - 1].startedAt.date() == day)
            --first;
        if (i + 1 < exercises.size() && exercises[i + 1].startedAt.date() == day)
            continue;
        double dayErrors = 0;
        for (qsizetype j = first; j <= i; ++j)
            dayErrors += exercises[j].errors;
        const double x = double(QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch());
        line.append({x, dayErrors / double(i - first + 1)});
        texts.append(tr("%1: %2 Fehler im Mittel von %3 Übungen")
                         .arg(day.toString(dateFormat()))
                         .arg(line.last().y(), 0, 'f', 1)
                         .arg(i - first + 1));
        trend.append({x, average});
    }

    auto* errors = new QLineSeries;
    errors->setName(perDay ? tr("Fehler im Mittel je Tag") : tr("Fehler"));
    errors->setPointsVisible(!many);
    chtUebungen->addSeries(errors);
    connect(errors, &QLineSeries::hovered, this, [line, texts](QPointF at, bool over) {
        if (!over || line.isEmpty()) {
            QToolTip::hideText();
            return;
        }
        const auto nearest = std::min_element(line.begin(), line.end(), [at](QPointF a, QPointF b) {
            return std::abs(a.x() - at.x()) < std::abs(b.x() - at.x());
        });
        QToolTip::showText(QCursor::pos(), texts[nearest - line.begin()]);
    });
    QList<std::pair<QLineSeries*, QList<QPointF>>> series = {{errors, line}};
    if (many) {
        // The trend in the line's colour, the exercises pale behind it.
        QPen strong = errors->pen();
        strong.setWidthF(2.5);
        QPen pale = errors->pen();
        pale.setColor(QColor(175, 175, 175));
        pale.setWidthF(1);
        errors->setPen(pale);
        auto* average = new QLineSeries;
        average->setName(tr("Mittel über %1 Übungen").arg(AveragedExercises));
        chtUebungen->addSeries(average);
        average->setPen(strong);
        series.append({average, trend});
    }

    QAbstractAxis* across = nullptr;
    if (numbered) {
        // Each number in the middle of its room.
        const double step = std::max(1.0, niceStep(double(exercises.size()) / GridLines));
        across = tickedAxis(chtUebungen, tr("Übung (%1)").arg(period(exercises)), 0.5,
                            double(exercises.size()) + 0.5, step > 1 ? 0 : 1, step, Qt::AlignBottom,
                            QStringLiteral("%d"));
    } else {
        auto* time = new QDateTimeAxis;
        time->setFormat(dateFormat());
        time->setTickCount(DateTicks);
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime first = line.isEmpty()
                                    ? now.addDays(-7)
                                    : QDateTime::fromMSecsSinceEpoch(qint64(line.first().x()));
        const QDateTime last =
            line.isEmpty() ? now : QDateTime::fromMSecsSinceEpoch(qint64(line.last().x()));
        const qint64 room = qint64(Margin * double(first.msecsTo(last)));
        time->setRange(first.addMSecs(-room), last.addMSecs(room));
        chtUebungen->addAxis(time, Qt::AlignBottom);
        across = time;
    }
    const int top = std::min(MostErrors, std::max(5, (most + 4) / 5 * 5));
    QValueAxis* up = tickedAxis(chtUebungen, tr("Fehler"), 0, top, 0, top > 5 ? 5 : 1,
                                Qt::AlignLeft, QStringLiteral("%d"));
    // The points last: the chart lays them out once, not again at every axis.
    for (auto& [shown, points] : series) {
        shown->attachAxis(across);
        shown->attachAxis(up);
        shown->replace(points);
    }
    lblUebungenLeer->setVisible(exercises.isEmpty());
}

#pragma once

#include "history/HistoryReport.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <mutex>
#include <optional>

class ReportReading;

// Reads the record on a thread of its own through a read-only connection of its own (a connection
// belongs to the thread that made it), so that reading years of practice never holds up the window.
// Asked again while it reads, it reads once more afterwards with the newest filter, and hands
// over only the report of the newest request.
class ReportReader : public QObject {
    Q_OBJECT

public:
    // The report, and why the record cannot be read (empty when it can).
    using Shown = std::function<void(const HistoryReport&, const QString& problem)>;
    // `shown` is called on the thread that made the reader.
    ReportReader(const QString& historyFile, Shown shown);
    ~ReportReader() override;

    void read(const ReportFilter& filter);

private:
    friend class ReportReading;
    // On the reading thread: the newest filter asked for and its request's number.
    std::optional<std::pair<ReportFilter, quint64>> takeRequest();
    void deliver(const HistoryReport& report, const QString& problem, quint64 request);

    Shown m_shown;
    QThread m_thread;
    ReportReading* m_reading = nullptr;
    std::mutex m_mutex;
    std::optional<ReportFilter> m_pending; // guarded by m_mutex
    quint64 m_requested = 0;               // guarded by m_mutex
};

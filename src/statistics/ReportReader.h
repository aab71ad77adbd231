#pragma once

#include "history/HistoryReport.h"
#include "history/HistoryStore.h"

#include <QObject>
#include <QThread>

#include <atomic>
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

    // The share written so far, from 0 to 1.
    using Progress = std::function<void(double share)>;
    // What went wrong, in German; empty when saved or cancelled.
    using Saved = std::function<void(const QString& problem)>;
    // Saves the whole record as CSV in `target` on the reading thread, after the reads asked
    // before; `progress` and `saved` are called on the thread that made the reader. One at a time.
    void saveCsv(const QString& target, Progress progress, Saved saved);
    // The CSV being saved is left unwritten, and a file of its name as it was.
    void cancelCsv();

    using Cleared = std::function<void(HistoryStore::Cleared)>;
    // Deletes the whole record on the reading thread, waiting briefly for another program
    // holding it; `cleared` is called on the thread that made the reader.
    void clear(Cleared cleared);

private:
    friend class ReportReading;
    // On the reading thread: the newest filter asked for and its request's number.
    std::optional<std::pair<ReportFilter, quint64>> takeRequest();
    void deliver(const HistoryReport& report, const QString& problem, quint64 request);
    bool csvCancelled() const { return m_csvCancelled; }

    Shown m_shown;
    QThread m_thread;
    ReportReading* m_reading = nullptr;
    std::mutex m_mutex;
    std::optional<ReportFilter> m_pending; // guarded by m_mutex
    quint64 m_requested = 0;               // guarded by m_mutex
    std::atomic<bool> m_csvCancelled = false;
};

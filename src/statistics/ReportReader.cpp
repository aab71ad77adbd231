#include "statistics/ReportReader.h"

#include "history/CsvExport.h"
#include "history/HistoryReader.h"

#include <memory>

// Lives on the reading thread and owns the connection made there.
class ReportReading : public QObject {
public:
    ReportReading(ReportReader& reader, QString file) : m_reader(reader), m_file(std::move(file)) {}

    void readNewest() {
        const auto request = m_reader.takeRequest();
        if (!request)
            return;
        if (!m_record)
            m_record = std::make_unique<HistoryReader>(m_file);
        m_record->open();
        const HistoryReport report = readReport(m_record->database(), request->first);
        QMetaObject::invokeMethod(
            &m_reader,
            [reader = &m_reader, report, problem = m_record->problem(), number = request->second] {
                reader->deliver(report, problem, number);
            },
            Qt::QueuedConnection);
    }

    void saveCsv(const QString& target, NamingStyle names, const ReportReader::Progress& progress,
                 const ReportReader::Saved& saved) {
        if (!m_record)
            m_record = std::make_unique<HistoryReader>(m_file);
        m_record->open();
        // Told to the window only when the share shown would change.
        int shownPermille = -1;
        const QString problem = ::saveCsv(
            m_record->database(), m_file, target,
            [&](qint64 written, qint64 total) {
                const int permille = total > 0 ? int(written * 1000 / total) : 0;
                if (std::exchange(shownPermille, permille) != permille)
                    QMetaObject::invokeMethod(
                        &m_reader, [progress, permille] { progress(permille / 1000.0); },
                        Qt::QueuedConnection);
                return !m_reader.csvCancelled();
            },
            names);
        QMetaObject::invokeMethod(
            &m_reader, [saved, problem] { saved(problem); }, Qt::QueuedConnection);
    }

    void clear(const ReportReader::Cleared& cleared) {
        const HistoryStore::Cleared outcome =
            HistoryStore(m_file, HistoryStore::Check::Trusted).clear();
        QMetaObject::invokeMethod(
            &m_reader, [cleared, outcome] { cleared(outcome); }, Qt::QueuedConnection);
    }

private:
    ReportReader& m_reader;
    QString m_file;
    std::unique_ptr<HistoryReader> m_record;
};

ReportReader::ReportReader(const QString& historyFile, Shown shown)
    : m_shown(std::move(shown)), m_reading(new ReportReading(*this, historyFile)) {
    m_reading->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_reading, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("statistics reader"));
    m_thread.start(QThread::LowPriority);
}

ReportReader::~ReportReader() {
    {
        const std::scoped_lock lock(m_mutex);
        m_pending.reset();
    }
    cancelCsv();
    m_thread.quit();
    m_thread.wait();
}

void ReportReader::read(const ReportFilter& filter) {
    const std::scoped_lock lock(m_mutex);
    ++m_requested;
    // One read queued at a time: it takes whatever filter is newest when it starts.
    if (std::exchange(m_pending, filter))
        return;
    QMetaObject::invokeMethod(
        m_reading, [reading = m_reading] { reading->readNewest(); }, Qt::QueuedConnection);
}

void ReportReader::saveCsv(const QString& target, Progress progress, Saved saved) {
    m_csvCancelled = false;
    // The names as the window shows them, taken here: the style belongs to the window's thread.
    QMetaObject::invokeMethod(
        m_reading,
        [reading = m_reading, target, names = namingStyle(), progress = std::move(progress),
         saved = std::move(saved)] { reading->saveCsv(target, names, progress, saved); },
        Qt::QueuedConnection);
}

void ReportReader::cancelCsv() {
    m_csvCancelled = true;
}

void ReportReader::clear(Cleared cleared) {
    QMetaObject::invokeMethod(
        m_reading, [reading = m_reading, cleared = std::move(cleared)] { reading->clear(cleared); },
        Qt::QueuedConnection);
}

std::optional<std::pair<ReportFilter, quint64>> ReportReader::takeRequest() {
    const std::scoped_lock lock(m_mutex);
    if (!m_pending)
        return std::nullopt;
    auto request = std::pair{*m_pending, m_requested};
    m_pending.reset();
    return request;
}

void ReportReader::deliver(const HistoryReport& report, const QString& problem, quint64 request) {
    {
        const std::scoped_lock lock(m_mutex);
        if (request != m_requested)
            return;
    }
    m_shown(report, problem);
}

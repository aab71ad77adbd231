#include "statistics/ReportReader.h"

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

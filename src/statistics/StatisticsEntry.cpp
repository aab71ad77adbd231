#include "statistics/StatisticsEntry.h"

#include "statistics/frmStatistik.h"

extern "C" Q_DECL_EXPORT QWidget* virelo_create_statistics_window_3(const QString& historyFile,
                                                                    NamingStyle names) {
    setNamingStyle(names);
    return new frmStatistik(historyFile);
}

#include "statistics/StatisticsEntry.h"

#include "statistics/frmStatistik.h"

extern "C" Q_DECL_EXPORT QWidget* virelo_create_statistics_window_2(const QString& historyFile) {
    return new frmStatistik(historyFile);
}

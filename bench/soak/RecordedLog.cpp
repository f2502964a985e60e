#include "RecordedLog.h"

#include "LogError.h"
#include "LogReader.h"

#include <cmath>

RecordedLog ReopenRecordedLog(const QString& path) {
    RecordedLog figures;
    try {
        const DataLog log = LogReader::Read(path);
        figures.rows = static_cast<int64_t>(log.Rows());
        for (size_t row = 0; row < log.Rows(); ++row) {
            for (const LogSeries& series : log.series) {
                if (std::isnan(series.values[row])) {
                    ++figures.rowsWithEmptyCells;
                    break;
                }
            }
        }
    } catch (const LogError& error) {
        figures.error = error.text();
    }
    return figures;
}

int64_t ExpectedRows(int64_t ranMs, int rate) {
    return ranMs * rate / 1000 + 1;
}

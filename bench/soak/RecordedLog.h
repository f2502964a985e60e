#pragma once
// What the soak's recording left: the log reopened as a replay would open it, its rows, and
// how many of them had a value that could not be read.

#include <QString>

#include <cstdint>
#include <optional>

struct RecordedLog {
    int64_t rows = 0;
    int64_t rowsWithEmptyCells = 0;
    std::optional<QString> error; // the reader's complaint when the log does not reopen
};

RecordedLog ReopenRecordedLog(const QString& path);

// The rows a recording at this rate makes in this time: one at its start, then one a period.
int64_t ExpectedRows(int64_t ranMs, int rate);

#pragma once
// A data log in memory: the time of every row and one series per value column, an empty
// cell as NaN, and the events: writes and markers. Read from a file or filled live.

#include <QDateTime>
#include <QString>

#include <limits>
#include <vector>

enum class LogEventKind {
    Write,  // a write to the controller, in the journal's words
    Marker, // a marker the technician set while driving, with an optional text
};

struct LogEvent {
    double seconds = 0;
    QString text; // a write in the journal's words; a marker's own text, empty when none was typed
    LogEventKind kind = LogEventKind::Write;
};

struct LogSeries {
    QString name;
    QString unit;
    std::vector<double> values; // one per row; NaN where the cell was empty
    int decimals = -1;          // as the window shows the value; -1: not one of the window's
};

struct DataLog {
    static constexpr double Empty = std::numeric_limits<double>::quiet_NaN();

    QDateTime start;             // the wall clock of the row at 0 s, when known
    std::vector<double> seconds; // one per row, rising
    std::vector<LogSeries> series;
    std::vector<LogEvent> events;

    size_t Rows() const { return seconds.size(); }
    // The series of this name, or -1.
    int IndexOf(const QString& name) const;
    // Drops the rows and events before this time.
    void DropBefore(double from);
};

#pragma once
// Writes a data log: the header when the file is made, then rows kept in memory until Flush
// puts them on the disk. A write that fails leaves the file ending with its last whole row.

#include "Catalogue.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

struct LiveSample;

class LogWriter {
public:
    // Makes the file (an existing one is replaced) and writes its header, with a column for
    // each live value in this order, then the trim's two. Throws LogError.
    LogWriter(const QString& path, std::vector<const Catalogue::Entry*> columns);
    ~LogWriter(); // closes without writing what was not flushed
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // A row of values; a value the sample failed to read is an empty cell, and so is the trim
    // (and its source) when its reads failed, the percent alone in setup mode.
    void AddSample(double seconds, const LiveSample& sample);
    // A row of its own for a write to the controller or a marker.
    void AddEvent(double seconds, const QDateTime& time, const QString& text);

    // Writes the rows kept so far and syncs them to the disk. Throws LogError; the file then
    // ends with the last row that was written whole, and nothing more is written.
    void Flush();

    const QString& Path() const { return path_; }
    qint64 Rows() const { return rows_; }
    bool HasPending() const { return !pending_.isEmpty(); }

private:
    void AppendRow(double seconds, const QDateTime& time, const QStringList& cells,
                   const QString& event);
    [[noreturn]] void Fail(int errorNumber);

    QString path_;
    std::vector<const Catalogue::Entry*> columns_;
    std::vector<int> decimals_;
    int fd_ = -1;
    qint64 written_ = 0; // bytes on the disk, all of them whole rows
    qint64 rows_ = 0;
    QByteArray pending_;
    bool failed_ = false;
};

#pragma once
// Recorded logs as the map's sources: each log's columns found by their headers, what a log
// lacks said by name, and several logs folded into one table.

#include "DataLog.h"
#include "MapBuilder.h"

#include <QString>
#include <QStringList>

#include <vector>

struct MapLog {
    QString name; // the file's name
    DataLog log;
};

// What the map can read of one log under a layout.
struct MapLogColumns {
    MapColumns columns;
    QStringList missing; // the columns the cells need that the log lacks: nothing is taken
    std::array<bool, MapFilterCount> applicable{};
    QStringList inapplicable; // the filters without their column, by name
};

namespace MapLogs {

MapLogColumns ColumnsOf(const DataLog& log, const MapLayout& layout);

// Opens a recorded log. Throws LogError, as the chart window's opening does, for a file that is
// no data log of this tool.
MapLog Open(const QString& path);

// "«день.csv»: 11:47:19 – 12:31:02, 1 ч 43 мин" or the span in seconds without a clock.
QString SpanText(const MapLog& log);

// What to say of this log under this layout: the columns it lacks, the filters that cannot
// apply; empty when it has all.
QString Note(const MapLog& log, const MapLayout& layout);

// Folds the logs, in order, into the builder; each log is a source of its own.
void Fold(MapBuilder& builder, const std::vector<MapLog>& logs);
void Fold(MapBuilder& builder, const DataLog& log);

} // namespace MapLogs

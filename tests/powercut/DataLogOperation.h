#pragma once
// A recording's flushes under a power cut: each worker run starts a new data log, as a new
// recording after the power came back, and flushes rows to it until killed.

#include <QString>

namespace DataLogCut {

void Record(const QString& directory);
// Every log reads back; each holds every row and event of its last acknowledged flush, in
// order and with the values written.
QString Check(const QString& directory);
// Drops any part of the newest log's bytes after its last acknowledged flush.
void Tear(const QString& directory);

} // namespace DataLogCut

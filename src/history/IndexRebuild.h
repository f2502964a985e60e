#pragma once
// Finds again what the tool keeps of each controller when the store was lost: the restore
// points (one visit each, at the point's time), the journals, and the logs, sheets and settings
// files in the folders where they are put, named after a known controller's serial number as
// the tool proposes ("<serial> …").

#include <QString>
#include <QStringList>

class HistoryStore;

namespace IndexRebuild {

// The serial number a restore point's folder or a journal is named after; none for a name
// cut to fit or one of a controller without a serial number.
QString SerialOfFileName(const QString& name);

// Indexes into an empty store; returns how many controllers it found.
int Rebuild(HistoryStore& store, const QString& dataFolder, const QStringList& fileFolders);

} // namespace IndexRebuild

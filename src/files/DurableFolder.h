#pragma once
// Folders of the tool's data made so that they survive a power cut: a folder made here is on
// the disk once the directory that holds it has been synced.

#include <QStringList>

#include <optional>

namespace DurableFolder {

// Makes the folder and those missing above it, as QDir::mkpath does. Returns the directories
// whose entries changed (the one that holds each folder made, deepest first; empty when the
// folder was there), for the caller to sync; none when a folder could not be made.
std::optional<QStringList> Make(const QString& folder);

// Make, and those directories synced before it returns. False when a folder could not be made
// or a directory could not be synced.
bool MakeSynced(const QString& folder);

} // namespace DurableFolder

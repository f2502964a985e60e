#pragma once
// Replaces a file's whole content so that a crash or a failure at any point leaves either the
// old file or the new one, never a truncated or half-written file.

#include <QByteArray>
#include <QString>

#include <optional>

// Writes the bytes to a new file in the target's directory, syncs it, renames it over the
// target and syncs the directory. A target that exists must be writable (a directory or a
// read-only file is "File access denied"); a replaced file keeps its permissions. Every
// failure up to the rename throws EInOutError, leaves the target untouched and removes the
// temporary file. Before it writes, it removes the directory's stale temporary files of
// earlier writes that were cut short (see TemporaryFiles).
// A file made anew gets `newFileMode` when one is given, whatever the umask.
// Returns false when only the directory's sync failed: the file was replaced and reads back,
// but may not survive a power cut.
bool WriteFileDurably(const QString& path, const QByteArray& bytes,
                      std::optional<unsigned> newFileMode = std::nullopt);

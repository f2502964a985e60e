#pragma once
// Settings files on disk: reading one for a load, writing one after a save, and their names.

#include "SettingsRecords.h"

#include <QString>

namespace SettingsFile {

inline constexpr char Extension[] = ".q5t";

// The chosen save path with ".q5t" appended unless that text (case-sensitive) already occurs
// anywhere in the path, directories included.
QString WithExtension(const QString& path);

// Whether there is a file to load or to replace at `path`: anything there that is not a
// directory.
bool Exists(const QString& path);

// Opens the file for reading only (a read-only file loads) and returns its first FileSize
// bytes, with the file's whole length in `length` when asked. The length is checked before
// anything is returned, so a short file is refused whole ("Read beyond end of file") and
// never half-loaded into a controller.
QByteArray ReadForLoad(const QString& path, qint64* length = nullptr);

// The words a load writes, addresses 33..99 in order.
SettingsRecords::Words ReadWords(const QString& path);

// Replaces the file with the records durably (see WriteFileDurably); false when the file was
// replaced but may not survive a power cut.
bool Write(const QString& path, const SettingsRecords::Entries& entries);

// The directory the file dialogs start in: the executable's, without a trailing separator,
// when it can be written, else the user's documents folder.
QString DialogDirectory();

} // namespace SettingsFile

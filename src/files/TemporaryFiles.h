#pragma once
// The temporary files of a whole-file replacement: ".q5-<16 hex digits>.tmp" beside the
// target. A write cut short by a crash or a power cut leaves one behind; nothing reads them,
// and the next replacement in the same directory removes those that are clearly abandoned.

#include <QDateTime>
#include <QString>

namespace TemporaryFiles {

// Older than this, a temporary file is no longer being written: a replacement takes
// milliseconds, and another station writing on a shared folder is given minutes.
inline constexpr qint64 StaleAfterSeconds = 5 * 60;

// A new, random name of this kind in the directory.
QString NewPath(const QString& directory);

// The name (without the directory) is one of these temporary files.
bool IsTemporaryName(const QString& fileName);

// Removes the temporary files in the directory last modified more than StaleAfterSeconds
// before `now`; fresh ones and every other file stay. Never fails: what cannot be removed
// stays for the next time.
void RemoveStale(const QString& directory,
                 const QDateTime& now = QDateTime::currentDateTimeUtc()) noexcept;

} // namespace TemporaryFiles

#pragma once
// Restore points: copies of a controller's parameter block kept before it is overwritten, one
// settings file each, under <root>/backups/<serial for file name>/<yyyy-MM-dd HH-mm-ss>.q5t.
// The newest MaxKept of a controller are kept. Errors of the disk are thrown as EInOutError.

#include "SettingsRecords.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

struct RestorePoint {
    QString path;
    QDateTime time; // from the file's name
    // False for a file that is not a whole settings file of this controller type: short,
    // long, unreadable or not of identity 503. Such a file is never offered for restore.
    bool readable = false;
    SettingsRecords::Words words{};
};

namespace RestorePoints {

inline constexpr int MaxKept = 100;

// The directory of one controller's points; `serial` is its serial number made safe for a
// file name (ToolData::SerialFileName).
QString DirectoryOf(const QString& root, const QString& serial);

// Writes a new point of the block taken at `when`, unless its words equal those of the newest
// point (then nothing is written and nullopt returned), and removes all but the newest MaxKept
// points. Returns the new point's path. A second point in the same second is named
// "<time> (2).q5t", then " (3)" and so on.
std::optional<QString> Keep(const QString& root, const QString& serial,
                            const SettingsRecords::Entries& block, const QDateTime& when);

// The name under which the points of a controller whose serial number could not be read are
// kept: "без номера~" and a digest of its configuration words as first read. No serial
// number's name is one (a serial number's "~" is written "%7E" unless its name is cut, and a
// cut name is much longer).
QString NamelessName(const SettingsRecords::Words& words);
QString NamelessName(const SettingsRecords::Entries& block);

// Moves the points kept under `from` into the folder of `to`, where a controller's points are
// found again once its serial number has been read; a point whose name `to` has already stays
// where it is. Nothing happens without a folder `from`. Errors of the disk are thrown as
// EInOutError.
void Adopt(const QString& root, const QString& from, const QString& to);

// The points of one controller, newest first; only files named like a point are listed.
std::vector<RestorePoint> List(const QString& root, const QString& serial);

// The number of addresses at which the words differ.
int Differences(const SettingsRecords::Words& a, const SettingsRecords::Words& b);

} // namespace RestorePoints

#pragma once
// Where the tool keeps its own data and preferences. The application name is the window title,
// so the folder and the preferences are named here, as those of a program named after its
// executable: <data location>/tarvik-q5 and the preferences file tarvik-q5/tarvik-q5.

#include <QSettings>
#include <QString>

#include <memory>
#include <optional>

struct ConnectedDevice;

namespace ToolData {

// The user's data folder for restore points, journals and logs; not created here.
QString Folder();

// The tool's preferences (QSettings, user scope).
std::unique_ptr<QSettings> Preferences();

// The name under which a controller's restore points and journal are filed, made from its
// serial number as shown. Letters, digits, "-" and "." inside stay; a blank is "_"; every
// other character (a leading or trailing ".", "_", "/", "%", control characters) is written
// as "%XX" per UTF-8 byte. Two serial numbers that differ other than in trailing blanks (the
// padding of the 24 characters) never share a name, and no name is "." or "..". A name longer
// than 160 bytes is cut and ends in "~" and a digest of the serial number. None for a blank
// serial number.
std::optional<QString> SerialFileName(const QString& serial);

// The same for a connected controller; none also when its serial number was not read whole,
// so that such controllers never share a folder.
std::optional<QString> ControllerFileName(const ConnectedDevice& device);

// How the names the tool proposes for a controller's files begin ("<serial> <yyyy-MM-dd>.pdf"):
// its serial number as shown, without the blanks around it; only "/" and control characters,
// which a file name cannot hold, become "_". None when the serial number was not read whole or
// is blank. The names of restore points and journals are SerialFileName's.
std::optional<QString> ProposedStem(const ConnectedDevice& device);

// The journal of writes to controllers without a serial number: a name no serial number takes.
inline const QString NamelessJournal = QStringLiteral("без номера");

} // namespace ToolData

#pragma once
// Where a file dialog starts: in the folder where a file of its kind was last chosen, kept in
// the preferences (group "Folders"), while that folder exists; otherwise in the kind's first
// folder. Settings files (save, load, compare, sheets and editing without a controller), data
// logs and PDFs each have their own.

#include <QString>

class QSettings;

namespace DialogFolder {

enum class Kind { Settings, Logs, Pdfs };

// The folder a dialog of the kind starts in, without a trailing separator.
QString Start(const QSettings& preferences, Kind kind);

// Remembers the folder of a file chosen in a dialog of the kind; nothing for an empty path.
void Remember(QSettings& preferences, Kind kind, const QString& chosenFile);

// Where a kind starts before anything was chosen: settings files where SettingsFile's dialogs
// start (the program's folder when it can be written, else the documents folder), data logs in
// the tool's data folder ("logs"), PDFs in the documents folder (the home folder when there is
// none).
QString FirstFolder(Kind kind);

} // namespace DialogFolder

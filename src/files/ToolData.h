#pragma once
// Where the tool keeps its own data and preferences. The application name is the window title,
// so the folder and the preferences are named here, as those of a program named after its
// executable: <data location>/tarvik-q5 and the preferences file tarvik-q5/tarvik-q5.

#include <QSettings>
#include <QString>

#include <memory>

namespace ToolData {

// The user's data folder for restore points, journals and logs; not created here.
QString Folder();

// The tool's preferences (QSettings, user scope).
std::unique_ptr<QSettings> Preferences();

} // namespace ToolData

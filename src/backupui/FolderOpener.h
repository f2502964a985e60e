#pragma once
// Shows a folder in the desktop's file manager. Where there is none (no xdg-open, or it finds
// nothing to open folders with), a box shows the folder's path, ready to be copied.

#include <QString>

class QWidget;

namespace FolderOpener {

// Returns at once; the box, when needed, comes up over `owner` once the opener has given up.
void Open(QWidget* owner, const QString& folder);

// The box with the path (object name "FolderPathBox"), shown without waiting.
void ShowPath(QWidget* owner, const QString& folder);

} // namespace FolderOpener

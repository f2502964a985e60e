#pragma once
// Captions of the main window and the application title.

#include <QString>

// Application title and base caption of the main window (the trailing blank belongs to it).
QString BaseCaption();

// Caption after a settings file was loaded or saved: the base text with the file's last
// path component in parentheses ("Tarvik-Q5 system (car1.q5t)").
QString FileCaption(const QString& filePath);

// Caption while a settings file is edited without a controller:
// "Tarvik-Q5 system (car1.q5t, без прибора)".
QString OfflineCaption(const QString& filePath);

#pragma once
// Editing a settings file without a controller: "Сервис" › "Открыть файл без прибора…"
// starts a stand-in controller inside the program that holds the file's words, and connects
// the window to it the ordinary way, so that every control shows and edits as with a
// controller; "Сохранить в файле" saves the edited block. "Close COM" ends the session and
// the stand-in. Nothing of it reaches a real port. The caption says "без прибора" all along,
// and the live displays show nothing: no engine runs behind the stand-in.

class QString;
class TForm1;

// True from the moment a file is opened without a controller until that connection is
// closed. No restore point and no change journal are kept for such a session.
bool OfflineSession();

// The file the session edits: the one opened, or the one last saved or loaded; empty when no
// session is open.
QString OfflineFile();

// The caption after a save or load of this file: in a session it names the file as the one
// edited without a controller (and the session then edits it).
QString CaptionForFile(const QString& path);

// Checks the file as a load does, then starts the stand-in with the file's words and connects
// to it; the caption names the file. A missing file, or a directory, gets "Такого файла нет!";
// a short, unreadable or foreign file throws the load's error. Either way nothing starts.
// Does nothing while connected.
void OpenFileOffline(const QString& path);

// The menu item, enabled while no controller is connected.
void InstallOffline(TForm1& form);

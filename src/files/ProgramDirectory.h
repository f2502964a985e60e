#pragma once
// Where the program keeps its own files and where its file dialogs start. The executable's
// directory comes first, as for a program unpacked into a folder of its own. An installed
// program (under /usr/bin) cannot write there, and must not even when run as root; the user's
// own folders take its place, and the machine's shared folder the production log's.

#include <QString>

#include <functional>

namespace ProgramDirectory {

// The folder under the user's data directory (~/.local/share) that holds the program's files
// when its own directory cannot be written: the executable's name.
inline constexpr char DataFolderName[] = "tarvik-q5";

// The executable's directory, without a trailing separator.
QString Executable();

// Whether files can be created in the directory.
bool IsWritable(const QString& directory);

// Whether the directory belongs to the system (/, /usr and all below it, /bin, /sbin, /lib*,
// /opt, /etc, /var, /boot, /snap), the link's target also counted: never the program's own
// folder, whoever runs it.
bool IsSystemFolder(const QString& directory);

// Replaces the writability test; tests run as root, who may write anywhere, and stand in a
// read-only program directory this way. An empty function restores IsWritable.
using WritableTest = std::function<bool(const QString& directory)>;
void SetWritableTest(WritableTest test);

// The folder that the installed program's package makes for what every user of the machine
// shares: /var/lib/tarvik-q5, writable by the group tarvik-q5.
QString Shared();

// The production log's directory for a program in `program`: that directory when writable and
// not a system folder (a build tree, a folder of its own); for a program installed into a
// system folder the shared folder, whoever runs it, so that the machine keeps one log; else
// the user's data folder for the program, created when missing.
QString ForLog(const QString& program);
QString ForLog();

// The directory the file dialogs start in: the executable's when writable and not a system
// folder, else the user's documents folder (the home folder when there is none).
QString ForDocuments();

} // namespace ProgramDirectory

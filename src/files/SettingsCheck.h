#pragma once
// What a settings file must hold before any of it goes to a controller. A file whose record
// for word 47 does not carry the identity is no settings file of this controller: loading it
// would change the identity and cut the controller off. A file that passes may still be
// doubtful: damaged records (a fourth byte that is not zero), words that the window's controls
// would not accept, or bytes beyond the last record (the file is not what the tool saved);
// those the user is asked about first. A file with records of words that could not be read
// from the controller (a restore point of a connection that did not read them) is never
// loaded either: those records hold no word.

#include "SettingsRecords.h"

#include <QByteArray>
#include <QStringList>

namespace SettingsCheck {

struct Findings {
    bool foreign = false;   // the identity record is wrong: never load
    QStringList unread;     // names of the records without a word: never load
    QStringList damaged;    // names of the damaged records, in address order
    QStringList outOfRange; // names of the sound records whose words the controls refuse
    qint64 length = 0;      // the file's length; above FileSize it is doubtful too

    bool Doubtful() const;
};

// Checks the first FileSize bytes (the caller has checked the length) of a file `length`
// bytes long.
Findings Examine(const QByteArray& bytes, qint64 length = SettingsRecords::FileSize);

// "Файл не является файлом установок Tarvik-Q5!"
QString ForeignFileText();
// Names up to five records without a word and says that the file cannot be loaded.
QString UnreadFileText(const Findings& found);
// What the file is taken for: written into a controller, opened without one, or taken as the
// production line's reference.
enum class Use { Write, Open, Reference };

// The question that names what is doubtful: up to five damaged records, up to five words out
// of range, and a length beyond the records.
QString DoubtfulQuestion(const Findings& found, Use use = Use::Write);

} // namespace SettingsCheck

#pragma once
// What a settings file must hold before any of it goes to a controller. A file whose record
// for word 47 does not carry the identity is no settings file of this controller: loading it
// would change the identity and cut the controller off. A file that passes may still hold
// damaged records (a fourth byte that is not zero) or words that the window's controls would
// not accept; those the user is asked about first.

#include <QByteArray>
#include <QStringList>

namespace SettingsCheck {

inline constexpr int IdentityAddress = 47;
inline constexpr uint16_t IdentityWord = 503;

struct Findings {
    bool foreign = false; // the identity record is wrong: never load
    QStringList doubtful; // names of the damaged or out-of-range words, in address order
};

// Checks the first FileSize bytes (the caller has checked the length).
Findings Examine(const QByteArray& bytes);

// "Файл не является файлом установок Tarvik-Q5!"
QString ForeignFileText();
// The question that names up to five doubtful words.
QString DoubtfulQuestion(const QStringList& names);

} // namespace SettingsCheck

#pragma once
// The production log "Protocol.lst" beside the executable (ProgramDirectory::ForLog: for an
// installed program, one folder that every user of the machine shares): a header record, then
// one record per controller that got its sequence number from it. The header's serial field
// ends in 00113, so the first controller numbered from a new log gets 00114. A new log is
// begun only when someone has said so: one begun silently where the log is not found (another
// user's folder, a network folder not mounted) would give its numbers a second time.

#include "ProtocolRecord.h"

#include <QString>

#include <functional>
#include <optional>

namespace ProductionLog {

// What became of a number, held in its record's separator, so the log stays a sequence of
// whole records whose last one carries the last number given: " ** " for a controller that
// holds its number (and every record of earlier logs), " ?? " while the number is being
// written, " -- " for a numbering that was cut off.
enum class NumberState { Numbered, Reserved, Cut };
QByteArray SeparatorOf(NumberState state);
std::optional<NumberState> StateOf(const ProtocolRecord& record);

// The message when the last number, 65535, has been given.
QString FullText();

inline constexpr char FileName[] = "Protocol.lst";

QString HeaderSerial();
// The number the first controller of a new log gets: "00114".
QString FirstSequence();

// The log's directory: ProgramDirectory::ForLog() unless another was set (tests keep their
// logs in a temporary directory). An empty text restores the program's directory.
void SetDirectory(const QString& directory);
// The log's full path in that directory.
QString Path();

// Whether anything stands at `path`: only where nothing does may a new log be begun (a
// directory in its place is an error of the numbering, not a missing log).
bool Exists(const QString& path);

// Whether a numbering may begin a new log where it finds none.
enum class NewLog { Begin, Refuse };
// The question before a new log is begun at `path`; what is said when it is not begun; and
// the error of a numbering that found no log and may not begin one.
QString NewLogQuestion(const QString& path);
QString NotBegunText(const QString& path);
QString MissingText(const QString& path);

// Creates the log with its header record, dated with the date read from the controller,
// unless a file is already there. The header is written whole or not at all; in a folder
// shared by its group (set-group-ID) the log is made writable by the group.
void CreateIfMissing(const QString& path, const QString& controllerDate);

// The number after characters 20..24 of a serial field read as a decimal integer, kept to
// 16 bits and zero-padded to 5 digits. Throws EConvertError when the characters are not a
// number, and std::runtime_error with FullText() when the next would be 00000, the mark of
// an un-numbered controller.
QString NextSequence(const QByteArray& serialField);

// The first 19 characters of the serial number shown for the controller (padded with blanks
// when fewer are shown) followed by the sequence number.
QByteArray NumberedSerial(const QString& shownSerial, const QString& sequence);

// Where the number a log records may come from instead of the log alone (the line's shared
// store): handed the product (the serial's first 19 characters) and the sequence number the log
// would give next, it gives the one to record, never a lower one. It throws when it gives none.
using SequenceChoice = std::function<QString(const QString& product, const QString& logNext)>;

// Numbers one controller: the log's last whole record is the template; its serial field
// becomes NumberedSerial() with the next sequence number (or the one `choose` gives, when
// there is a choice), its date today's date; every other
// byte stays as read, the separator too unless a `state` is given. The record goes after the
// last whole one (over any partial bytes) and is on disk before this returns, so the log
// holds it before the controller is written. A log with no whole record throws "Read beyond
// end of file"; file errors throw EInOutError.
ProtocolRecord AppendNext(const QString& path, const QString& shownSerial, const QString& today,
                          std::optional<NumberState> state = std::nullopt,
                          const SequenceChoice& choose = {});

// Gives the last record of `serial` that is still being written its outcome, in place (the
// separator's four characters, on disk before this returns). False when there is none.
bool SetState(const QString& path, const QByteArray& serial, NumberState state);

} // namespace ProductionLog

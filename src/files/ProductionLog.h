#pragma once
// The production log "Protocol.lst" beside the executable (in the user's data folder when the
// executable's directory cannot be written): a header record, then one record per controller
// that got its sequence number from it. The header's serial field ends in
// 00113, so the first controller numbered from a new log gets 00114.

#include "ProtocolRecord.h"

#include <QString>

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
QString PathBesideExecutable();

// The log's directory: ProgramDirectory::ForData() unless another was set (tests keep their
// logs in a temporary directory). An empty text restores the program's directory.
void SetDirectory(const QString& directory);
// The log's full path in that directory.
QString Path();

// Creates the log with its header record, dated with the date read from the controller,
// unless a file is already there. The header is written whole or not at all.
void CreateIfMissing(const QString& path, const QString& controllerDate);

// The number after characters 20..24 of a serial field read as a decimal integer, kept to
// 16 bits and zero-padded to 5 digits. Throws EConvertError when the characters are not a
// number, and std::runtime_error with FullText() when the next would be 00000, the mark of
// an un-numbered controller.
QString NextSequence(const QByteArray& serialField);

// The first 19 characters of the serial number shown for the controller (padded with blanks
// when fewer are shown) followed by the sequence number.
QByteArray NumberedSerial(const QString& shownSerial, const QString& sequence);

// Numbers one controller: the log's last whole record is the template; its serial field
// becomes NumberedSerial() with the next sequence number, its date today's date; every other
// byte stays as read, the separator too unless a `state` is given. The record goes after the
// last whole one (over any partial bytes) and is on disk before this returns, so the log
// holds it before the controller is written. A log with no whole record throws "Read beyond
// end of file"; file errors throw EInOutError.
ProtocolRecord AppendNext(const QString& path, const QString& shownSerial, const QString& today,
                          std::optional<NumberState> state = std::nullopt);

// Gives the last record of `serial` that is still being written its outcome, in place (the
// separator's four characters, on disk before this returns). False when there is none.
bool SetState(const QString& path, const QByteArray& serial, NumberState state);

} // namespace ProductionLog

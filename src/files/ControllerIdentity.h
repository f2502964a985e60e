#pragma once
// Reading a controller's serial number and date of manufacture, and numbering an un-numbered
// one from the production log: the one rule the main window's connection and the production
// line share. It works over any exchange, so each caller hands in its own link.

#include "ProductionLog.h"
#include "ProtocolRecord.h"
#include "WordRead.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>

namespace ControllerIdentity {

using Exchange = WordRead::Exchange;

struct Text {
    QByteArray bytes;
    bool complete = true; // every read had a valid reply
};

// One character per address: the low byte of each reply word, valid or not. Each is read as
// WordRead reads until one stays unread; the text is then incomplete, and the rest are asked
// once each.
Text ReadCharacters(const Exchange& exchange, int firstAddress, int count);
Text ReadSerial(const Exchange& exchange);
Text ReadDate(const Exchange& exchange);

// The text as shown: up to the first character of code 0.
QString Shown(const QByteArray& bytes);

// Whether a controller read so is to be numbered: both texts read whole (stale reply words can
// look like "00000") and the sequence number "00000" or one whose numbering was cut off.
bool NeedsNumber(const Text& serial, const Text& date);

// A register of the numbers beside the log (the line's store): it gives the number the log
// records, under the log's lock, and hears what became of it.
struct NumberRegister {
    ProductionLog::SequenceChoice take; // throws when it gives none: nothing is recorded then
    // The controller was read back holding `serial` whole (`numbered`), or its numbering was
    // cut; called once for each number taken, never throws.
    std::function<void(const QByteArray& serial, bool numbered)> settled;
};

// Takes the next number from the log at `logPath` under its lock (waiting at most `wait`),
// its record marked as being written; in one process, numberings from several threads also
// take their turns. With a `numbers` register the number is the register's. A missing log is
// begun only when `newLog` says so. Throws as ProductionLog::NumberUnderLock or the register
// does; nothing is written into the controller here.
ProtocolRecord TakeNumber(const QString& logPath, const Text& serial, const Text& date,
                          std::chrono::milliseconds wait, ProductionLog::NewLog newLog,
                          const NumberRegister* numbers = nullptr);

struct Numbering {
    ProtocolRecord given;   // the log's record of the number
    Text serial{{}, false}; // as last read back
    Text date{{}, false};
    bool numbered = false; // the controller was read back holding the number and the date
};

// Numbers the controller read as `serial` and `date`, as one transaction: the number is
// reserved in the log (TakeNumber); the last place of the sequence number gets the mark of an
// unfinished number first, then addresses 1..23 and the date are written and all 32 words read
// back; only then is the last place written and all 32 read back again. A cut at any point
// leaves the controller with its old number or a plainly unfinished one, never with digits
// another controller holds. The log's record then says whether the controller holds its
// number or the numbering was cut. Throws as TakeNumber does before anything is written;
// whatever an exchange throws goes on once the log has been told of the cut.
Numbering Number(const Exchange& exchange, const QString& logPath, const Text& serial,
                 const Text& date, std::chrono::milliseconds wait, ProductionLog::NewLog newLog,
                 const NumberRegister* numbers = nullptr);

// Writes the serial number (blank-padded, cut to 24 characters) to addresses 1..24 and
// today's date (dd.MM.yy) to 25..32, all 32 words whatever the replies. True when every write
// had a valid reply.
bool WriteSerialNumber(const Exchange& exchange, const QString& serial);

// The message for a numbering that was cut off.
QString PartlyNumberedText(const QString& serial);

} // namespace ControllerIdentity

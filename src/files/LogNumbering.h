#pragma once
// Numbering from a production log that several stations share (a log on a network folder).
// Each numbering holds the lock file "<log>.lock" beside the log from before it looks for
// the log until its new record is on disk, so no two stations read the same last record.
// The lock is given back before the controller is written. The lock file names the station's
// host and process: a lock whose process is gone on this host is taken over at once; one held
// from another host is waited for and then named in the error, never taken over by its age.

#include "ProductionLog.h"
#include "ProtocolRecord.h"

#include <QString>

#include <chrono>

namespace ProductionLog {

inline constexpr std::chrono::milliseconds LockWait{5000};

QString LockPathOf(const QString& logPath);

// Takes the lock (waiting at most `wait` in all), creates the log if missing (its header
// dated with the controller's date) unless `newLog` refuses it, and appends the next record
// (AppendNext, with `state`). Throws ELogBusy when the lock is not had in time, EInOutError
// when it cannot be made ("File access denied" for a folder that cannot be written),
// std::runtime_error with MissingText() for a missing log that may not be begun, and whatever
// AppendNext throws; in every such case nothing is written.
ProtocolRecord NumberUnderLock(const QString& path, const QString& controllerDate,
                               const QString& shownSerial, const QString& today,
                               std::chrono::milliseconds wait = LockWait,
                               std::optional<NumberState> state = std::nullopt,
                               NewLog newLog = NewLog::Begin, const SequenceChoice& choose = {});

// Begins a new log (CreateIfMissing) under the lock; throws as NumberUnderLock does.
void BeginUnderLock(const QString& path, const QString& date,
                    std::chrono::milliseconds wait = LockWait);

// SetState under the lock, waiting at most `wait`; throws as NumberUnderLock does.
bool SetStateUnderLock(const QString& path, const QByteArray& serial, NumberState state,
                       std::chrono::milliseconds wait = LockWait);

} // namespace ProductionLog

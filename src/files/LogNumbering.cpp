#include "LogNumbering.h"

#include "InOutError.h"
#include "LogBusyError.h"
#include "ProductionLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <stdexcept>

namespace {

// "host, process 1234" for the station that holds the lock, when the lock file says.
QString HolderOf(const QLockFile& lock) {
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return {};
    return QStringLiteral("%1 (процесс %2)").arg(host).arg(pid);
}

// QLockFile's own wait doubles its pauses from 100 ms on; a log that another station holds
// for a few milliseconds is tried again sooner, then less and less often.
constexpr std::chrono::milliseconds FirstPause{5};
constexpr std::chrono::milliseconds LongestPause{100};

// A lock file without its holder's name is one whose station died between making it and
// writing it; QLockFile would wait out its stale time (30 s) before taking it over. One that
// has stayed nameless this long is not being written any more.
constexpr std::chrono::milliseconds NamelessStale{2000};

bool IsNamelessAndOld(const QLockFile& lock, const QString& lockPath) {
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application))
        return false;
    const QFileInfo file(lockPath);
    return file.exists() &&
           file.lastModified().msecsTo(QDateTime::currentDateTime()) > NamelessStale.count();
}

// The lock file names a process, so it does not keep two threads of one process apart: the
// stations of one process also take their turns here.
std::timed_mutex& ProcessTurn() {
    static std::timed_mutex turn;
    return turn;
}

void Acquire(QLockFile& lock, const QString& logPath, const QDeadlineTimer& deadline) {
    // The lock file names its station's host and process. A lock whose process is gone on
    // this host is taken over at once; a living station's never, however old its lock: clocks
    // of two stations can differ, and a numbering may wait on a slow controller.
    lock.setStaleLockTime(0);
    std::chrono::milliseconds pause = FirstPause;
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            break;
        // Tried again at once only when the nameless file is really gone.
        if (IsNamelessAndOld(lock, ProductionLog::LockPathOf(logPath)) &&
            lock.removeStaleLockFile())
            continue;
        QThread::msleep(
            static_cast<unsigned long>(std::min<qint64>(pause.count(), deadline.remainingTime())));
        pause = std::min(pause * 2, LongestPause);
    }
    if (lock.isLocked())
        return;
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        throw ELogBusy(logPath, HolderOf(lock));
    case QLockFile::PermissionError:
        throw EInOutError(InOutCode::AccessDenied);
    default:
        throw EInOutError::FromErrno(EIO);
    }
}

} // namespace

namespace ProductionLog {

QString LockPathOf(const QString& logPath) {
    return logPath + QStringLiteral(".lock");
}

// Runs `work` holding the log: this process's turn, then the lock file, both within one
// deadline.
template <typename Work>
auto UnderLock(const QString& path, std::chrono::milliseconds wait, Work work) {
    const QDeadlineTimer deadline(wait);
    std::unique_lock turn(ProcessTurn(), std::defer_lock);
    if (!turn.try_lock_for(wait))
        throw ELogBusy(
            path,
            QStringLiteral("эта программа (процесс %1)").arg(QCoreApplication::applicationPid()));
    QLockFile lock(LockPathOf(path));
    Acquire(lock, path, deadline);
    // QLockFile gives the lock back when it goes, also when the work fails.
    return work();
}

ProtocolRecord NumberUnderLock(const QString& path, const QString& controllerDate,
                               const QString& shownSerial, const QString& today,
                               std::chrono::milliseconds wait, std::optional<NumberState> state,
                               NewLog newLog, const SequenceChoice& choose) {
    return UnderLock(path, wait, [&] {
        if (newLog == NewLog::Refuse && !Exists(path))
            throw std::runtime_error(MissingText(path).toStdString());
        CreateIfMissing(path, controllerDate);
        return AppendNext(path, shownSerial, today, state, choose);
    });
}

void BeginUnderLock(const QString& path, const QString& date, std::chrono::milliseconds wait) {
    UnderLock(path, wait, [&] { CreateIfMissing(path, date); });
}

bool SetStateUnderLock(const QString& path, const QByteArray& serial, NumberState state,
                       std::chrono::milliseconds wait) {
    return UnderLock(path, wait, [&] { return SetState(path, serial, state); });
}

} // namespace ProductionLog

#pragma once
// The safety net of one connection, behind every exchange: it learns the controller's words
// from the replies, journals each word written, keeps the undo list and completes the restore
// point at the end of the connection sequence. Window-free; it is handed the link it guards and
// the operations open on that link's session, and is told when a connection begins, succeeds
// and ends.

#include "ChangeJournal.h"
#include "ConnectionWords.h"
#include "ExchangeObserver.h"
#include "JournalFeed.h"
#include "LocalSecondClock.h"
#include "UndoHistory.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <optional>
#include <vector>

class ControllerLink;
class WriteOperations;

class SafetyNet : public QObject {
    Q_OBJECT
public:
    // `link` and `operations` must outlive the safety net.
    SafetyNet(ControllerLink& link, WriteOperations& operations, QObject* parent = nullptr);
    ~SafetyNet() override;

    // A connection attempt begins: what was learned and the undo list are forgotten; writes
    // from now to Connected are the connection's own and wait for the serial number.
    void BeginAttempt();
    // The sequence ended with a controller connected. `serial` as shown ("" when not read
    // whole); `journalRoot` is the data folder, or empty when nothing is to be kept.
    void Connected(const QString& serial, const QString& journalRoot);
    void Closed();

    // Reads the parameter words 33..99 that the connection has not read yet and returns the
    // block as first read. After a read that fails no more are asked for: the words never
    // read are marked unread.
    SettingsRecords::Entries CompleteFirstReadBlock();

    // The words 33..99 the controller holds now as far as the exchanges tell; none when one of
    // them is not known.
    std::optional<SettingsRecords::Words> KnownBlock() const;

    // Reads each of the addresses whose word is not known, so that what overwrites it can be
    // undone. False at the first read without a valid reply.
    bool ReadUnknown(const std::vector<uint8_t>& addresses);

    UndoHistory& History() { return history_; }
    // Every journal record of this link as it is made.
    JournalFeed& Feed() { return feed_; }

    // Asked at a write of no operation: true when it goes on with the gesture of the action
    // before (a key or an arrow held down), which it then joins.
    void SetGestureContinues(std::function<bool()> test) { gestureContinues_ = std::move(test); }
    const ConnectionWords& Words() const { return words_; }

signals:
    void historyChanged();
    // A journal record could not be written (the write itself went on).
    void journalFailed();
    // The journal at `path` did not reach the disk (a failed or a hung sync) before the next
    // write: that write was not sent, and the writes after it go on without a journal until
    // the next connection.
    void journalNotOnDisk(const QString& path);

private:
    // The journal's record of a write, but for its outcome.
    JournalRecord RecordOf(bool live, uint8_t address, uint16_t sent);
    // Made while the write's reply is on its way; OnExchange then adds the outcome.
    void Prepare(uint8_t command, uint8_t address, uint16_t value);
    void OnExchange(const ExchangeRecord& record);
    void Journal(const JournalRecord& record);
    void CloseAction();
    // Before a write: waits, bounded, until the journal of the actions before is on the disk;
    // false when it is not, and the write must not go out.
    bool JournalOnDisk();
    void StopJournal();

    ControllerLink& link_;
    WriteOperations& operations_;
    JournalFeed feed_;
    ExchangeObservers::Subscription subscription_;
    ConnectionWords words_;
    UndoHistory history_;
    bool attempting_ = false;
    bool connected_ = false;
    bool closeQueued_ = false;
    bool journalStopped_ = false; // after a failure, until the next connection
    bool holdingAction_ = false;  // the writes of the action whose journal failed
    std::function<bool()> gestureContinues_;
    QString serial_;
    QString journalRoot_;
    std::vector<JournalRecord> pending_; // the connection's own writes, before the serial
    ChangeJournal::Writer journal_;
    LocalSecondClock clock_;
    struct Prepared {
        bool live;
        JournalRecord record;
    };
    std::optional<Prepared> prepared_; // for the write in progress
};

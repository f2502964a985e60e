#pragma once
// Where one station's numbers and unit records go, on the station's thread: the line's tables
// in the embedded store, or in the shared one with this PC's spool beside it. A shared store
// that failed is connected to anew at its next use; a record that cannot reach it waits in
// the spool and goes with the next one that can.

#include "ControllerIdentity.h"
#include "LineAttempt.h"
#include "StoreDatabase.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class LineSpool;
class LineStore;
struct UnitRecord;

// The store a line works with; fixed while it runs.
struct LineStoreUse {
    StorePlace place;
    QString spoolPath; // this PC's spool, for a shared store
    QString pc;        // the name this PC's records carry
    // The stations of one line send what waits in their spool one at a time.
    std::shared_ptr<std::mutex> spoolTurn = std::make_shared<std::mutex>();
};

namespace StoreText {
// What a unit and its station say when the shared store cannot be reached.
inline const QString Unreachable = QStringLiteral("номер не выдан: база недоступна");
} // namespace StoreText

LineAttempt AttemptOf(const UnitRecord& record, const QString& pc);
UnitRecord RecordOf(const LineAttempt& attempt);

class StationStore {
public:
    explicit StationStore(const LineStoreUse& use);
    ~StationStore();
    StationStore(const StationStore&) = delete;
    StationStore& operator=(const StationStore&) = delete;

    bool Shared() const { return use_.place.kind == StorePlace::Kind::Shared; }
    const QString& Pc() const { return use_.pc; }

    // The register a numbering takes its number from, for the unit `record` (its uid and
    // station); the number taken is put in `record`'s numberTaken. Its take throws
    // StoreError: Unreachable when the shared store cannot be reached.
    ControllerIdentity::NumberRegister Register(UnitRecord& record);

    // The attempts of the unit holding `serial` so far, as far as they can be known now.
    int EarlierAttempts(const QString& serial);

    // Keeps a finished unit's record: in the embedded store at once, or in the spool first
    // and then sent with whatever waits. Kept again, a record brings its label's state. Throws
    // StoreError only when it could not be kept.
    void Keep(const UnitRecord& record);
    // The label of a unit printed again from the day's report, whose row knows no uid: the
    // store's last good attempt of its serial takes it. Throws StoreError when not kept.
    void KeepReprint(const UnitRecord& record);
    // Sends what waits in the spool, if the shared store can be reached; never throws.
    void SendWaiting();

private:
    LineStore& Open();
    void Close();
    // Runs `work` on the store; a shared store that fails is connected to once more and the
    // work tried again there, so a server that restarted is used at once.
    template <typename Work> auto Use(Work work);

    const LineStoreUse use_;
    std::unique_ptr<StoreDatabase> db_;
    std::unique_ptr<LineStore> store_;
    std::unique_ptr<LineSpool> spool_;
};

#include "StationStore.h"

#include "LineReport.h"
#include "LineSchema.h"
#include "LineSpool.h"
#include "LineStore.h"

LineAttempt AttemptOf(const UnitRecord& r, const QString& pc) {
    LineAttempt a;
    a.uid = r.uid;
    a.time = r.time;
    a.pc = pc;
    a.station = r.station;
    a.operatorName = r.operatorName;
    a.serial = r.serial;
    a.made = r.date;
    a.referenceName = r.referenceName;
    a.referenceSha256 = r.referenceSha256;
    a.good = r.good;
    a.reason = r.reason;
    a.differed = r.differed;
    a.durationMs = r.durationMs;
    a.attempt = r.attempt;
    a.numberTaken = r.numberTaken;
    a.label = LabelOutcome::PrintingText(r.label.printing);
    a.labelCheck = LabelOutcome::CheckText(r.label.check);
    a.labelReprints = r.label.reprints;
    return a;
}

UnitRecord RecordOf(const LineAttempt& a) {
    UnitRecord r;
    r.uid = a.uid;
    r.time = a.time;
    r.station = a.station;
    r.operatorName = a.operatorName;
    r.serial = a.serial;
    r.date = a.made;
    r.referenceName = a.referenceName;
    r.referenceSha256 = a.referenceSha256;
    r.good = a.good;
    r.reason = a.reason;
    r.differed = a.differed;
    r.durationMs = a.durationMs;
    r.attempt = a.attempt;
    r.numberTaken = a.numberTaken;
    r.label = {LabelOutcome::PrintingOf(a.label), LabelOutcome::CheckOf(a.labelCheck),
               a.labelReprints};
    return r;
}

StationStore::StationStore(const LineStoreUse& use) : use_(use) {}

StationStore::~StationStore() {
    Close();
}

LineStore& StationStore::Open() {
    if (!store_) {
        db_ =
            std::make_unique<StoreDatabase>(use_.place, std::vector<const Schema*>{&LineSchema()});
        store_ = std::make_unique<LineStore>(*db_);
    }
    return *store_;
}

void StationStore::Close() {
    store_.reset();
    db_.reset();
}

template <typename Work> auto StationStore::Use(Work work) {
    try {
        return work(Open());
    } catch (const StoreError&) {
        if (!Shared())
            throw;
        Close();
    }
    try {
        return work(Open());
    } catch (const StoreError&) {
        Close();
        throw;
    }
}

ControllerIdentity::NumberRegister StationStore::Register(UnitRecord& record) {
    ControllerIdentity::NumberRegister numbers;
    numbers.take = [this, &record](const QString& product, const QString& logNext) {
        const LineAttempt attempt = AttemptOf(record, use_.pc);
        const int sequence =
            Use([&](LineStore& store) { return store.Take(product, logNext.toInt(), attempt); });
        record.numberTaken = LineStore::SerialOf(product, sequence);
        return QStringLiteral("%1").arg(sequence, 5, 10, QLatin1Char('0'));
    };
    numbers.settled = [this, &record](const QByteArray&, bool numbered) {
        // The unit's record settles the number in any case; this only tells sooner.
        if (!numbered || record.numberTaken.isEmpty() || !store_)
            return;
        try {
            store_->SetState(record.numberTaken, NumberState::Written);
        } catch (const StoreError&) {
            if (Shared())
                Close();
        }
    };
    return numbers;
}

int StationStore::EarlierAttempts(const QString& serial) {
    int earlier = 0;
    try {
        earlier = Use([&](LineStore& store) { return store.AttemptsOf(serial); });
    } catch (const StoreError&) {
    }
    if (Shared() && spool_)
        for (const LineAttempt& waiting : spool_->Pending())
            earlier += waiting.serial == serial ? 1 : 0;
    return earlier;
}

void StationStore::Keep(const UnitRecord& record) {
    const LineAttempt attempt = AttemptOf(record, use_.pc);
    if (!Shared()) {
        Open().Record(attempt);
        return;
    }
    if (!spool_)
        spool_ = std::make_unique<LineSpool>(use_.spoolPath);
    spool_->Put(attempt);
    SendWaiting();
}

void StationStore::KeepReprint(const UnitRecord& record) {
    const LineAttempt attempt = AttemptOf(record, use_.pc);
    SendWaiting(); // the unit's own record first, if it still waits
    if (!Use([&](LineStore& store) { return store.Relabel(attempt); }))
        throw StoreError(
            StoreError::Kind::Failed,
            QStringLiteral("прибор %1 не найден в базе линии").arg(record.serial.trimmed()));
}

void StationStore::SendWaiting() {
    if (!Shared())
        return;
    const std::unique_lock turn(*use_.spoolTurn, std::try_to_lock);
    if (!turn.owns_lock())
        return; // another station of the line is sending them
    try {
        if (!spool_)
            spool_ = std::make_unique<LineSpool>(use_.spoolPath);
        if (spool_->Waiting() > 0)
            Use([&](LineStore& store) { return spool_->Drain(store); });
    } catch (const StoreError&) {
    }
}

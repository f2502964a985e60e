#pragma once
// The production line's numbers and unit attempts in an open store (LineSchema), on the
// thread that opened it. Every change is one transaction: a number is taken together with the
// record of its reservation, an attempt is recorded together with its number's state and its
// day's counts, or nothing is.

#include "LineAttempt.h"
#include "StoreDatabase.h"

#include <QDateTime>

#include <optional>
#include <vector>

class LineStore {
public:
    static constexpr int FirstSequence = 114; // as the first number of a new production log
    static constexpr int LastSequence = 65535;

    // `store` was opened with LineSchema() and outlives this.
    explicit LineStore(StoreDatabase& store);

    StoreDatabase& Database() { return store_; }

    // Takes the next sequence number of `product` (a serial's first 19 characters), never one
    // below `floor`, and records its serial number reserved for `attempt` (its uid, PC and
    // station) in the same transaction. Throws StoreError; nothing is taken then.
    int Take(const QString& product, int floor, const LineAttempt& attempt);
    // A number's serial as the store records it: the product, then five digits.
    static QString SerialOf(const QString& product, int sequence);

    void SetState(const QString& serial, NumberState state);
    std::optional<NumberState> StateOf(const QString& serial) const;

    // Records a finished attempt, with its number's new state (Confirmed for a good unit,
    // Abandoned for a failed one that took it) and its day's counts. False when an attempt of
    // the same uid is recorded already: only its label's cells are taken then. Throws
    // StoreError.
    bool Record(const LineAttempt& attempt);

    // The label's cells of the last good attempt of the unit holding `attempt.serial`, for a
    // label printed again from a day's report, whose rows do not know their attempt's uid.
    // False when no good attempt of it is recorded. Throws StoreError.
    bool Relabel(const LineAttempt& attempt);

    // How many attempts of the unit holding `serial` are recorded.
    int AttemptsOf(const QString& serial) const;
    // The attempts whose results were known from `from` up to `to`, in that order.
    std::vector<LineAttempt> Attempts(const QDateTime& from, const QDateTime& to) const;

private:
    std::optional<int> TakeInOneStatement(const QString& product, int least,
                                          const LineAttempt& attempt);

    StoreDatabase& store_;
};

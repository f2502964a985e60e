#pragma once
// One unit on one station, from the controller's first answer to its result: identity,
// numbering of an un-numbered controller, the reference words written and every one read
// back, the live limits. Runs on the station's thread in the unit's own session, over the
// station's link; each exchange blocks. Every write of the unit goes into the journal of the
// serial number it ends with, under one operation "Линия". An abort asked for from another
// thread ends the unit before its next exchange.

#include "ControllerIdentity.h"
#include "LineJob.h"
#include "LineReport.h"

#include <atomic>
#include <cstdint>
#include <functional>

class ControllerLink;
class ControllerSession;
class StationStore;

namespace UnitReason {
inline const QString Interrupted = QStringLiteral("прервано");
inline const QString ForeignIdentity = QStringLiteral("не Tarvik-Q5");
inline const QString Damaged = QStringLiteral("номер повреждён: ");
} // namespace UnitReason

// What the journal names every write of a unit with.
inline const QString LineOperation = QStringLiteral("Линия");

// The words read back otherwise than written, one row of the comparison each, by the caption
// a technician knows the word by and both values as the window shows them.
QString DifferedText(const SettingsRecords::Words& written, const SettingsRecords::Words& read);

class UnitWork {
public:
    using StepListener = std::function<void(const QString& step, const QString& serial)>;

    // `session` is the unit's, fresh: its controller is not connected yet. With a `store`
    // the number comes from it and the unit's earlier attempts are looked up there; while a
    // shared store cannot be reached the numbering waits for it, until `stop` or an abort.
    UnitWork(ControllerSession& session, const LineJob& job, const std::atomic<bool>& abort,
             StationStore* store = nullptr, const std::atomic<bool>* stop = nullptr);

    // The unit whose identity word answered `identity`; the record lacks only time and
    // station. `step` hears each step as it begins.
    UnitRecord Run(uint16_t identity, const StepListener& step);

    // The sequence digits (addresses 20..24) the controller was last read holding; empty
    // when they were never read whole.
    const QByteArray& HeldSequence() const { return heldSequence_; }
    // 2, 3, … once the unit is known to have been tried before.
    int Attempt() const { return attempt_; }

private:
    uint16_t Exchange(uint8_t command, uint8_t address, uint16_t value);
    bool TryExchange(uint8_t command, uint8_t address, uint16_t value, uint16_t& reply);
    void Identify(UnitRecord& record, const StepListener& step);
    ControllerIdentity::Numbering NumberUnit(UnitRecord& record, const StepListener& step,
                                             const ControllerIdentity::Exchange& exchange,
                                             const ControllerIdentity::Text& serial,
                                             const ControllerIdentity::Text& date);
    // Waits a while for a shared store that cannot be reached, saying so; the unit ends when
    // it is stopped or pulled meanwhile.
    void AwaitStore(const StepListener& step, const QString& serial);
    void Hold(const ControllerIdentity::Text& serial);
    void WriteReference();
    QStringList ReadBack(QString& differed);
    QStringList CheckLimits();
    // The unit's writes so far go into the journal of this serial number, the later ones too.
    void JournalAs(const QString& serial);

    ControllerSession& session_;
    ControllerLink& link_;
    const LineJob& job_;
    const std::atomic<bool>& abort_;
    StationStore* const store_;
    const std::atomic<bool>* const stop_;
    int attempt_ = 1;
    bool journaled_ = false;
    QByteArray heldSequence_;
};

#pragma once
// One unit on one station, from the controller's first answer to its result: identity,
// numbering of an un-numbered controller, the reference words written and every one read
// back, the live limits. Runs on the station's thread over the station's link; each exchange
// blocks. An abort asked for from another thread ends the unit before its next exchange.

#include "ControllerIdentity.h"
#include "LineJob.h"
#include "LineReport.h"

#include <atomic>
#include <cstdint>
#include <functional>

class ControllerLink;

namespace UnitReason {
inline const QString Interrupted = QStringLiteral("прервано");
inline const QString ForeignIdentity = QStringLiteral("не Tarvik-Q5");
inline const QString Damaged = QStringLiteral("номер повреждён: ");
} // namespace UnitReason

class UnitWork {
public:
    using StepListener = std::function<void(const QString& step, const QString& serial)>;

    UnitWork(ControllerLink& link, const LineJob& job, const std::atomic<bool>& abort);

    // The unit whose identity word answered `identity`; the record lacks only time and
    // station. `step` hears each step as it begins.
    UnitRecord Run(uint16_t identity, const StepListener& step);

    // The sequence digits (addresses 20..24) the controller was last read holding; empty
    // when they were never read whole.
    const QByteArray& HeldSequence() const { return heldSequence_; }

private:
    uint16_t Exchange(uint8_t command, uint8_t address, uint16_t value);
    bool TryExchange(uint8_t command, uint8_t address, uint16_t value, uint16_t& reply);
    void Identify(UnitRecord& record, const StepListener& step);
    void Hold(const ControllerIdentity::Text& serial);
    void WriteReference();
    QStringList ReadBack(QString& differed);
    QStringList CheckLimits();

    ControllerLink& link_;
    const LineJob& job_;
    const std::atomic<bool>& abort_;
    QByteArray heldSequence_;
};

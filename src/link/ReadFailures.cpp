#include "ReadFailures.h"

#include "ControllerLink.h"
#include "Protocol.h"

ReadFailures::ReadFailures(ControllerLink& link)
    : subscription_(link.Observe([this](const ExchangeRecord& record) { Observe(record); })) {}

void ReadFailures::Observe(const ExchangeRecord& record) {
    if (ControllerLink::IsWrite(record.command))
        return;
    const bool good = record.outcome == ExchangeOutcome::Success;
    count_ += good ? 0 : 1;
    if (record.command != CmdReadParam)
        return;
    if (good)
        unread_.erase(record.address);
    else
        unread_.insert(record.address);
}

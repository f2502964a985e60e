#include "ConnectionWords.h"

#include "Protocol.h"

void ConnectionWords::Forget() {
    firstRead_.fill(std::nullopt);
    knownParam_.fill(std::nullopt);
    knownLive_.fill(std::nullopt);
}

void ConnectionWords::Observe(const ExchangeRecord& record) {
    const bool success = record.outcome == ExchangeOutcome::Success;
    switch (record.command) {
    case CmdReadParam:
        if (!success)
            return;
        if (!firstRead_[record.address])
            firstRead_[record.address] = SettingsRecords::Entry{record.reply, record.replyChecksum};
        knownParam_[record.address] = record.reply;
        return;
    case CmdReadLive:
        if (success)
            knownLive_[record.address] = record.reply;
        return;
    case CmdWriteParam:
        knownParam_[record.address] = success ? std::optional<uint16_t>(record.sent) : std::nullopt;
        return;
    case CmdWriteLive:
        knownLive_[record.address] = success ? std::optional<uint16_t>(record.sent) : std::nullopt;
        return;
    default:
        return;
    }
}

std::optional<SettingsRecords::Entry> ConnectionWords::FirstRead(uint8_t address) const {
    return firstRead_[address];
}

std::optional<uint16_t> ConnectionWords::Known(bool live, uint8_t address) const {
    return live ? knownLive_[address] : knownParam_[address];
}

#include "LivePoller.h"

#include "Protocol.h"

#include <array>

namespace {

struct Readings {
    std::array<LivePoller::Reading, 256> latest{};
    uint64_t count = 0;
};

Readings& Kept() {
    static Readings readings;
    return readings;
}

} // namespace

namespace LivePoller {

std::optional<uint16_t> Read(uint8_t address) {
    std::optional<uint16_t> word;
    if (SendCommand(CmdReadLive, address, 0))
        word = ReplyValue();
    Readings& kept = Kept();
    kept.latest[address] = {++kept.count, std::chrono::steady_clock::now(), word};
    return word;
}

const Reading& Latest(uint8_t address) {
    return Kept().latest[address];
}

} // namespace LivePoller

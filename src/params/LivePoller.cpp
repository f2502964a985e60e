#include "LivePoller.h"

#include "ControllerLink.h"
#include "Protocol.h"

std::optional<uint16_t> LivePoller::Read(uint8_t address) {
    std::optional<uint16_t> word;
    if (link_.SendCommand(CmdReadLive, address, 0))
        word = link_.ReplyValue();
    latest_[address] = {++count_, std::chrono::steady_clock::now(), word};
    return word;
}

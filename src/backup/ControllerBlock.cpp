#include "ControllerBlock.h"

#include "ControllerLink.h"
#include "NoReplyError.h"
#include "WordRead.h"

namespace ControllerBlock {

SettingsRecords::Entries Read(ControllerLink& link) {
    const WordRead::Exchange exchange = [&link](uint8_t command, uint8_t address, uint16_t value,
                                                uint16_t& reply) {
        const bool valid = link.SendCommand(command, address, value);
        reply = link.ReplyValue();
        return valid;
    };
    SettingsRecords::Entries entries{};
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        uint16_t word = 0;
        if (!WordRead::Read(exchange, static_cast<uint8_t>(SettingsRecords::FirstAddress + i),
                            word))
            throw ENoReply();
        entries[static_cast<std::size_t>(i)] = {word, link.ReplyFrame()[Frame::Size - 1]};
    }
    return entries;
}

} // namespace ControllerBlock

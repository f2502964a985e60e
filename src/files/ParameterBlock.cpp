#include "ParameterBlock.h"

#include "NoReplyError.h"
#include "Protocol.h"

namespace ParameterBlock {

namespace {
constexpr int ReplyChecksumByte = Frame::Size - 1;

uint8_t AddressOf(int index) {
    return static_cast<uint8_t>(SettingsRecords::FirstAddress + index);
}
} // namespace

SettingsRecords::Entries Read() {
    SettingsRecords::Entries entries{};
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        if (!SendCommand(CmdReadParam, AddressOf(i), 0))
            throw ENoReply();
        entries[static_cast<std::size_t>(i)] = {ReplyValue(), ReplyFrame()[ReplyChecksumByte]};
    }
    return entries;
}

void Write(const SettingsRecords::Words& words) {
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        if (!SendCommand(CmdWriteParam, AddressOf(i), words[static_cast<std::size_t>(i)]))
            throw EWriteStopped(static_cast<std::size_t>(i), SettingsRecords::Count);
    }
}

} // namespace ParameterBlock

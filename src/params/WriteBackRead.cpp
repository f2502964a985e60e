#include "WriteBackRead.h"

#include "Protocol.h"

std::optional<uint16_t> ReadForWriteBack(uint8_t address) {
    if (!SendCommand(CmdReadParam, address, 0))
        return std::nullopt;
    return ReplyValue();
}

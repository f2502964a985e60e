#include "Protocol.h"

#include "Comm_Fun.h"

#include <utility>

Frame::Bytes ReplyFrame{};

namespace {
std::function<void()> captionResetHook;
}

void SetCaptionResetHook(std::function<void()> hook) { captionResetHook = std::move(hook); }

uint16_t ReplyValue() { return Frame::Word(ReplyFrame); }

bool SendCommand(uint8_t command, uint8_t address, uint16_t value) {
    if (command == CmdWriteParam && captionResetHook)
        captionResetHook();
    const Frame::Bytes request = Frame::Build(command, address, value);
    Comm_Fun::WritePort(request.data(), Frame::Size);
    const int32_t received = Comm_Fun::ReadPort(ReplyFrame.data(), Frame::Size);
    if (received != Frame::Size)
        return false;
    return Frame::ChecksumOk(ReplyFrame);
}

long double ReplyAsNumber() { return static_cast<long double>(ReplyValue()); }

bool ReplyLowByteSet() { return (ReplyValue() & 0xFF) != 0; }

long double ReplyCorrectionPercent() {
    const int difference = static_cast<int>(ReplyValue()) - 1024;
    return static_cast<long double>(difference) / 10;
}

long double ReplyThousandths() { return static_cast<long double>(ReplyValue()) / 1000; }

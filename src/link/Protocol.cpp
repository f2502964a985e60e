#include "Protocol.h"

#include "Comm_Fun.h"
#include "ExchangeObserver.h"

#include <utility>

Frame::Bytes ReplyFrame{};

namespace {

std::function<void()> captionResetHook;

// A garbled reply is asked for again this many times; silence is not.
constexpr int GarbledRetries = 2;

bool Garbled(ExchangeOutcome outcome) {
    return outcome == ExchangeOutcome::BadChecksum || outcome == ExchangeOutcome::Short ||
           outcome == ExchangeOutcome::Long;
}

// One request and its reply, from an empty input queue: whatever came too late for an
// earlier exchange is not taken for this one's reply.
ExchangeOutcome Attempt(const Frame::Bytes& request) {
    Comm_Fun::EmptyInputQueue();
    Comm_Fun::WritePort(request.data(), Frame::Size);
    const int32_t received = Comm_Fun::ReadPort(ReplyFrame.data(), Frame::Size);
    if (!Comm_Fun::PortOpened())
        return ExchangeOutcome::PortGone;
    if (received == 0)
        return ExchangeOutcome::NoReply;
    if (received < Frame::Size)
        return ExchangeOutcome::Short;
    if (received > Frame::Size)
        return ExchangeOutcome::Long;
    return Frame::ChecksumOk(ReplyFrame) ? ExchangeOutcome::Success : ExchangeOutcome::BadChecksum;
}

} // namespace

void SetCaptionResetHook(std::function<void()> hook) {
    captionResetHook = std::move(hook);
}

uint16_t ReplyValue() {
    return Frame::Word(ReplyFrame);
}

bool SendCommand(uint8_t command, uint8_t address, uint16_t value) {
    if (command == CmdWriteParam && captionResetHook)
        captionResetHook();
    const Frame::Bytes request = Frame::Build(command, address, value);
    ExchangeOutcome outcome = ExchangeOutcome::PortGone;
    int attempts = 0;
    while (Comm_Fun::PortOpened() && attempts <= GarbledRetries) {
        ++attempts;
        outcome = Attempt(request);
        if (!Garbled(outcome))
            break;
    }
    if (ExchangeObservers::Listening())
        ExchangeObservers::Publish({command, address, value, ReplyValue(),
                                    ReplyFrame[Frame::Size - 1], outcome,
                                    std::chrono::steady_clock::now(), attempts});
    return outcome == ExchangeOutcome::Success;
}

long double ReplyAsNumber() {
    return static_cast<long double>(ReplyValue());
}

bool ReplyLowByteSet() {
    return (ReplyValue() & 0xFF) != 0;
}

long double ReplyCorrectionPercent() {
    const int difference = static_cast<int>(ReplyValue()) - 1024;
    return static_cast<long double>(difference) / 10;
}

long double ReplyThousandths() {
    return static_cast<long double>(ReplyValue()) / 1000;
}

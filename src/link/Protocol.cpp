#include "Protocol.h"

#include "Comm_Fun.h"
#include "ExchangeObserver.h"

#include <utility>

Frame::Bytes ReplyFrame{};

namespace {

std::function<void()> captionResetHook;
bool writesHeld = false;

// A garbled reply is asked for again this many times; silence is not.
constexpr int GarbledRetries = 2;

bool Garbled(ExchangeOutcome outcome) {
    return outcome == ExchangeOutcome::BadChecksum || outcome == ExchangeOutcome::Short ||
           outcome == ExchangeOutcome::Long;
}

ExchangeOutcome OutcomeOf(int32_t received) {
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

// One request and the reply that arrives within its window, on a settled line: a reply that
// came too late for an earlier exchange is never taken for this one's. A line that keeps
// talking gets no request and counts as a long reply.
ExchangeOutcome Attempt(const Frame::Bytes& request) {
    if (!Comm_Fun::SettleLine())
        return Comm_Fun::PortOpened() ? ExchangeOutcome::Long : ExchangeOutcome::PortGone;
    Comm_Fun::WritePort(request.data(), Frame::Size);
    const ExchangeOutcome outcome = OutcomeOf(Comm_Fun::ReadPort(ReplyFrame.data(), Frame::Size));
    if (outcome != ExchangeOutcome::Success)
        Comm_Fun::MarkUnsettled();
    return outcome;
}

bool IsWrite(uint8_t command) {
    return command == CmdWriteParam || command == CmdWriteLive;
}

} // namespace

void SetCaptionResetHook(std::function<void()> hook) {
    captionResetHook = std::move(hook);
}

uint16_t ReplyValue() {
    return Frame::Word(ReplyFrame);
}

void HoldWrites(bool held) {
    writesHeld = held;
}

bool WritesHeld() {
    return writesHeld;
}

bool SendCommand(uint8_t command, uint8_t address, uint16_t value) {
    if (writesHeld && IsWrite(command))
        return false;
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

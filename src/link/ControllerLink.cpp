#include "ControllerLink.h"

#include "Protocol.h"

#include <chrono>
#include <utility>

namespace {

// A garbled reply is asked for again this many times; silence is not.
constexpr int GarbledRetries = 2;

bool Garbled(ExchangeOutcome outcome) {
    return outcome == ExchangeOutcome::BadChecksum || outcome == ExchangeOutcome::Short ||
           outcome == ExchangeOutcome::Long;
}

} // namespace

ControllerLink::ControllerLink() = default;

ControllerLink::~ControllerLink() = default;

bool ControllerLink::Open(const QString& device, int32_t baudRate) {
    return line_.Open(device, baudRate);
}

bool ControllerLink::Open(const QString& device, int32_t baudRate, SerialLine::Refusal* refusal) {
    return line_.Open(device, baudRate, refusal);
}

void ControllerLink::Close() {
    line_.Close();
}

bool ControllerLink::Opened() const {
    return line_.Opened();
}

bool ControllerLink::Lost() const {
    return line_.Lost();
}

bool ControllerLink::ReopenLost() {
    return line_.ReopenLost();
}

QString ControllerLink::Device() const {
    return line_.Device();
}

void ControllerLink::SetDtrLine() {
    line_.SetDtr();
}

void ControllerLink::ClearRtsLine() {
    line_.ClearRts();
}

uint16_t ControllerLink::ReplyValue() const {
    return Frame::Word(reply_);
}

const Frame::Bytes& ControllerLink::ReplyFrame() const {
    return reply_;
}

void ControllerLink::HoldWrites(bool held) {
    writesHeld_ = held;
}

bool ControllerLink::WritesHeld() const {
    return writesHeld_;
}

ExchangeObservers::Subscription ControllerLink::Observe(ExchangeObservers::Observer observer) {
    return observers_.Add(std::move(observer));
}

bool ControllerLink::IsWrite(uint8_t command) {
    return command == CmdWriteParam || command == CmdWriteLive;
}

ExchangeOutcome ControllerLink::OutcomeOf(int32_t received) const {
    if (!line_.Opened())
        return ExchangeOutcome::PortGone;
    if (received == 0)
        return ExchangeOutcome::NoReply;
    if (received < Frame::Size)
        return ExchangeOutcome::Short;
    if (received > Frame::Size)
        return ExchangeOutcome::Long;
    return Frame::ChecksumOk(reply_) ? ExchangeOutcome::Success : ExchangeOutcome::BadChecksum;
}

// One request and the reply that arrives within its window, on a settled line: a reply that
// came too late for an earlier exchange is never taken for this one's. A line that keeps
// talking gets no request and counts as a long reply. Only a request that went out whole is
// announced and counted in `sent`.
ExchangeOutcome ControllerLink::Attempt(const Frame::Bytes& request, int& sent) {
    if (!line_.Settle())
        return line_.Opened() ? ExchangeOutcome::Long : ExchangeOutcome::PortGone;
    if (!line_.Write(request.data(), Frame::Size)) {
        // A part of it may be on the line: the controller may still answer it.
        line_.MarkUnanswered();
        return line_.Opened() ? ExchangeOutcome::NotSent : ExchangeOutcome::PortGone;
    }
    if (sent++ == 0 && writeSent_ && IsWrite(request[0]))
        writeSent_(request[0], request[1], Frame::Word(request));
    RunAwaitingWork();
    const ExchangeOutcome outcome = OutcomeOf(line_.Read(reply_.data(), Frame::Size));
    // A garbled reply is this request's answer, damaged; silence may be an answer on its way.
    if (outcome == ExchangeOutcome::NoReply)
        line_.MarkUnanswered();
    else if (outcome != ExchangeOutcome::Success)
        line_.MarkUnsettled();
    return outcome;
}

ControllerLink::ReadRun::ReadRun(ControllerLink& link) : link_(link), outer_(link.readRun_) {
    link_.readRun_ = this;
}

ControllerLink::ReadRun::~ReadRun() {
    link_.readRun_ = outer_;
}

void ControllerLink::SetWriteGate(std::function<bool()> gate) {
    writeGate_ = std::move(gate);
}

void ControllerLink::SetWriteSent(WriteSent sent) {
    writeSent_ = std::move(sent);
}

void ControllerLink::WhileAwaitingReply(std::function<void()> work) {
    awaiting_.push_back(std::move(work));
}

void ControllerLink::RunAwaitingWork() {
    std::vector<std::function<void()>> work;
    work.swap(awaiting_);
    for (const std::function<void()>& item : work)
        item();
}

bool ControllerLink::SendCommand(uint8_t command, uint8_t address, uint16_t value) {
    if (IsWrite(command)) {
        if (writesHeld_ || (writeGate_ && !writeGate_()))
            return false;
    }
    const Frame::Bytes request = Frame::Build(command, address, value);
    ExchangeOutcome outcome = ExchangeOutcome::PortGone;
    int sent = 0;
    if (!IsWrite(command) && readRun_ && readRun_->failuresInRow_ >= FailuresToGiveUp) {
        outcome = ExchangeOutcome::Skipped;
    } else {
        for (int attempt = 0; line_.Opened() && attempt <= GarbledRetries; ++attempt) {
            outcome = Attempt(request, sent);
            if (!Garbled(outcome))
                break;
        }
        if (readRun_)
            readRun_->failuresInRow_ =
                outcome == ExchangeOutcome::Success ? 0 : readRun_->failuresInRow_ + 1;
    }
    if (observers_.Listening())
        observers_.Publish({command, address, value, ReplyValue(), reply_[Frame::Size - 1], outcome,
                            std::chrono::steady_clock::now(), sent});
    return outcome == ExchangeOutcome::Success;
}

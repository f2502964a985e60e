#include "FrameAudit.h"

#include <Protocol.h>

#include <QString>

#include <algorithm>
#include <optional>

namespace {

enum class Option { LowBit, NonZero, SliderPosition };

// The options that a read selects and whose handlers write the selection back.
struct WriteBackRule {
    uint8_t address;
    Option option;
};
constexpr WriteBackRule WriteBackRules[] = {
    {51, Option::LowBit},         // oxygen sensor, "есть" / "нет"
    {91, Option::NonZero},        // automatic slope correction
    {93, Option::NonZero},        // gas pressure sensor
    {97, Option::SliderPosition}, // damping slider, position + 1
};

std::optional<Option> OptionAt(uint8_t address) {
    for (const WriteBackRule& rule : WriteBackRules)
        if (rule.address == address)
            return rule.option;
    return std::nullopt;
}

uint16_t WrittenBack(Option option, uint16_t reply, SliderRange damping) {
    switch (option) {
    case Option::LowBit:
        return (reply & 1) != 0 ? 1 : 0;
    case Option::NonZero:
        return reply != 0 ? 1 : 0;
    case Option::SliderPosition:
        return static_cast<uint16_t>(
            std::clamp(static_cast<int>(reply) - 1, damping.minimum, damping.maximum) + 1);
    }
    return 0;
}

bool IsWrite(const q5emu::LoggedFrame& frame) {
    return frame.command == CmdWriteParam || frame.command == CmdWriteLive;
}

} // namespace

FrameAudit::FrameAudit(std::vector<q5emu::LoggedFrame> frames, const ControllerWords& start,
                       const FaultWindow& fault, SliderRange damping)
    : frames_(std::move(frames)), fault_(fault), damping_(damping), expected_(start),
      writeBack_(frames_.size(), false), replied_(frames_.size(), false),
      replyWord_(frames_.size(), 0) {
    replay();
}

size_t FrameAudit::framesHit() const {
    size_t count = 0;
    for (size_t i = 0; i < frames_.size(); ++i)
        count += fault_.hits(i) ? 1 : 0;
    return count;
}

// A frame that repeats the one before it is the same exchange asking again after a garbled
// reply, not a write of its own.
std::vector<size_t> FrameAudit::ownWrites() const {
    std::vector<size_t> writes;
    for (size_t i = 0; i < frames_.size(); ++i) {
        const bool retry = i > 0 && frames_[i].bytes == frames_[i - 1].bytes;
        if (IsWrite(frames_[i]) && !writeBack_[i] && !retry)
            writes.push_back(i);
    }
    return writes;
}

void FrameAudit::replay() {
    for (size_t i = 0; i < frames_.size(); ++i) {
        const q5emu::LoggedFrame& frame = frames_[i];
        if (fault_.silences(i))
            continue;
        replied_[i] = true;
        switch (frame.command) {
        case CmdReadLive:
            replyWord_[i] = expected_.live[frame.address];
            break;
        case CmdReadParam:
            replyWord_[i] = expected_.params[frame.address];
            break;
        case CmdWriteLive:
            replyWord_[i] = frame.value;
            expected_.live[frame.address] = frame.value;
            break;
        case CmdWriteParam:
            replyWord_[i] = frame.value;
            expected_.params[frame.address] = frame.value;
            break;
        default:
            break;
        }
    }
    for (size_t i = 1; i < frames_.size(); ++i) {
        const q5emu::LoggedFrame& frame = frames_[i];
        const q5emu::LoggedFrame& before = frames_[i - 1];
        writeBack_[i] = frame.command == CmdWriteParam && OptionAt(frame.address) &&
                        before.command == CmdReadParam && before.address == frame.address;
        if (writeBack_[i])
            checkWriteBack(i);
    }
}

// Only a reply that reached the program may choose what is written back, and only the reply
// of the read's own exchange: one that came late for an earlier exchange never counts.
void FrameAudit::checkWriteBack(size_t index) {
    const q5emu::LoggedFrame& frame = frames_[index];
    const Option option = *OptionAt(frame.address);
    if (fault_.hits(index - 1) ||
        frame.value != WrittenBack(option, replyWord_[index - 1], damping_))
        problems_ << QStringLiteral("frame %1: P%2 <- %3 after a read that got no such reply")
                         .arg(index)
                         .arg(frame.address)
                         .arg(frame.value);
}

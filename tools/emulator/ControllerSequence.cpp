#include "ControllerSequence.h"

#include <IdentityWords.h>

#include <charconv>
#include <string>

namespace q5emu {

namespace {

constexpr uint8_t CmdReadParam = 2, CmdWriteParam = 3;
// Windows-1251: "Тарвик-Q5 ГБО 2026 " before the sequence number.
constexpr std::string_view SerialHead = "\xD2\xE0\xF0\xE2\xE8\xEA-Q5 \xC3\xC1\xCE 2026 ";
static_assert(SerialHead.size() == 19);

// A station looking for its next unit reads the identity word and the sequence digits.
bool IsProbe(uint8_t address) {
    using IdentityWords::FirstSequenceAddress;
    return address == IdentityWords::Address ||
           (address >= FirstSequenceAddress &&
            address < FirstSequenceAddress + IdentityWords::SequenceLength);
}

std::optional<uint16_t> ParseArgument(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

std::optional<ScriptedUnit> ParseUnit(std::string_view item) {
    if (item == "numbered")
        return ScriptedUnit{UnitKind::Numbered, 0};
    if (item == "new")
        return ScriptedUnit{UnitKind::Unnumbered, 0};
    if (item == "again")
        return ScriptedUnit{UnitKind::Again, 0};
    const size_t equals = item.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = item.substr(0, equals);
    const std::optional<uint16_t> argument = ParseArgument(item.substr(equals + 1));
    if (!argument)
        return std::nullopt;
    if (name == "identity")
        return ScriptedUnit{UnitKind::OtherIdentity, *argument};
    if (name == "silent")
        return ScriptedUnit{UnitKind::SilentMidWrite, *argument};
    if (name == "cut")
        return ScriptedUnit{UnitKind::CutMidNumbering, *argument};
    if (name == "nostore" && *argument <= 255)
        return ScriptedUnit{UnitKind::NoStore, *argument};
    if (name == "pulled")
        return ScriptedUnit{UnitKind::Pulled, *argument};
    return std::nullopt;
}

} // namespace

std::optional<std::vector<ScriptedUnit>> ParseSequence(std::string_view text) {
    std::vector<ScriptedUnit> units;
    for (;;) {
        const size_t comma = text.find(',');
        const std::optional<ScriptedUnit> unit = ParseUnit(text.substr(0, comma));
        if (!unit)
            return std::nullopt;
        units.push_back(*unit);
        if (comma == std::string_view::npos)
            return units;
        text = text.substr(comma + 1);
    }
}

ControllerSequence::ControllerSequence(EmulatorOptions options, std::vector<ScriptedUnit> units,
                                       SequenceTiming timing)
    : Q5Emulator(std::move(options)), blank_(state_), units_(std::move(units)), timing_(timing) {
    std::lock_guard lock(mutex_);
    plugIn(Clock::now());
}

ControllerSequence::~ControllerSequence() {
    stop();
}

std::string ControllerSequence::NumberedSerial(size_t index) {
    const std::string sequence = std::to_string(200 + index % 60000);
    return std::string(SerialHead) + std::string(5 - sequence.size(), '0') + sequence;
}

size_t ControllerSequence::arrived() const {
    std::lock_guard lock(mutex_);
    return arrived_;
}

bool ControllerSequence::finished() {
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    return !present_ && arrived_ == units_.size();
}

void ControllerSequence::pull() {
    std::lock_guard lock(mutex_);
    const Clock::time_point now = Clock::now();
    advance(now);
    if (present_)
        leave(now);
}

void ControllerSequence::plugIn(Clock::time_point now) {
    if (arrived_ == units_.size())
        return;
    const ScriptedUnit& unit = units_[arrived_];
    if (unit.kind != UnitKind::Again) {
        state_ = blank_;
        const bool unnumbered =
            unit.kind == UnitKind::Unnumbered || unit.kind == UnitKind::CutMidNumbering;
        state_.writeText(IdentityWords::FirstSerialAddress,
                         unnumbered ? std::string(SerialHead) + "00000" : NumberedSerial(arrived_));
    }
    if (unit.kind == UnitKind::OtherIdentity)
        state_.write(Space::Param, IdentityWords::Address, unit.argument);
    ++arrived_;
    present_ = true;
    paramWrites_ = 0;
    lastWork_ = now;
}

void ControllerSequence::leave(Clock::time_point now) {
    present_ = false;
    nextArrival_ = now + timing_.gap;
}

void ControllerSequence::advance(Clock::time_point now) {
    if (present_ && now - lastWork_ >= timing_.linger)
        leave(lastWork_ + timing_.linger);
    if (!present_ && arrived_ < units_.size() && now >= nextArrival_)
        plugIn(now);
}

ControllerLine::Reply ControllerSequence::answer(const Frame::Bytes& request) {
    const Clock::time_point now = Clock::now();
    advance(now);
    if (!present_)
        return {};
    const uint8_t command = request[0];
    const uint8_t address = request[1];
    if (!(command == CmdReadParam && IsProbe(address)))
        lastWork_ = now;
    const ScriptedUnit& unit = units_[arrived_ - 1];
    if (command == CmdWriteParam) {
        ++paramWrites_;
        if (unit.kind == UnitKind::Pulled && paramWrites_ >= unit.argument) {
            hangUpAfterFrame();
            leave(now);
            return {};
        }
    }
    if ((unit.kind == UnitKind::SilentMidWrite || unit.kind == UnitKind::CutMidNumbering) &&
        paramWrites_ > unit.argument)
        return {};
    if (unit.kind == UnitKind::NoStore && command == CmdWriteParam && address == unit.argument) {
        const uint16_t kept = state_.read(Space::Param, address, 0);
        Reply reply = Q5Emulator::answer(request);
        state_.write(Space::Param, address, kept);
        return reply;
    }
    return Q5Emulator::answer(request);
}

} // namespace q5emu

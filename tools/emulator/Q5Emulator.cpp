#include "Q5Emulator.h"

#include "ScriptedDrive.h"
#include "WordsFile.h"

#include <array>

namespace q5emu {

namespace {

// Bytes that a long reply drags behind it.
constexpr std::array<uint8_t, 2> TrailingNoise{0xA5, 0x5A};

} // namespace

Q5Emulator::Q5Emulator(EmulatorOptions options)
    : ControllerLine(options.replyDelay), fault_(options.fault) {
    setZeroHead(options.zeroHead);
    if (!options.wordsFile.empty())
        for (const WordAssignment& word : LoadWordsFile(options.wordsFile))
            state_.write(word.space, word.address, word.value);
    if (options.identity)
        state_.write(Space::Param, IdentityWords::Address, *options.identity);
    if (options.driveSpeed)
        startDrive(*options.driveSpeed);
}

void Q5Emulator::startDrive(double speed, double fromSeconds) {
    {
        std::lock_guard lock(mutex_);
        driveSpeed_ = speed;
        driveFrom_ = fromSeconds;
    }
    setEngine([speed, fromSeconds](uint8_t address, const WordSpace& params, double seconds) {
        return drive::DriveWord(address, params, fromSeconds + seconds * speed);
    });
}

double Q5Emulator::driveSeconds() const {
    const double seconds = engineTime();
    std::lock_guard lock(mutex_);
    return driveFrom_ + seconds * driveSpeed_;
}

// The serving thread calls answer(): it ends before this class's members go.
Q5Emulator::~Q5Emulator() {
    stop();
}

void Q5Emulator::setFault(const FaultSpec& fault) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
    faultMatches_ = 0;
}

FaultSpec Q5Emulator::fault() const {
    std::lock_guard lock(mutex_);
    return fault_;
}

void Q5Emulator::replyNextWith(std::vector<uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    scriptedReplies_.push_back(std::move(bytes));
}

void Q5Emulator::sendRaw(std::vector<uint8_t> bytes) {
    {
        std::lock_guard lock(mutex_);
        schedule(Clock::now(), std::move(bytes));
    }
    wake();
}

ControllerLine::Reply Q5Emulator::answer(const Frame::Bytes& request) {
    bool faultHit = false;
    if (fault_.matches(request[0], request[1]))
        faultHit = fault_.hits(++faultMatches_);
    const bool scripted = !scriptedReplies_.empty();
    if (faultHit && fault_.mode == FaultMode::Silence && !scripted)
        return {};

    Reply reply = ControllerLine::answer(request);
    if (scripted) {
        reply.bytes = std::move(scriptedReplies_.front());
        scriptedReplies_.pop_front();
        return reply;
    }
    if (!faultHit)
        return reply;
    switch (fault_.mode) {
    case FaultMode::WrongChecksum:
        reply.bytes[4] = static_cast<uint8_t>(reply.bytes[4] + 1);
        break;
    case FaultMode::ShortReply:
        reply.bytes.resize(3);
        break;
    case FaultMode::LongReply:
        reply.bytes.insert(reply.bytes.end(), TrailingNoise.begin(), TrailingNoise.end());
        break;
    case FaultMode::LateReply:
        reply.delay = fault_.delay;
        break;
    default:
        break;
    }
    return reply;
}

} // namespace q5emu

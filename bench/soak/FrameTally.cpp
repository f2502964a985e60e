#include "FrameTally.h"

namespace {
constexpr uint8_t CmdReadLive = 0;
}

FrameTally::FrameTally(q5emu::Q5Emulator& controller) : controller_(controller) {
    controller_.setFrameObserver([this](const q5emu::LoggedFrame& frame) { count(frame); });
}

FrameTally::~FrameTally() {
    controller_.setFrameObserver({});
}

void FrameTally::count(const q5emu::LoggedFrame& frame) {
    // Every frame a fault meets fails its exchange: no reply, a short, long or spoiled one,
    // or one that comes after the program gave up.
    const bool spoiled = controller_.fault().mode != q5emu::FaultMode::None;
    std::lock_guard lock(mutex_);
    ++frames_;
    if (spoiled)
        ++spoiled_;
    if (frame.command == CmdReadLive)
        lastLiveRead_[frame.address] = Clock::now();
}

uint64_t FrameTally::frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

uint64_t FrameTally::spoiled() const {
    std::lock_guard lock(mutex_);
    return spoiled_;
}

bool FrameTally::allReadSince(const std::vector<uint8_t>& liveAddresses,
                              Clock::time_point since) const {
    std::lock_guard lock(mutex_);
    for (const uint8_t address : liveAddresses) {
        const std::optional<Clock::time_point>& last = lastLiveRead_[address];
        if (!last || *last < since)
            return false;
    }
    return true;
}

bool FrameTally::everRead(uint8_t liveAddress) const {
    std::lock_guard lock(mutex_);
    return lastLiveRead_[liveAddress].has_value();
}

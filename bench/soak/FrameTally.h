#pragma once
// Counts what an emulated controller receives, on the emulator's own thread: every frame,
// the frames a fault spoiled (their exchange got no valid reply in time), and when each live
// word was last asked for, so that the harness can tell whether polling resumed.

#include <Q5Emulator.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

class FrameTally {
public:
    using Clock = std::chrono::steady_clock;

    // Installs itself as the emulator's frame observer until destroyed.
    explicit FrameTally(q5emu::Q5Emulator& controller);
    ~FrameTally();
    FrameTally(const FrameTally&) = delete;
    FrameTally& operator=(const FrameTally&) = delete;

    uint64_t frames() const;
    uint64_t spoiled() const;
    // Every one of the live words was read after the moment.
    bool allReadSince(const std::vector<uint8_t>& liveAddresses, Clock::time_point since) const;
    bool everRead(uint8_t liveAddress) const;

private:
    void count(const q5emu::LoggedFrame& frame);

    q5emu::Q5Emulator& controller_;
    mutable std::mutex mutex_;
    uint64_t frames_ = 0;
    uint64_t spoiled_ = 0;
    std::array<std::optional<Clock::time_point>, 256> lastLiveRead_{};
};

#pragma once
// The poller of one link's live values. Every read of one goes through Read: the window's
// monitor and displays on their own timers, and the live feed of a recording and the charts,
// which takes the window's fresh readings instead of asking the line again. Each word's latest
// reading is kept, numbered, so that a sampler takes each reading once.

#include "LiveSample.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

class ControllerLink;

class LivePoller {
public:
    struct Reading {
        uint64_t number = 0; // counts every reading of every word; 0: never read
        std::chrono::steady_clock::time_point at;
        std::optional<uint16_t> word; // none: the read failed
    };

    // Reads through `link`, which outlives the poller.
    explicit LivePoller(ControllerLink& link) : link_(link) {}
    LivePoller(const LivePoller&) = delete;
    LivePoller& operator=(const LivePoller&) = delete;

    // Reads the live word at this address, one exchange, and keeps the reading as its latest.
    std::optional<uint16_t> Read(uint8_t address);

    // The latest reading of the word at this address.
    const Reading& Latest(uint8_t address) const { return latest_[address]; }

    // Who hears the samples the monitor reads through this poller.
    LiveSamples::Listeners& Samples() { return samples_; }

private:
    ControllerLink& link_;
    std::array<Reading, 256> latest_{};
    uint64_t count_ = 0;
    LiveSamples::Listeners samples_;
};

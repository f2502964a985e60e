#pragma once
// The faults the soak injects, in turn, each for a while and then cleared; after each the
// polled displays must be heard again before the next one comes.

#include <EmulatorOptions.h>

#include <chrono>

struct SoakFault {
    const char* name;
    q5emu::FaultMode mode;
    std::chrono::milliseconds duration;
};

inline constexpr SoakFault FaultRotation[] = {
    {"wrong checksum", q5emu::FaultMode::WrongChecksum, std::chrono::milliseconds(1500)},
    {"short reply", q5emu::FaultMode::ShortReply, std::chrono::milliseconds(1500)},
    {"silence", q5emu::FaultMode::Silence, std::chrono::milliseconds(2000)},
    {"long reply", q5emu::FaultMode::LongReply, std::chrono::milliseconds(1500)},
    {"late reply", q5emu::FaultMode::LateReply, std::chrono::milliseconds(1500)},
    {"vanished for 10 s", q5emu::FaultMode::Silence, std::chrono::milliseconds(10000)},
};

// Time after a fault is cleared in which polling must have resumed.
inline constexpr std::chrono::milliseconds RecoveryWindow{3500};
// Frames this soon after the clearing may still meet the fault's last replies.
inline constexpr std::chrono::milliseconds ClearingMargin{200};

#pragma once
// Which frames of a cell's frame log a controller fault hit: counted from the first frame the
// fault saw, after the frames it answered normally, as the emulator counts them.

#include <EmulatorOptions.h>

#include <cstddef>
#include <cstdint>

struct FaultWindow {
    q5emu::FaultMode mode = q5emu::FaultMode::None;
    size_t firstFrame = 0; // log index of the first frame the fault counted
    uint32_t answered = 0; // frames answered normally from there on
    uint32_t times = 0;    // frames hit after them; 0: every one

    bool hits(size_t index) const {
        return mode != q5emu::FaultMode::None && index >= firstFrame &&
               index - firstFrame >= answered &&
               (times == 0 || index - firstFrame - answered < times);
    }
    // The controller did not hear the frame: no reply, and a write did not take effect.
    bool silences(size_t index) const { return mode == q5emu::FaultMode::Silence && hits(index); }
};

#pragma once
// The parameter block of the emulator's sample controller, for pictures and benchmarks that
// need a controller's words without a link.

#include "ControllerState.h"
#include "SettingsRecords.h"

inline SettingsRecords::Words SampleControllerWords() {
    const q5emu::ControllerState sample;
    SettingsRecords::Words words{};
    for (int i = 0; i < SettingsRecords::Count; ++i)
        words[static_cast<std::size_t>(i)] = sample.read(
            q5emu::Space::Param, static_cast<uint8_t>(SettingsRecords::FirstAddress + i), 0);
    return words;
}

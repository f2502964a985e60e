#pragma once
// Both address spaces of an emulated controller at one moment.

#include <Q5Emulator.h>

#include <array>
#include <cstdint>

inline constexpr int AddressCount = 256;

struct ControllerWords {
    std::array<uint16_t, AddressCount> params{};
    std::array<uint16_t, AddressCount> live{};

    static ControllerWords Of(const q5emu::Q5Emulator& controller);
};

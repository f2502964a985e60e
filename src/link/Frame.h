#pragma once
// Five-byte frames of the controller's line protocol, in both directions:
// [command, address, value low, value high, sum of bytes 0..3 modulo 256].

#include <array>
#include <cstdint>

namespace Frame {

inline constexpr int Size = 5;
using Bytes = std::array<uint8_t, Size>;

constexpr uint8_t Checksum(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    return static_cast<uint8_t>(b0 + b1 + b2 + b3);
}

constexpr Bytes Build(uint8_t command, uint8_t address, uint16_t value) {
    const auto lo = static_cast<uint8_t>(value & 0xFF);
    const auto hi = static_cast<uint8_t>(value >> 8);
    return {command, address, lo, hi, Checksum(command, address, lo, hi)};
}

constexpr bool ChecksumOk(const Bytes& f) { return Checksum(f[0], f[1], f[2], f[3]) == f[4]; }

constexpr uint16_t Word(const Bytes& f) { return static_cast<uint16_t>(f[2] | (f[3] << 8)); }

} // namespace Frame

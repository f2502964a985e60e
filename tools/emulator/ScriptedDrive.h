#pragma once
// A drive the emulator can play instead of idling, known in advance so that a test can say
// what each reading should be. The engine idles from a cold start for the first
// WarmUpSeconds, then steps through a sweep of engine speed × load cells, holding each for
// StepSeconds at the centre of a 500 Об/мин × 2 ms cell; the sweep repeats. The coolant
// passes 40 °С (the oxygen trim becomes active) and 60 °С early in the warm-up. The oxygen
// trim is TrimOf the cell, within TrimNoisePercent. The throttle voltage steps
// ThrottleLeadSeconds before each change of cell, as the pedal leads the engine: a sample
// whose reads straddle a change of cell always sees the throttle's step, so a settle time of
// ThrottleLeadSeconds + 0.5 s after each step leaves only samples read within one cell.

#include "IdlingEngine.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace q5emu::drive {

inline constexpr double WarmUpSeconds = 12.0;
inline constexpr double StepSeconds = 2.0;
inline constexpr double ThrottleLeadSeconds = 0.5;
// How far each reading may stray from the path: the trim in percent (its word's rounding
// included), the engine speed, the injection time and the manifold pressure.
inline constexpr double TrimNoisePercent = 1.0;
inline constexpr double EngineSpeedNoise = 15.0; // Об/мин
inline constexpr double InjectionNoiseMs = 0.04; // ms
inline constexpr double ManifoldNoiseKpa = 0.3;  // kPa
// The hand-set trim, live 182, shown while the oxygen trim is not yet active.
inline constexpr double ManualTrimPercent = 1.5;

// The drive at one moment, without noise.
struct DriveState {
    double engineSpeed = 0;   // Об/мин, live 162
    double injectionMs = 0;   // "Исх.", live 178 ÷ 1000
    double manifoldKpa = 0;   // live 202 ÷ 10
    double celsius = 0;       // live 198
    double throttleVolts = 0; // live 192 ÷ 1000
    bool trimActive = false;  // live 77, bit 1; never setup mode
    double trimPercent = 0;   // the oxygen trim, live 186, while active; the hand-set one else
    int step = -1;            // the sweep's cell in order; -1 in the warm-up
};

// One cell of the sweep, as the drive holds it.
struct DriveCell {
    double engineSpeed;
    double injectionMs;
};

// The sweep's cells in their order.
const std::vector<DriveCell>& Sweep();
// The length of one pass of the sweep.
double SweepSeconds();

DriveState DriveAt(double seconds);

// The oxygen trim in percent the controller settles to in the cell of this engine speed and
// injection time: +12 above 3000 Об/мин and 8 ms, −5 below 1500 Об/мин, 0 elsewhere.
double TrimOf(double engineSpeed, double injectionMs);

// The word at a live address during the drive; the words the drive does not move are the
// idling engine's.
std::optional<uint16_t> DriveWord(uint8_t address, const WordSpace& params, double seconds);

} // namespace q5emu::drive

#pragma once
// The live words of an engine idling from a cold start: computed from the time since the
// start and from the calibration words of the parameter space, so that every reading of the
// same moment agrees with the others. Noise is deterministic (a hash of word and time).

#include <array>
#include <cstdint>
#include <optional>

namespace q5emu {

using WordSpace = std::array<uint16_t, 256>;

namespace live {
inline constexpr uint8_t InjectionTime = 72;
inline constexpr uint8_t StatusSetup = 76; // bit 7: setup mode
inline constexpr uint8_t StatusTrim = 77;  // bit 1: oxygen trim active
inline constexpr uint8_t EngineSpeed = 162;
inline constexpr uint8_t SupplyVoltage = 164;
inline constexpr uint8_t OxygenVoltage = 166;
inline constexpr uint8_t BaseInjectionTime = 178;
inline constexpr uint8_t ManualTrim = 182;
inline constexpr uint8_t OxygenTrim = 186;
inline constexpr uint8_t ManifoldVoltage = 190;
inline constexpr uint8_t ThrottleVoltage = 192;
inline constexpr uint8_t TemperatureVoltage = 196;
inline constexpr uint8_t Temperature = 198;
inline constexpr uint8_t GasVoltage = 200;
inline constexpr uint8_t ManifoldPressure = 202;
inline constexpr uint8_t GasPressure = 204;
inline constexpr uint8_t AccelerationResponse = 208;
inline constexpr uint8_t IdleTime = 212;
} // namespace live

inline constexpr double ColdStartCelsius = 20.0;
inline constexpr double WarmCelsius = 90.0;
// From this temperature on the oxygen sensor works and the trim follows it.
inline constexpr double TrimActiveCelsius = 40.0;

double EngineCelsius(double seconds);

// A value in -1..1 that changes twenty times a second, the same for the same word and time.
double EngineNoise(uint8_t address, double seconds);

// Sensor volts (in millivolts) for a pressure on the two-point calibration line of these
// parameter words.
double CalibratedMillivolts(const WordSpace& params, uint8_t v1, uint8_t p1, uint8_t v2, uint8_t p2,
                            double pressure);

// The word at a live address, or nullopt for an address the engine does not drive.
std::optional<uint16_t> IdlingEngineWord(uint8_t address, const WordSpace& params, double seconds);

} // namespace q5emu

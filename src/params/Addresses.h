#pragma once
// Controller words that the selectors and the monitor read and write by name.

#include <cstdint>

namespace Param {
inline constexpr uint8_t StartMode = 34;
inline constexpr uint8_t VapourValve = 37;
inline constexpr uint8_t ThrottleSensor = 38;
inline constexpr uint8_t Coils = 39;
inline constexpr uint8_t ReferenceVoltage = 48;
inline constexpr uint8_t OxygenSensor = 51;
inline constexpr uint8_t PetrolValve = 55;
inline constexpr uint8_t SelfLearning = 63;
inline constexpr uint8_t Cylinders = 71;
inline constexpr uint8_t AccelResponse = 88;
inline constexpr uint8_t SlopeCorrection = 91;
inline constexpr uint8_t GasSensor = 93;
inline constexpr uint8_t CylinderConstant = 96;
inline constexpr uint8_t Damping = 97;
} // namespace Param

namespace Live {
inline constexpr uint8_t CurrentInjection = 72;
inline constexpr uint8_t SetupStatus = 76;
inline constexpr uint8_t TrimStatus = 77;
inline constexpr uint8_t EngineSpeed = 162;
inline constexpr uint8_t OxygenVoltage = 166;
inline constexpr uint8_t BaseInjection = 178;
inline constexpr uint8_t ManualTrim = 182;
inline constexpr uint8_t OxygenTrim = 186;
inline constexpr uint8_t ThrottleVoltage = 192;
inline constexpr uint8_t EngineTemperature = 198;
inline constexpr uint8_t ManifoldPressure = 202;
inline constexpr uint8_t GasPressure = 204;
inline constexpr uint8_t AccelResponse = 208;
inline constexpr uint8_t IdleTime = 212;
} // namespace Live

#include "IdlingEngine.h"

#include <algorithm>
#include <cmath>

namespace q5emu {

namespace {

constexpr double WarmUpSeconds = 180.0; // time constant of the coolant warm-up
constexpr double TwoPi = 6.283185307179586;

// Parameter words the live words are derived from.
constexpr uint8_t ColdSensorMillivolts = 59, HotSensorMillivolts = 60;
constexpr uint8_t ManifoldPoint1Volts = 72, ManifoldPoint1Pressure = 73;
constexpr uint8_t ManifoldPoint2Volts = 74, ManifoldPoint2Pressure = 75;
constexpr uint8_t GasPoint1Volts = 76, GasPoint1Pressure = 77;
constexpr uint8_t GasPoint2Volts = 78, GasPoint2Pressure = 79;
constexpr uint8_t AccelerationResponseParam = 88, IdleTimeParam = 82;

uint16_t ToWord(double value) {
    return static_cast<uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
}

} // namespace

// A value in -1..1 that changes twenty times a second.
double EngineNoise(uint8_t address, double seconds) {
    uint64_t x = (static_cast<uint64_t>(seconds * 20) << 8) ^ address;
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    return static_cast<double>(x % 2001) / 1000.0 - 1.0;
}

double CalibratedMillivolts(const WordSpace& p, uint8_t v1, uint8_t p1, uint8_t v2, uint8_t p2,
                            double pressure) {
    const double span = static_cast<double>(p[p2]) - p[p1];
    if (span == 0)
        return p[v1];
    return p[v1] + (pressure - p[p1]) * (static_cast<double>(p[v2]) - p[v1]) / span;
}

double EngineCelsius(double seconds) {
    return WarmCelsius - (WarmCelsius - ColdStartCelsius) * std::exp(-seconds / WarmUpSeconds);
}

std::optional<uint16_t> IdlingEngineWord(uint8_t address, const WordSpace& params, double seconds) {
    const double celsius = EngineCelsius(seconds);
    const double warmth = (celsius - ColdStartCelsius) / (WarmCelsius - ColdStartCelsius);
    const bool trimActive = celsius >= TrimActiveCelsius;
    const auto noise = [&](double amplitude) { return amplitude * EngineNoise(address, seconds); };
    const double manualTrim = 1024 + 15;
    const double oxygenTrim = 1024 + 30 * std::sin(TwoPi * seconds / 7.0);
    const double baseInjection = 3200 + 600 * (1 - warmth);
    const double manifoldPressure = 350 + 8 * EngineNoise(live::ManifoldPressure, seconds);
    const double gasPressure = 2000 + 20 * EngineNoise(live::GasPressure, seconds);

    switch (address) {
    case live::EngineSpeed:
        return ToWord(1150 - 300 * warmth + noise(15));
    case live::BaseInjectionTime:
        return ToWord(baseInjection + noise(40));
    case live::InjectionTime:
        return ToWord(baseInjection * (trimActive ? oxygenTrim : manualTrim) / 1024 + noise(40));
    case live::SupplyVoltage:
        return ToWord(13800 + noise(60));
    case live::Temperature:
        return ToWord((celsius + 273) * 10);
    case live::TemperatureVoltage:
        return ToWord(
            params[ColdSensorMillivolts] +
            (static_cast<double>(params[HotSensorMillivolts]) - params[ColdSensorMillivolts]) *
                warmth);
    case live::OxygenVoltage:
        return ToWord(500 + 400 * std::sin(TwoPi * seconds / 1.6));
    case live::ThrottleVoltage:
        return ToWord(600 + noise(5));
    case live::ManifoldPressure:
        return ToWord(manifoldPressure);
    case live::ManifoldVoltage:
        return ToWord(CalibratedMillivolts(params, ManifoldPoint1Volts, ManifoldPoint1Pressure,
                                           ManifoldPoint2Volts, ManifoldPoint2Pressure,
                                           manifoldPressure));
    case live::GasPressure:
        return ToWord(gasPressure);
    case live::GasVoltage:
        return ToWord(CalibratedMillivolts(params, GasPoint1Volts, GasPoint1Pressure,
                                           GasPoint2Volts, GasPoint2Pressure, gasPressure));
    case live::AccelerationResponse:
        return params[AccelerationResponseParam];
    case live::IdleTime:
        return params[IdleTimeParam];
    case live::StatusSetup:
        return 0;
    case live::StatusTrim:
        return trimActive ? 0x02 : 0x00;
    case live::ManualTrim:
        return ToWord(manualTrim);
    case live::OxygenTrim:
        return ToWord(oxygenTrim);
    default:
        return std::nullopt;
    }
}

} // namespace q5emu

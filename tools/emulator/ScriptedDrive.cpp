#include "ScriptedDrive.h"

#include <algorithm>
#include <cmath>

namespace q5emu::drive {

namespace {

constexpr double IdleSpeed = 850;
constexpr double IdleInjectionMs = 2.5;
constexpr double IdleThrottleVolts = 0.6;
// The two throttle positions the sweep's cells take in turn.
constexpr double ThrottleVolts[] = {1.2, 2.4};
constexpr double ColdCelsius = 20, HotCelsius = 90;
// With this time constant the coolant passes 40 °С at 3.4 s and 60 °С at 8.5 s.
constexpr double WarmingSeconds = 10;

// Parameter words of the temperature sensor's and the manifold sensor's calibration.
constexpr uint8_t ColdSensorMillivolts = 59, HotSensorMillivolts = 60;
constexpr uint8_t ManifoldPoint1Volts = 72, ManifoldPoint1Pressure = 73;
constexpr uint8_t ManifoldPoint2Volts = 74, ManifoldPoint2Pressure = 75;

double ManifoldKpa(double injectionMs) {
    return 25 + 7 * injectionMs;
}

// The sweep's step at this time, -1 in the warm-up.
int StepAt(double seconds) {
    if (seconds < WarmUpSeconds)
        return -1;
    const auto steps = static_cast<long long>((seconds - WarmUpSeconds) / StepSeconds);
    return static_cast<int>(steps % static_cast<long long>(Sweep().size()));
}

uint16_t ToWord(double value) {
    return static_cast<uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
}

} // namespace

const std::vector<DriveCell>& Sweep() {
    // Up through the engine speeds at the lowest load, down at the next, and so on.
    static const std::vector<DriveCell> cells = [] {
        std::vector<DriveCell> all;
        const double loads[] = {2.5, 4.5, 6.5, 8.5, 10.5};
        for (int row = 0; row < 5; ++row)
            for (int i = 0; i < 8; ++i) {
                const int band = row % 2 == 0 ? i : 7 - i;
                all.push_back({750.0 + 500.0 * band, loads[row]});
            }
        return all;
    }();
    return cells;
}

double SweepSeconds() {
    return StepSeconds * static_cast<double>(Sweep().size());
}

double TrimOf(double engineSpeed, double injectionMs) {
    if (engineSpeed > 3000 && injectionMs > 8)
        return 12;
    if (engineSpeed < 1500)
        return -5;
    return 0;
}

DriveState DriveAt(double seconds) {
    DriveState state;
    state.celsius = HotCelsius - (HotCelsius - ColdCelsius) * std::exp(-seconds / WarmingSeconds);
    state.step = StepAt(seconds);
    const DriveCell cell =
        state.step < 0 ? DriveCell{IdleSpeed, IdleInjectionMs} : Sweep()[size_t(state.step)];
    state.engineSpeed = cell.engineSpeed;
    state.injectionMs = cell.injectionMs;
    state.manifoldKpa = ManifoldKpa(cell.injectionMs);
    const int pedalStep = StepAt(seconds + ThrottleLeadSeconds);
    state.throttleVolts = pedalStep < 0 ? IdleThrottleVolts : ThrottleVolts[pedalStep % 2];
    state.trimActive = state.celsius >= TrimActiveCelsius;
    state.trimPercent =
        state.trimActive ? TrimOf(cell.engineSpeed, cell.injectionMs) : ManualTrimPercent;
    return state;
}

std::optional<uint16_t> DriveWord(uint8_t address, const WordSpace& params, double seconds) {
    const DriveState state = DriveAt(seconds);
    // The noise stays inside each bound after the word's rounding.
    const auto noise = [&](double bound, double resolution) {
        return (bound - resolution) * EngineNoise(address, seconds);
    };
    const double warmth = (state.celsius - ColdCelsius) / (HotCelsius - ColdCelsius);
    const double manifoldKpa = state.manifoldKpa + noise(ManifoldNoiseKpa, 0.1);
    switch (address) {
    case live::EngineSpeed:
        return ToWord(state.engineSpeed + noise(EngineSpeedNoise, 1));
    case live::BaseInjectionTime:
        return ToWord(1000 * state.injectionMs + 1000 * noise(InjectionNoiseMs, 0.001));
    case live::InjectionTime:
        return ToWord(1000 * state.injectionMs * (1 + state.trimPercent / 100));
    case live::ManifoldPressure:
        return ToWord(10 * manifoldKpa);
    case live::ManifoldVoltage:
        return ToWord(CalibratedMillivolts(params, ManifoldPoint1Volts, ManifoldPoint1Pressure,
                                           ManifoldPoint2Volts, ManifoldPoint2Pressure,
                                           10 * manifoldKpa));
    case live::ThrottleVoltage:
        return ToWord(1000 * state.throttleVolts + noise(5, 1));
    case live::Temperature:
        return ToWord((state.celsius + 273) * 10);
    case live::TemperatureVoltage:
        return ToWord(
            params[ColdSensorMillivolts] +
            (static_cast<double>(params[HotSensorMillivolts]) - params[ColdSensorMillivolts]) *
                warmth);
    case live::StatusSetup:
        return 0;
    case live::StatusTrim:
        return state.trimActive ? 0x02 : 0x00;
    case live::OxygenTrim:
        return ToWord(1024 + 10 * ((state.trimActive ? state.trimPercent : 0) +
                                   noise(TrimNoisePercent, 0.1)));
    case live::ManualTrim:
        return ToWord(1024 + 10 * ManualTrimPercent);
    default:
        return IdlingEngineWord(address, params, seconds);
    }
}

} // namespace q5emu::drive

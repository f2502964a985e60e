#pragma once
// What the window's trim line shows at one moment: where the trim comes from and its percent,
// read as the trim line reads it (the setup status and the trim status first, then the oxygen
// sensor's trim or the hand-set one).

#include <optional>

enum class TrimSource {
    Sensor = 1, // "Датчик кислорода": the oxygen sensor trims
    Manual = 2, // "Ручная подстройка": the trim set by hand
    Setup = 3,  // "=== РЕЖИМ УСТАНОВКИ ===": no trim is shown
};

struct TrimReading {
    TrimSource source = TrimSource::Sensor;
    std::optional<long double> percent; // none in setup mode
};

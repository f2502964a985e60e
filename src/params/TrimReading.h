#pragma once
// What the window's trim line shows at one moment: where the trim comes from and its percent,
// read as the trim line reads it (the setup status and the trim status first, then the oxygen
// sensor's trim or the hand-set one).

#include <cstdint>
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

// The trim line's reads in their order: live 76, live 77, then live 186 or 182 as those two
// choose, none in setup mode. A failed read ends the reading without a result.
class TrimReader {
public:
    // The live address to read next; none once the reading is complete or has failed.
    std::optional<uint8_t> Next() const;
    // The word read at Next(), none when the read failed.
    void Take(std::optional<uint16_t> word);
    // The reading, once complete; none while incomplete or after a failed read.
    std::optional<TrimReading> Result() const;

private:
    enum class Step { SetupStatus, TrimStatus, Trim, Done, Failed };
    Step step_ = Step::SetupStatus;
    TrimReading reading_;
};

#include "BatchCounts.h"

#include <numeric>

namespace {
constexpr double MsPerHour = 3'600'000.0;
}

void BatchCounts::Start() {
    good_ = {};
    bad_ = {};
    firstMs_ = {};
    running_.start();
}

void BatchCounts::Count(int station, bool good) {
    Count(station, good, running_.isValid() ? running_.elapsed() : 0);
}

void BatchCounts::Count(int station, bool good, qint64 atMs) {
    if (station < 1 || station > Stations)
        return;
    const auto i = static_cast<size_t>(station - 1);
    if (good_[i] + bad_[i] == 0)
        firstMs_[i] = atMs;
    ++(good ? good_ : bad_)[i];
}

int BatchCounts::Good(int station) const {
    return good_.at(static_cast<size_t>(station - 1));
}

int BatchCounts::Bad(int station) const {
    return bad_.at(static_cast<size_t>(station - 1));
}

int BatchCounts::GoodInAll() const {
    return std::accumulate(good_.begin(), good_.end(), 0);
}

int BatchCounts::BadInAll() const {
    return std::accumulate(bad_.begin(), bad_.end(), 0);
}

std::optional<double> BatchCounts::UnitsPerHour() const {
    if (!running_.isValid())
        return std::nullopt;
    return UnitsPerHour(running_.elapsed());
}

std::optional<double> BatchCounts::UnitsPerHour(qint64 nowMs) const {
    // A station's units after its first each took one whole cycle: unplug, plug, work.
    int cycles = 0;
    double perHour = 0;
    for (size_t i = 0; i < Stations; ++i) {
        const int after = good_[i] + bad_[i] - 1;
        const qint64 span = nowMs - firstMs_[i];
        if (after <= 0 || span <= 0)
            continue;
        cycles += after;
        perHour += after * MsPerHour / static_cast<double>(span);
    }
    if (cycles < CyclesForRate)
        return std::nullopt;
    return perHour;
}

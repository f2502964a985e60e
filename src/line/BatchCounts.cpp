#include "BatchCounts.h"

#include <numeric>

void BatchCounts::Start() {
    good_ = {};
    bad_ = {};
    running_.start();
}

void BatchCounts::Count(int station, bool good) {
    if (station < 1 || station > Stations)
        return;
    ++(good ? good_ : bad_)[static_cast<size_t>(station - 1)];
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

double BatchCounts::UnitsPerHour() const {
    const int units = GoodInAll() + BadInAll();
    if (units == 0 || !running_.isValid() || running_.elapsed() <= 0)
        return 0;
    return units * 3'600'000.0 / static_cast<double>(running_.elapsed());
}

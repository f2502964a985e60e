#include "MapBuilder.h"

#include "TrimReading.h"

#include <cmath>

namespace {
// As Bands::Of: a value on an edge typed as a decimal still goes to the band above.
constexpr double EdgeTolerance = 1e-9;
} // namespace

inline double MapBuilder::Axis::At(double value) const {
    return (value - first) * perWidth + EdgeTolerance;
}

MapBuilder::MapBuilder(const MapLayout& layout, const MapFilters& filters) : table_(layout) {
    rules_.speed = {layout.speed.first, 1 / layout.speed.width, double(table_.Rows())};
    rules_.load = {layout.load.first, 1 / layout.load.width, double(table_.Columns())};
    rules_.filters = filters.For(layout);
    BeginSource();
}

void MapBuilder::BeginSource(std::array<bool, MapFilterCount> applicable) {
    for (size_t i = 0; i < rules_.active.size(); ++i)
        rules_.active[i] = rules_.filters.on[i] && applicable[i];
    clock_ = {};
}

void MapBuilder::AddWrite(double seconds) {
    clock_.Write(seconds, rules_.filters.writeSettle);
}

void MapBuilder::Clear() {
    table_.Clear();
    dropped_ = {};
    clock_ = {};
}

// Inlined into both the live path and the columns' loop.
inline __attribute__((always_inline)) int
MapBuilder::Place(const Rules& rules, Clock& clock, DropCounts& dropped, const MapSample& s) {
    const MapFilters& f = rules.filters;
    auto active = [&rules](MapFilter filter) { return rules.active[size_t(filter)]; };
    // The throttle's rate is followed over every sample with its voltage, kept or not; the
    // first voltage has none (its difference from the unread one is NaN, above no bound).
    if (active(MapFilter::Throttle) && !std::isnan(s.throttle)) {
        if (s.seconds > clock.lastThrottleAt &&
            std::abs(s.throttle - clock.lastThrottle) >
                f.throttleRate * (s.seconds - clock.lastThrottleAt))
            clock.throttleUntil = s.seconds + f.throttleSettle;
        clock.lastThrottle = s.throttle;
        clock.lastThrottleAt = s.seconds;
    }
    if (std::isnan(s.speed) || std::isnan(s.load) || std::isnan(s.value)) {
        ++dropped.gaps;
        return -1;
    }
    auto drop = [&dropped](MapFilter filter) {
        ++dropped[filter];
        return -1;
    };
    // An unread temperature or trim state is not known to pass.
    if (active(MapFilter::Warm) && !(s.temperature >= f.warmFrom))
        return drop(MapFilter::Warm);
    if (active(MapFilter::TrimActive) && !(s.trimSource == double(TrimSource::Sensor)))
        return drop(MapFilter::TrimActive);
    if (active(MapFilter::Throttle) && s.seconds <= clock.throttleUntil)
        return drop(MapFilter::Throttle);
    if (active(MapFilter::Write) && s.seconds <= clock.writeUntil)
        return drop(MapFilter::Write);
    if (active(MapFilter::Speed) && !(s.speed >= f.speedFrom && s.speed < f.speedTo))
        return drop(MapFilter::Speed);
    const double row = rules.speed.At(s.speed), column = rules.load.At(s.load);
    if (!(row >= 0 && row < rules.speed.count && column >= 0 && column < rules.load.count)) {
        ++dropped.outside;
        return -1;
    }
    ++dropped.kept;
    return int(row) * int(rules.load.count) + int(column);
}

std::optional<MapCell> MapBuilder::Add(const MapSample& sample) {
    const int index = Place(rules_, clock_, dropped_, sample);
    if (index < 0)
        return std::nullopt;
    table_.AtIndex(index).Add(sample.value);
    return table_.CellOf(index);
}

void MapBuilder::AddColumns(const MapColumns& c) {
    // A column the log lacks reads as one unread value at every row: a mask of 0 keeps its
    // index there, with no test in the loop.
    static constexpr double Unread[1] = {MapSample::Unread};
    struct Optional {
        const double* values;
        size_t mask;
        double operator[](size_t row) const { return values[row & mask]; }
    };
    const auto optional = [](const double* column) {
        return column ? Optional{column, ~size_t(0)} : Optional{Unread, 0};
    };
    // Local copies, so that the loop keeps them in registers.
    const Rules rules = rules_;
    Clock clock = clock_;
    DropCounts dropped = dropped_;
    const double *const seconds = c.seconds, *const speed = c.speed, *const load = c.load,
                        *const value = c.value, *const divisor = c.divisor;
    const Optional temperature = optional(c.temperature), throttle = optional(c.throttle),
                   trimSource = optional(c.trimSource);
    const std::vector<double>& writes = c.writes;
    // A drive stays in one cell for many rows on end: the cell being filled is held here and
    // put back when the drive leaves it.
    int current = -1;
    CellStats cell;
    size_t nextWrite = 0;
    MapSample s;
    for (size_t row = 0; row < c.rows; ++row) {
        s.seconds = seconds[row];
        while (nextWrite < writes.size() && writes[nextWrite] <= s.seconds)
            clock.Write(writes[nextWrite++], rules.filters.writeSettle);
        // The cells' own columns are always there: a log without one is not folded.
        s.speed = speed[row];
        s.load = load[row];
        s.value = value[row];
        if (divisor) {
            const double d = divisor[row];
            s.value = d > 0 ? s.value / d : MapSample::Unread;
        }
        s.temperature = temperature[row];
        s.throttle = throttle[row];
        s.trimSource = trimSource[row];
        const int index = Place(rules, clock, dropped, s);
        if (index < 0)
            continue;
        if (index != current) {
            if (current >= 0)
                table_.AtIndex(current) = cell;
            current = index;
            cell = table_.AtIndex(index);
        }
        cell.Add(s.value);
    }
    if (current >= 0)
        table_.AtIndex(current) = cell;
    clock_ = clock;
    dropped_ = dropped;
}

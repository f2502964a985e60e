#include "MapBuilder.h"

#include "TrimReading.h"

#include <cmath>

namespace {
// As Bands::Of: a value on an edge typed as a decimal still goes to the band above.
constexpr double EdgeTolerance = 1e-9;
} // namespace

inline int MapBuilder::Axis::Of(double value) const {
    const double at = (value - first) * perWidth + EdgeTolerance;
    return at >= 0 && at < count ? int(at) : -1;
}

MapBuilder::MapBuilder(const MapLayout& layout, const MapFilters& filters) : table_(layout) {
    rules_.speed = {layout.speed.first, 1 / layout.speed.width, table_.Rows()};
    rules_.load = {layout.load.first, 1 / layout.load.width, table_.Columns()};
    rules_.filters = filters.For(layout);
    BeginSource();
}

void MapBuilder::BeginSource(std::array<bool, MapFilterCount> applicable) {
    for (size_t i = 0; i < rules_.active.size(); ++i)
        rules_.active[i] = rules_.filters.on[i] && applicable[i];
    clock_ = {};
}

void MapBuilder::Clock::Write(double seconds, double settle) {
    writeUntil = written ? std::max(writeUntil, seconds + settle) : seconds + settle;
    written = true;
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
    // The throttle's rate is followed over every sample with its voltage, kept or not.
    if (active(MapFilter::Throttle) && !std::isnan(s.throttle)) {
        if (!std::isnan(clock.lastThrottle) && s.seconds > clock.lastThrottleAt &&
            std::abs(s.throttle - clock.lastThrottle) >
                f.throttleRate * (s.seconds - clock.lastThrottleAt)) {
            clock.throttleUntil = s.seconds + f.throttleSettle;
            clock.throttleMoved = true;
        }
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
    if (active(MapFilter::Throttle) && clock.throttleMoved && s.seconds <= clock.throttleUntil)
        return drop(MapFilter::Throttle);
    if (active(MapFilter::Write) && clock.written && s.seconds <= clock.writeUntil)
        return drop(MapFilter::Write);
    if (active(MapFilter::Speed) && !(s.speed >= f.speedFrom && s.speed < f.speedTo))
        return drop(MapFilter::Speed);
    const int row = rules.speed.Of(s.speed);
    const int column = rules.load.Of(s.load);
    if (row < 0 || column < 0) {
        ++dropped.outside;
        return -1;
    }
    ++dropped.kept;
    return row * rules.load.count + column;
}

std::optional<MapCell> MapBuilder::Add(const MapSample& sample) {
    const int index = Place(rules_, clock_, dropped_, sample);
    if (index < 0)
        return std::nullopt;
    table_.AtIndex(index).Add(sample.value);
    return table_.CellOf(index);
}

void MapBuilder::AddColumns(const MapColumns& c) {
    auto at = [](const double* column, size_t row) {
        return column ? column[row] : MapSample::Unread;
    };
    // Local copies, so that the loop keeps them in registers.
    const Rules rules = rules_;
    Clock clock = clock_;
    DropCounts dropped = dropped_;
    const double *const seconds = c.seconds, *const speed = c.speed, *const load = c.load,
                        *const value = c.value, *const divisor = c.divisor,
                        *const temperature = c.temperature, *const throttle = c.throttle,
                        *const trimSource = c.trimSource;
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
        s.temperature = at(temperature, row);
        s.throttle = at(throttle, row);
        s.trimSource = at(trimSource, row);
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

#include "MapBuilder.h"

#include "TrimReading.h"

#include <cmath>

MapBuilder::MapBuilder(const MapLayout& layout, const MapFilters& filters)
    : table_(layout), filters_(filters.For(layout)) {
    BeginSource();
}

void MapBuilder::BeginSource(std::array<bool, MapFilterCount> applicable) {
    for (size_t i = 0; i < active_.size(); ++i)
        active_[i] = filters_.on[i] && applicable[i];
    lastThrottle_ = MapSample::Unread;
    throttleMoved_ = false;
    written_ = false;
}

void MapBuilder::AddWrite(double seconds) {
    const double until = seconds + filters_.writeSettle;
    writeUntil_ = written_ ? std::max(writeUntil_, until) : until;
    written_ = true;
}

void MapBuilder::Clear() {
    table_.Clear();
    dropped_ = {};
    BeginSource(active_);
}

// Inlined into both the live path and the columns' loop.
inline std::optional<MapCell> MapBuilder::Take(const MapSample& s) {
    auto active = [this](MapFilter filter) { return active_[size_t(filter)]; };
    // The throttle's rate is followed over every sample with its voltage, kept or not.
    if (active(MapFilter::Throttle) && !std::isnan(s.throttle)) {
        if (!std::isnan(lastThrottle_) && s.seconds > lastThrottleAt_ &&
            std::abs(s.throttle - lastThrottle_) / (s.seconds - lastThrottleAt_) >
                filters_.throttleRate) {
            throttleUntil_ = s.seconds + filters_.throttleSettle;
            throttleMoved_ = true;
        }
        lastThrottle_ = s.throttle;
        lastThrottleAt_ = s.seconds;
    }
    if (std::isnan(s.speed) || std::isnan(s.load) || std::isnan(s.value)) {
        ++dropped_.gaps;
        return std::nullopt;
    }
    auto drop = [this](MapFilter filter) {
        ++dropped_[filter];
        return std::nullopt;
    };
    // An unread temperature or trim state is not known to pass.
    if (active(MapFilter::Warm) && !(s.temperature >= filters_.warmFrom))
        return drop(MapFilter::Warm);
    if (active(MapFilter::TrimActive) && !(s.trimSource == double(TrimSource::Sensor)))
        return drop(MapFilter::TrimActive);
    if (active(MapFilter::Throttle) && throttleMoved_ && s.seconds <= throttleUntil_)
        return drop(MapFilter::Throttle);
    if (active(MapFilter::Write) && written_ && s.seconds <= writeUntil_)
        return drop(MapFilter::Write);
    if (active(MapFilter::Speed) && !(s.speed >= filters_.speedFrom && s.speed < filters_.speedTo))
        return drop(MapFilter::Speed);
    const std::optional<int> row = table_.Layout().speed.Of(s.speed);
    const std::optional<int> column = table_.Layout().load.Of(s.load);
    if (!row || !column) {
        ++dropped_.outside;
        return std::nullopt;
    }
    table_.At(*row, *column).Add(s.value);
    ++dropped_.kept;
    return MapCell{*row, *column};
}

std::optional<MapCell> MapBuilder::Add(const MapSample& sample) {
    return Take(sample);
}

void MapBuilder::AddColumns(const MapColumns& c) {
    auto at = [](const double* column, size_t row) {
        return column ? column[row] : MapSample::Unread;
    };
    size_t nextWrite = 0;
    MapSample s;
    for (size_t row = 0; row < c.rows; ++row) {
        s.seconds = c.seconds[row];
        while (nextWrite < c.writes.size() && c.writes[nextWrite] <= s.seconds)
            AddWrite(c.writes[nextWrite++]);
        s.speed = at(c.speed, row);
        s.load = at(c.load, row);
        s.value = at(c.value, row);
        if (c.divisor) {
            const double divisor = c.divisor[row];
            s.value = divisor > 0 ? s.value / divisor : MapSample::Unread;
        }
        s.temperature = at(c.temperature, row);
        s.throttle = at(c.throttle, row);
        s.trimSource = at(c.trimSource, row);
        Take(s);
    }
}

#pragma once
// Fills a map sample by sample, from a log's columns or live: drops what the filters drop,
// counting each, and puts the rest into its cell. Each source (a log, the live feed) keeps its
// own clock: the settle times start over with it.

#include "MapFilters.h"
#include "MapSample.h"
#include "MapTable.h"

#include <optional>
#include <vector>

// A log's columns as the map reads them; a column the log does not hold is nullptr.
struct MapColumns {
    size_t rows = 0;
    const double* seconds = nullptr;
    const double* speed = nullptr;
    const double* load = nullptr;
    const double* value = nullptr;
    const double* divisor = nullptr; // the value is value ÷ divisor (the ratio)
    const double* temperature = nullptr;
    const double* throttle = nullptr;
    const double* trimSource = nullptr;
    std::vector<double> writes; // the seconds of the writes to the controller, rising
};

class MapBuilder {
public:
    MapBuilder(const MapLayout& layout, const MapFilters& filters);

    // A new source begins; the filters that cannot apply to it (without their column) let
    // every sample through.
    void BeginSource(std::array<bool, MapFilterCount> applicable = AllApply());
    // A write to the controller at this time of the source's clock.
    void AddWrite(double seconds);
    // The cell the sample went into; none when it was dropped.
    std::optional<MapCell> Add(const MapSample& sample);
    void AddColumns(const MapColumns& columns);
    // Empties the table and the counts.
    void Clear();

    const MapTable& Table() const { return table_; }
    const DropCounts& Dropped() const { return dropped_; }
    const MapFilters& Filters() const { return filters_; }

    static std::array<bool, MapFilterCount> AllApply() {
        std::array<bool, MapFilterCount> all{};
        all.fill(true);
        return all;
    }

private:
    std::optional<MapCell> Take(const MapSample& sample);

    MapTable table_;
    MapFilters filters_;
    std::array<bool, MapFilterCount> active_{};
    DropCounts dropped_;
    // The source's clock
    double lastThrottle_ = MapSample::Unread;
    double lastThrottleAt_ = 0;
    double throttleUntil_ = 0;
    double writeUntil_ = 0;
    bool throttleMoved_ = false;
    bool written_ = false;
};

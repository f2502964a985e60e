#pragma once
// Fills a map sample by sample, from a log's columns or live: drops what the filters drop,
// counting each, and puts the rest into its cell. Each source (a log, the live feed) keeps its
// own clock: the settle times start over with it.

#include "MapFilters.h"
#include "MapSample.h"
#include "MapTable.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

// A log's columns as the map reads them: speed, load and value always, the others nullptr
// where the log does not hold them.
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
    const MapFilters& Filters() const { return rules_.filters; }

    static std::array<bool, MapFilterCount> AllApply() {
        std::array<bool, MapFilterCount> all{};
        all.fill(true);
        return all;
    }

private:
    // A band's position without a division: (value − first) × 1/width, inside from 0 to below
    // the count of bands.
    struct Axis {
        double first = 0;
        double perWidth = 1;
        double count = 0;
        double At(double value) const;
    };
    // What decides a sample's fate, fixed while a source is read.
    struct Rules {
        Axis speed, load;
        MapFilters filters;
        std::array<bool, MapFilterCount> active{};
    };
    // The source's clock: the throttle's last reading and the settle times running.
    // Before the first throttle step or write, their settle times end before any sample.
    struct Clock {
        static constexpr double Never = -std::numeric_limits<double>::infinity();
        double lastThrottle = MapSample::Unread;
        double lastThrottleAt = 0;
        double throttleUntil = Never;
        double writeUntil = Never;
        void Write(double seconds, double settle) {
            writeUntil = std::max(writeUntil, seconds + settle);
        }
    };

    // The index of the sample's cell in the table, or -1 when a filter dropped it (counted).
    // Kept apart from the builder's members, so that the columns' loop holds them in registers:
    // a store into a cell's sums could otherwise be any of the members' doubles.
    static int Place(const Rules& rules, Clock& clock, DropCounts& dropped,
                     const MapSample& sample);

    MapTable table_;
    Rules rules_;
    Clock clock_;
    DropCounts dropped_;
};

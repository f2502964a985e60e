#pragma once
// The filters a sample passes before it goes into a cell, each with its bound, and the counts
// of the samples each dropped. A sample is counted under the first filter, in this order, that
// drops it.

#include <QString>

#include <array>
#include <cstdint>

class QSettings;
struct MapLayout;

enum class MapFilter {
    Warm,       // the engine at or above a temperature
    TrimActive, // the oxygen sensor trims and the controller is not in setup mode
    Throttle,   // a settle time after the throttle sensor's voltage moved fast
    Write,      // a settle time after a write to the controller
    Speed,      // an engine-speed range
};
inline constexpr int MapFilterCount = 5;
inline constexpr std::array<MapFilter, MapFilterCount> AllMapFilters{
    MapFilter::Warm, MapFilter::TrimActive, MapFilter::Throttle, MapFilter::Write,
    MapFilter::Speed};

struct MapFilters {
    std::array<bool, MapFilterCount> on{true, true, true, true, false};
    double warmFrom = 60;        // °С
    double throttleRate = 1.0;   // В/с
    double throttleSettle = 1.0; // с
    double writeSettle = 3.0;    // с
    double speedFrom = 800;      // об/мин, from here on ...
    double speedTo = 6500;       // ... to below here

    bool On(MapFilter filter) const { return on[size_t(filter)]; }
    void Set(MapFilter filter, bool value) { on[size_t(filter)] = value; }
    // Those that apply to this value: the trim exists only while the sensor trims.
    MapFilters For(const MapLayout& layout) const;
    // True when the value leaves the filter no choice.
    static bool Forced(MapFilter filter, const MapLayout& layout);

    // Remembered between runs under the group "map".
    static MapFilters Load(QSettings& settings);
    void Save(QSettings& settings) const;
};

struct DropCounts {
    std::array<int64_t, MapFilterCount> byFilter{};
    int64_t gaps = 0;    // the speed, load or value not read (the link lost, a failed read)
    int64_t outside = 0; // beyond the table's bands
    int64_t kept = 0;

    int64_t& operator[](MapFilter filter) { return byFilter[size_t(filter)]; }
    int64_t operator[](MapFilter filter) const { return byFilter[size_t(filter)]; }
    void Add(const DropCounts& other);
};

namespace MapFilterTexts {
// The filter's name in the window: "Прогретый двигатель".
QString Name(MapFilter filter);
// What an empty table says: which filter dropped most, or why else nothing was kept.
QString EmptyNote(const DropCounts& dropped);
} // namespace MapFilterTexts

#pragma once
// The batch so far: units good and bad per station and in all, and units per hour since the
// line was started.

#include <QElapsedTimer>

#include <array>
#include <optional>

class BatchCounts {
public:
    static constexpr int Stations = 4;
    // Units per hour are told once this many units have come after each station's first:
    // before that the figure is of the first units alone, which all end within seconds of the
    // start.
    static constexpr int CyclesForRate = 3;

    void Start();
    void Count(int station, bool good); // station 1..4, now
    // The same at `atMs` milliseconds after Start.
    void Count(int station, bool good, qint64 atMs);

    int Good(int station) const;
    int Bad(int station) const;
    int GoodInAll() const;
    int BadInAll() const;
    // Units per hour, each station's from its first unit to now (`nowMs` after Start), summed;
    // none before CyclesForRate units have followed the stations' first.
    std::optional<double> UnitsPerHour() const;
    std::optional<double> UnitsPerHour(qint64 nowMs) const;

private:
    std::array<int, Stations> good_{};
    std::array<int, Stations> bad_{};
    std::array<qint64, Stations> firstMs_{}; // when the station's first unit ended
    QElapsedTimer running_;
};

#pragma once
// The batch so far: units good and bad per station and in all, and units per hour since the
// line was started.

#include <QElapsedTimer>

#include <array>

class BatchCounts {
public:
    static constexpr int Stations = 4;

    void Start();
    void Count(int station, bool good); // station 1..4

    int Good(int station) const;
    int Bad(int station) const;
    int GoodInAll() const;
    int BadInAll() const;
    // Units per hour since Start (0 before the first unit).
    double UnitsPerHour() const;

private:
    std::array<int, Stations> good_{};
    std::array<int, Stations> bad_{};
    QElapsedTimer running_;
};

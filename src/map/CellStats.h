#pragma once
// What the samples of one cell say: their count, mean, spread (Welford's running sums, stable
// over a day of samples), minimum and maximum.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

struct CellStats {
    int64_t count = 0;
    double mean = 0;
    double sumSquares = 0; // of the deviations from the mean
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();

    void Add(double value) {
        ++count;
        const double delta = value - mean;
        mean += delta / double(count);
        sumSquares += delta * (value - mean);
        min = std::min(min, value);
        max = std::max(max, value);
    }
    // The sample standard deviation; 0 below two samples.
    double Deviation() const { return count > 1 ? std::sqrt(sumSquares / double(count - 1)) : 0.0; }
    bool Empty() const { return count == 0; }
};

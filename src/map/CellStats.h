#pragma once
// What the samples of one cell say: their count, mean, spread, minimum and maximum. The sums
// are of the samples less the cell's first one, so that the spread stays exact over a day of
// samples (the sums stay small) without a division for every sample, as Welford's running mean
// needs; the division is left to when the mean is asked for.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

struct CellStats {
    int64_t count = 0;
    double shift = 0;      // the first sample
    double sum = 0;        // of the samples less the shift
    double sumSquares = 0; // of their squares
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();

    void Add(double value) {
        if (count == 0)
            shift = value;
        ++count;
        const double d = value - shift;
        sum += d;
        sumSquares += d * d;
        min = std::min(min, value);
        max = std::max(max, value);
    }
    double Mean() const { return count ? shift + sum / double(count) : 0.0; }
    // The sample standard deviation; 0 below two samples.
    double Deviation() const {
        if (count < 2)
            return 0.0;
        const double n = double(count);
        return std::sqrt(std::max(0.0, (sumSquares - sum * sum / n) / (n - 1)));
    }
    bool Empty() const { return count == 0; }
};

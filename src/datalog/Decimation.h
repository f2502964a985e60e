#pragma once
// What a chart draws of a long series: at most a minimum and a maximum for each pixel column,
// so a peak of one sample among thousands still shows, and an empty cell still breaks the line.

#include <vector>

struct ChartPoint {
    double seconds;
    double value; // NaN: the line breaks here
};

// The points of the series between `from` and `to` (with the one sample on either side, so
// the line runs to the edges) reduced to `columns` columns of equal time: each column gives
// its minimum and its maximum in time order, and a NaN point when it holds an empty cell. A
// range with no more than two samples a column is returned whole.
std::vector<ChartPoint> Decimate(const std::vector<double>& seconds,
                                 const std::vector<double>& values, double from, double to,
                                 int columns);

#include "Decimation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Column {
    size_t low = 0, high = 0, gap = 0;
    bool hasValue = false, hasGap = false;
};

void Emit(const Column& c, const std::vector<double>& seconds, const std::vector<double>& values,
          std::vector<ChartPoint>& out) {
    size_t picks[3];
    int count = 0;
    if (c.hasValue) {
        picks[count++] = std::min(c.low, c.high);
        if (c.low != c.high)
            picks[count++] = std::max(c.low, c.high);
    }
    if (c.hasGap)
        picks[count++] = c.gap;
    std::sort(picks, picks + count);
    for (int i = 0; i < count; ++i)
        out.push_back({seconds[picks[i]], values[picks[i]]});
}

} // namespace

std::vector<ChartPoint> Decimate(const std::vector<double>& seconds,
                                 const std::vector<double>& values, double from, double to,
                                 int columns) {
    std::vector<ChartPoint> out;
    if (seconds.empty() || to <= from || columns <= 0)
        return out;
    auto first = std::lower_bound(seconds.begin(), seconds.end(), from);
    auto last = std::upper_bound(seconds.begin(), seconds.end(), to);
    if (first != seconds.begin())
        --first;
    if (last != seconds.end())
        ++last;
    const size_t begin = size_t(first - seconds.begin());
    const size_t end = size_t(last - seconds.begin());
    const size_t count = end - begin;
    if (count <= size_t(columns) * 2) {
        out.reserve(count);
        for (size_t i = begin; i < end; ++i)
            out.push_back({seconds[i], values[i]});
        return out;
    }

    out.reserve(size_t(columns) * 3);
    const double width = (to - from) / columns;
    long current = std::numeric_limits<long>::min();
    Column column;
    for (size_t i = begin; i < end; ++i) {
        const long index = long(std::floor((seconds[i] - from) / width));
        if (index != current) {
            Emit(column, seconds, values, out);
            column = Column{};
            current = index;
        }
        const double v = values[i];
        if (std::isnan(v)) {
            if (!column.hasGap) {
                column.hasGap = true;
                column.gap = i;
            }
        } else if (!column.hasValue) {
            column.hasValue = true;
            column.low = column.high = i;
        } else if (v < values[column.low]) {
            column.low = i;
        } else if (v > values[column.high]) {
            column.high = i;
        }
    }
    Emit(column, seconds, values, out);
    return out;
}

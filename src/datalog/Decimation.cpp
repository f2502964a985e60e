#include "Decimation.h"

#include <algorithm>
#include <cmath>

namespace {

// One pixel column: where its minimum, maximum and first empty cell are.
struct Column {
    size_t low = 0, high = 0, gap = 0;
    double lowValue = 0, highValue = 0;
    bool hasValue = false, hasGap = false;

    void Add(size_t i, double v) {
        if (std::isnan(v)) {
            if (!hasGap) {
                hasGap = true;
                gap = i;
            }
        } else if (!hasValue) {
            hasValue = true;
            low = high = i;
            lowValue = highValue = v;
        } else if (v < lowValue) {
            low = i;
            lowValue = v;
        } else if (v > highValue) {
            high = i;
            highValue = v;
        }
    }

    void Emit(const std::vector<double>& seconds, const std::vector<double>& values,
              std::vector<ChartPoint>& out) const {
        size_t picks[3];
        int count = 0;
        if (hasValue) {
            picks[count++] = std::min(low, high);
            if (low != high)
                picks[count++] = std::max(low, high);
        }
        if (hasGap)
            picks[count++] = gap;
        std::sort(picks, picks + count);
        for (int i = 0; i < count; ++i)
            out.push_back({seconds[picks[i]], values[picks[i]]});
    }
};

} // namespace

std::vector<ChartPoint> Decimate(const std::vector<double>& seconds,
                                 const std::vector<double>& values, double from, double to,
                                 int columns) {
    std::vector<ChartPoint> out;
    if (seconds.empty() || to <= from || columns <= 0)
        return out;
    const size_t first =
        size_t(std::lower_bound(seconds.begin(), seconds.end(), from) - seconds.begin());
    const size_t last =
        size_t(std::upper_bound(seconds.begin(), seconds.end(), to) - seconds.begin());
    // The samples just outside the range, so the line runs to the edges.
    const size_t begin = first > 0 ? first - 1 : first;
    const size_t end = last < seconds.size() ? last + 1 : last;
    if (end - begin <= size_t(columns) * 2) {
        out.reserve(end - begin);
        for (size_t i = begin; i < end; ++i)
            out.push_back({seconds[i], values[i]});
        return out;
    }

    out.reserve(size_t(columns) * 3 + 2);
    if (begin < first)
        out.push_back({seconds[begin], values[begin]});
    const double width = (to - from) / columns;
    double boundary = from; // where the current column ends
    Column column;
    for (size_t i = first; i < last; ++i) {
        const double t = seconds[i];
        if (t >= boundary) {
            column.Emit(seconds, values, out);
            column = Column{};
            boundary = from + (std::floor((t - from) / width) + 1) * width;
        }
        column.Add(i, values[i]);
    }
    column.Emit(seconds, values, out);
    if (last < end)
        out.push_back({seconds[last], values[last]});
    return out;
}

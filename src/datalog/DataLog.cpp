#include "DataLog.h"

#include <algorithm>

int DataLog::IndexOf(const QString& name) const {
    for (size_t i = 0; i < series.size(); ++i)
        if (series[i].name == name)
            return static_cast<int>(i);
    return -1;
}

void DataLog::DropBefore(double from) {
    const auto end = std::lower_bound(seconds.begin(), seconds.end(), from);
    const auto count = end - seconds.begin();
    if (count > 0) {
        seconds.erase(seconds.begin(), end);
        for (LogSeries& s : series)
            s.values.erase(s.values.begin(), s.values.begin() + count);
    }
    events.erase(std::remove_if(events.begin(), events.end(),
                                [from](const LogEvent& e) { return e.seconds < from; }),
                 events.end());
}

// Any bytes as a data log: reading either refuses them with a message naming a line, or gives
// a log whose rows and events run forward in finite seconds and whose every series holds one
// value a row.

#include "FuzzCheck.h"
#include "QtOnce.h"

#include "LogError.h"
#include "LogReader.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnsureApplication(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    DataLog log;
    try {
        log = LogReader::Parse({reinterpret_cast<const char*>(bytes), size}, u"fuzz.csv"_qs);
    } catch (const LogError& error) {
        Require(error.text().contains(u"ошибка в строке "_qs), "a refusal names the line",
                error.text());
        return 0;
    }
    double last = 0;
    for (const double seconds : log.seconds) {
        Require(std::isfinite(seconds) && seconds >= last, "rows run forward",
                QString::number(seconds));
        last = seconds;
    }
    double lastEvent = 0;
    for (const LogEvent& event : log.events) {
        Require(std::isfinite(event.seconds) && event.seconds >= lastEvent, "events run forward",
                QString::number(event.seconds));
        lastEvent = event.seconds;
    }
    for (const LogSeries& series : log.series)
        Require(series.values.size() == log.Rows(), "a value a row", series.name);
    return 0;
}

// The correction map over a day's test drive (the data-log benchmark's 24-hour log of 172,800
// rows): building the table from the parsed log against a plain loop over the same columns that
// only bins and sums (interleaved, repeated, the median of each); adding one live sample to the
// window's map and redrawing its cell (processor time); a full redraw of a 13 × 20 table. Ends
// with "NAME VALUE" lines.

#include "Addresses.h"
#include "BenchStats.h"
#include "ConnectionEvents.h"
#include "IdlingDrive.h"
#include "JournalFeed.h"
#include "LiveFeed.h"
#include "LivePoller.h"
#include "LogFormat.h"
#include "LogReader.h"
#include "MapLogs.h"
#include "MapNames.h"
#include "MapView.h"
#include "MapWindow.h"
#include "WindowLink.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

using BenchStats::Median;
using BenchStats::Ms;
using BenchStats::ThreadCpuSeconds;
using Clock = std::chrono::steady_clock;

constexpr int DayRows = 24 * 60 * 60 * 2;
constexpr int BuildRounds = 31;
constexpr int LiveRounds = 200;
constexpr int RedrawRounds = 15;
constexpr double BuildRatioTarget = 1.5;
constexpr double LiveUpdateTargetMs = 2;
constexpr double RedrawTargetMs = 16;

const std::vector<double>& Column(const DataLog& log, const QString& name) {
    return log.series[size_t(log.IndexOf(name))].values;
}

// Only what any table needs: each row into its cell, its value summed.
double PlainBins(const DataLog& log, const MapLayout& layout, const QString& value) {
    const std::vector<double>& speed = Column(log, MapNames::SpeedName());
    const std::vector<double>& load = Column(log, MapNames::LoadName(layout.axis));
    const std::vector<double>& values = Column(log, value);
    const int rows = layout.speed.Count(), columns = layout.load.Count();
    std::vector<double> sums(size_t(rows * columns));
    std::vector<int64_t> counts(sums.size());
    for (size_t i = 0; i < log.Rows(); ++i) {
        const double r = std::floor((speed[i] - layout.speed.first) / layout.speed.width);
        const double c = std::floor((load[i] - layout.load.first) / layout.load.width);
        if (!(r >= 0 && r < rows && c >= 0 && c < columns) || std::isnan(values[i]))
            continue;
        const size_t cell = size_t(r) * size_t(columns) + size_t(c);
        sums[cell] += values[i];
        ++counts[cell];
    }
    double checksum = 0;
    for (size_t i = 0; i < sums.size(); ++i)
        checksum += sums[i] + double(counts[i]);
    return checksum;
}

LiveSample Sample(int i) {
    LiveSample sample;
    for (const Catalogue::Entry* entry : Catalogue::LiveValues()) {
        uint16_t word = 0;
        switch (*entry->address) {
        case Live::EngineSpeed:
            word = uint16_t(800 + (i * 37) % 5600);
            break;
        case Live::BaseInjection:
            word = uint16_t(1200 + (i * 53) % 18000);
            break;
        case Live::EngineTemperature:
            word = 3530;
            break;
        case Live::ThrottleVoltage:
            word = 600;
            break;
        }
        sample.values.push_back(LiveValueFrom(*entry, word));
    }
    sample.trim = TrimReading{TrimSource::Sensor, (i % 25) - 12.0L};
    return sample;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.csv"));
    IdlingDrive day;
    day.rows = DayRows;
    day.lostFrom = 30000;
    day.lostUntil = 30060;
    if (!WriteIdlingDrive(path, day)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const DataLog log = LogReader::Read(path);
    // The trim where the day's log holds it, else a value every log holds.
    MapLayout layout;
    if (log.IndexOf(LogFormat::TrimName) < 0)
        layout.value = MapValue::OxygenVoltage;
    const QString value = MapNames::ValueName(layout);
    std::printf("log: %zu rows, the map of «%s»\n", log.Rows(), qPrintable(value));

    std::vector<double> ours, plain;
    double checksum = 0;
    for (int round = 0; round < BuildRounds; ++round) {
        // Processor time: what the machine's other work costs this thread is no part of it.
        double cpu0 = ThreadCpuSeconds();
        checksum += PlainBins(log, layout, value);
        plain.push_back((ThreadCpuSeconds() - cpu0) * 1000);
        cpu0 = ThreadCpuSeconds();
        MapBuilder builder(layout, MapFilters{});
        MapLogs::Fold(builder, log);
        ours.push_back((ThreadCpuSeconds() - cpu0) * 1000);
        checksum += double(builder.Table().Samples());
    }
    const double buildMs = Median(ours);
    const double buildRatio = buildMs / Median(plain);
    std::printf("build: ours %.2f ms, plain %.2f ms processor time (median of %d, checksum %g)\n",
                buildMs, Median(plain), BuildRounds, checksum);

    LivePoller poller(WindowLink());
    ConnectionEvents events;
    JournalFeed writes;
    LiveFeed feed(poller, events);
    MapWindow window(feed, writes, events);
    window.SetLayout(MapLayout{});
    window.SetConnected(true);
    window.resize(1400, 760);
    window.show();
    QCoreApplication::processEvents();
    std::vector<double> updates;
    for (int i = 0; i < LiveRounds; ++i) {
        const LiveSample sample = Sample(i);
        const double cpu0 = ThreadCpuSeconds();
        window.AddSample(sample);
        QCoreApplication::processEvents();
        updates.push_back((ThreadCpuSeconds() - cpu0) * 1000);
    }
    const double liveMs = Median(updates);
    std::printf("live: %d samples, median %.3f ms processor time (90th percentile %.3f)\n",
                LiveRounds, liveMs, BenchStats::Percentile(updates, 0.9));

    MapView& view = window.View();
    std::vector<double> redraws;
    for (int round = 0; round < RedrawRounds; ++round) {
        const double cpu0 = ThreadCpuSeconds();
        view.repaint();
        redraws.push_back((ThreadCpuSeconds() - cpu0) * 1000);
    }
    const double redrawMs = Median(redraws);
    std::printf("redraw: %d x %d cells, %d x %d, median of %d: %.2f ms processor time\n",
                view.Rows(), view.Columns(), view.width(), view.height(), RedrawRounds, redrawMs);

    std::printf("map_build_ratio %.2f\n", buildRatio);
    std::printf("map_build_ms %.2f\n", buildMs);
    std::printf("map_live_update_ms %.3f\n", liveMs);
    std::printf("map_redraw_ms %.2f\n", redrawMs);

    BenchStats::Targets targets;
    targets.Check(buildRatio <= BuildRatioTarget, "map_build_ratio");
    targets.Check(liveMs <= LiveUpdateTargetMs, "map_live_update_ms");
    targets.Check(redrawMs <= RedrawTargetMs, "map_redraw_ms");
    return targets.ExitCode();
}

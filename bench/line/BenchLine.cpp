// The production line's speed: one unit against the line time of the frames it needs
// (line_unit_ratio), units per hour of four stations against one (line_parallel_ratio), and
// the longest stall of the window's thread while four stations work (line_event_stall_ms).

#include "BenchStats.h"
#include "ControllerSequence.h"
#include "ProductionLine.h"
#include "ProductionLog.h"
#include "SampleWords.h"
#include "SettingsFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int UnitsPerStation = 3;

struct Run {
    double seconds = 0;             // from the start to the last result
    std::vector<double> unitRatios; // per unit: its time over its frames' line time
    double longestStallMs = 0;      // of a 5 ms timer on this thread
};

size_t WorkFrames(const q5emu::ControllerSequence& fixture) {
    size_t frames = 0;
    for (const q5emu::LoggedFrame& frame : fixture.frameLog())
        frames += frame.command == 2 && frame.address == 47 ? 0 : 1;
    return frames;
}

Run RunLine(const QTemporaryDir& dir, int stations, const LineJob& job) {
    std::vector<std::unique_ptr<q5emu::ControllerSequence>> fixtures;
    QStringList devices;
    std::string script = "new";
    for (int i = 1; i < UnitsPerStation; ++i)
        script += ",new";
    for (int i = 0; i < stations; ++i) {
        q5emu::EmulatorOptions options;
        options.zeroHead = true;
        fixtures.push_back(std::make_unique<q5emu::ControllerSequence>(
            options, *q5emu::ParseSequence(script), q5emu::SequenceTiming{}));
        const QString device = dir.filePath(QStringLiteral("s%1-%2").arg(stations).arg(i));
        fixtures.back()->linkAt(device.toStdString());
        fixtures.back()->start();
        devices << device;
    }
    ProductionLine line(dir.filePath(QStringLiteral("data")));
    Run run;
    std::vector<size_t> framesBefore(static_cast<size_t>(stations), 0);
    int results = 0;
    QElapsedTimer clock;
    QEventLoop loop;
    QObject::connect(&line, &ProductionLine::unitFinished, [&](const UnitRecord& record) {
        const auto index = static_cast<size_t>(record.station - 1);
        const size_t frames = WorkFrames(*fixtures[index]);
        const double lineMs = static_cast<double>(frames - framesBefore[index]) *
                              BenchStats::Ms(q5emu::TwoFramesAt19200);
        framesBefore[index] = frames;
        run.unitRatios.push_back(static_cast<double>(record.durationMs) / lineMs);
        if (++results == stations * UnitsPerStation) {
            run.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
            loop.quit();
        }
    });
    QTimer tick;
    QElapsedTimer sinceTick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        run.longestStallMs =
            std::max(run.longestStallMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - 5);
        sinceTick.start();
    });
    tick.start(5);
    sinceTick.start();
    clock.start();
    line.Start(job, devices);
    QTimer::singleShot(180'000, &loop, &QEventLoop::quit);
    loop.exec();
    line.Abort();
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    SettingsRecords::Entries entries{};
    const SettingsRecords::Words sample = SampleControllerWords();
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].word = sample[i];
    SettingsFile::Write(dir.filePath(QStringLiteral("reference.q5t")), entries);
    LineJob job;
    job.reference = ReferenceFile::Load(dir.filePath(QStringLiteral("reference.q5t")));
    job.logPath = dir.filePath(QStringLiteral("Protocol.lst"));
    // The line's window begins the log before a line starts; the stations never do.
    ProductionLog::CreateIfMissing(job.logPath, QStringLiteral("01.01.01"));

    // Interleaved: one station, four, one, four.
    std::vector<double> unitRatios;
    std::vector<double> parallelRatios;
    double longestStall = 0;
    for (int round = 0; round < 2; ++round) {
        const Run one = RunLine(dir, 1, job);
        const Run four = RunLine(dir, 4, job);
        unitRatios.insert(unitRatios.end(), one.unitRatios.begin(), one.unitRatios.end());
        parallelRatios.push_back((4.0 * UnitsPerStation / four.seconds) /
                                 (UnitsPerStation / one.seconds));
        longestStall = std::max(longestStall, four.longestStallMs);
        std::printf("round %d: one station %.1f s, four %.1f s, unit ratio %.3f\n", round + 1,
                    one.seconds, four.seconds, BenchStats::Median(one.unitRatios));
    }
    std::printf("line_unit_ratio %.3f\n", BenchStats::Median(unitRatios));
    std::printf("line_parallel_ratio %.2f\n", BenchStats::Median(parallelRatios));
    std::printf("line_event_stall_ms %.1f\n", longestStall);
    return 0;
}

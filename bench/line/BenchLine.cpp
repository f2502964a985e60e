// The production line's speed: one unit against the line time of the frames it needs, its
// numbers from a shared PostgreSQL store (line_unit_ratio); units per hour of four stations
// against one (line_four_station_ratio) and of two four-station processes, as two PCs on one
// store, against one (line_parallel_ratio); the longest stall of the window's thread while four
// stations work (line_event_stall_ms); the time to take a number from the shared store while
// eight stations take theirs at once (line_store_number_ms_p99).
//
// With "process <socket folder> <port> <folder> <pc>" it is one of those processes: it runs a
// four-station line and prints its seconds.

#include "BenchStats.h"
#include "ControllerSequence.h"
#include "PostgresCluster.h"
#include "ProductionLine.h"
#include "ProductionLog.h"
#include "SampleWords.h"
#include "SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUuid>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
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

Run RunLine(const QDir& dir, int stations, const LineJob& job) {
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

LineJob MakeJob(const QDir& dir) {
    SettingsRecords::Entries entries{};
    const SettingsRecords::Words sample = SampleControllerWords();
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].word = sample[i];
    SettingsFile::Write(dir.filePath(QStringLiteral("reference.q5t")), entries);
    LineJob job;
    job.reference = ReferenceFile::Load(dir.filePath(QStringLiteral("reference.q5t")));
    job.logPath = dir.filePath(QStringLiteral("Protocol.lst"));
    job.logWait = std::chrono::milliseconds(10'000);
    // The line's window begins the log before a line starts; the stations never do.
    ProductionLog::CreateIfMissing(job.logPath, QStringLiteral("01.01.01"));
    return job;
}

LineStoreUse SharedUse(const StorePlace& place, const QDir& dir, const QString& pc) {
    LineStoreUse use;
    use.place = place;
    use.pc = pc;
    use.spoolPath = dir.filePath(QStringLiteral("spool.sqlite"));
    return use;
}

StorePlace PlaceAt(const QString& socketFolder, int port) {
    StorePlace place;
    place.kind = StorePlace::Kind::Shared;
    place.host = socketFolder;
    place.port = port;
    place.database = QString::fromLatin1(PostgresCluster::Database);
    place.user = QString::fromLatin1(PostgresCluster::User);
    return place;
}

// Eight stations taking numbers at once, each as a unit does: the milliseconds of each take.
// Each station is connected first, as a running line's are after their first unit, and all
// begin together.
std::vector<double> TakeAtOnce(const LineStoreUse& use) {
    constexpr int Stations = 8;
    constexpr int Takes = 40;
    std::vector<std::vector<double>> times(Stations);
    std::vector<std::unique_ptr<QThread>> threads;
    std::mutex turn;
    std::condition_variable allConnected;
    int connected = 0;
    for (int s = 0; s < Stations; ++s)
        threads.emplace_back(QThread::create([&, s] {
            StationStore store(use);
            store.EarlierAttempts(QStringLiteral("-"));
            {
                std::unique_lock lock(turn);
                if (++connected == Stations)
                    allConnected.notify_all();
                allConnected.wait(lock, [&] { return connected == Stations; });
            }
            for (int i = 0; i < Takes; ++i) {
                UnitRecord unit;
                unit.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
                unit.station = s + 1;
                const ControllerIdentity::NumberRegister numbers = store.Register(unit);
                const auto start = std::chrono::steady_clock::now();
                numbers.take(QStringLiteral("BENCH-NUMBERS-8-ST-"), QStringLiteral("00114"));
                times[static_cast<size_t>(s)].push_back(
                    BenchStats::Ms(std::chrono::steady_clock::now() - start));
            }
        }));
    for (auto& thread : threads)
        thread->start();
    for (auto& thread : threads)
        thread->wait();
    std::vector<double> all;
    for (const auto& station : times)
        all.insert(all.end(), station.begin(), station.end());
    return all;
}

// Seconds of `processes` four-station lines at once, each a process of its own.
double Processes(const PostgresCluster& server, const QDir& dir, int processes, int round) {
    std::vector<std::unique_ptr<QProcess>> running;
    QElapsedTimer clock;
    clock.start();
    for (int p = 0; p < processes; ++p) {
        const QString folder =
            dir.filePath(QStringLiteral("p%1-%2-%3").arg(round).arg(processes).arg(p));
        QDir().mkpath(folder);
        running.push_back(std::make_unique<QProcess>());
        running.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        running.back()->start(QCoreApplication::applicationFilePath(),
                              {QStringLiteral("process"), server.SocketFolder(),
                               QString::number(server.Place().port), folder,
                               QStringLiteral("ПК-%1").arg(p + 1)});
    }
    for (auto& process : running)
        process->waitForFinished(300'000);
    return static_cast<double>(clock.elapsed()) / 1000.0;
}

int OneProcess(const QStringList& args) {
    const QDir dir(args[4]);
    LineJob job = MakeJob(dir);
    job.store = SharedUse(PlaceAt(args[2], args[3].toInt()), dir, args[5]);
    const Run run = RunLine(dir, 4, job);
    std::printf("%.2f\n", run.seconds);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 6 && args[1] == QLatin1String("process"))
        return OneProcess(args);
    QTemporaryDir temporary;
    const QDir dir(temporary.path());
    const LineJob job = MakeJob(dir);
    PostgresCluster server;
    if (!server.Ok()) {
        std::fprintf(stderr, "no PostgreSQL server: %s\n", qPrintable(server.Failure()));
        return 1;
    }
    LineJob shared = job;
    shared.store = SharedUse(server.Place(), dir, QStringLiteral("ПК-1"));

    // Interleaved: one station, four, one, four; one process, two, one, two.
    std::vector<double> unitRatios;
    std::vector<double> fourStationRatios;
    std::vector<double> parallelRatios;
    double longestStall = 0;
    for (int round = 0; round < 2; ++round) {
        const Run one = RunLine(dir, 1, shared);
        const Run four = RunLine(dir, 4, job);
        unitRatios.insert(unitRatios.end(), one.unitRatios.begin(), one.unitRatios.end());
        fourStationRatios.push_back((4.0 * UnitsPerStation / four.seconds) /
                                    (UnitsPerStation / one.seconds));
        longestStall = std::max(longestStall, four.longestStallMs);
        const double oneProcess = Processes(server, dir, 1, round);
        const double twoProcesses = Processes(server, dir, 2, round);
        parallelRatios.push_back(2.0 * oneProcess / twoProcesses);
        std::printf("round %d: one station %.1f s, four %.1f s, unit ratio %.3f; one process "
                    "%.1f s, two %.1f s\n",
                    round + 1, one.seconds, four.seconds, BenchStats::Median(one.unitRatios),
                    oneProcess, twoProcesses);
    }
    // A take's longest times are a few of hundreds: the median round's.
    std::vector<double> takeP99s;
    for (int round = 0; round < 5; ++round)
        takeP99s.push_back(BenchStats::Percentile(
            TakeAtOnce(SharedUse(server.Place(), dir, QStringLiteral("ПК-1"))), 0.99));
    std::printf("line_unit_ratio %.3f\n", BenchStats::Median(unitRatios));
    std::printf("line_four_station_ratio %.2f\n", BenchStats::Median(fourStationRatios));
    std::printf("line_parallel_ratio %.2f\n", BenchStats::Median(parallelRatios));
    std::printf("line_event_stall_ms %.1f\n", longestStall);
    std::printf("line_store_number_ms_p99 %.1f\n", BenchStats::Median(takeP99s));
    return 0;
}

// A day's test drive: 24 hours at 2 samples a second (172,800 rows, every live value) written
// as the recorder writes it, then opened as a replay against a plain std::from_chars parse of
// the same file (interleaved, repeated), drawn whole with eight values in the chart window
// (the processor time of a full redraw), and the resident memory of it all. Last, a recording
// at 10 samples a second (20 s) against the emulator at the line's reply timing, for the
// processor time of the GUI thread that does it. Ends with "NAME VALUE" lines.

#include "BenchLoop.h"
#include "BenchStats.h"
#include "ChartView.h"
#include "ChartWindow.h"
#include "Comm_Fun.h"
#include "ConnectionEvents.h"
#include "EmulatedPorts.h"
#include "IdlingDrive.h"
#include "JournalFeed.h"
#include "LineBudget.h"
#include "LiveFeed.h"
#include "LivePoller.h"
#include "LogReader.h"
#include "PlainParse.h"
#include "Protocol.h"
#include "Recorder.h"
#include "WindowLink.h"

#include <QApplication>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>

namespace {

using BenchLoop::Spin;
using BenchStats::Median;
using BenchStats::Ms;
using BenchStats::ThreadCpuSeconds;

using Clock = std::chrono::steady_clock;

constexpr int DayRows = 24 * 60 * 60 * 2;
constexpr int OpenRounds = 7;
constexpr int RedrawRounds = 15;
constexpr int RecordSeconds = 20;
// Asked for, as a technician would; the recording takes the highest rate the line carries.
constexpr int AskedRate = 10;
constexpr double OpenRatioTarget = 2.0;
constexpr double RedrawTargetMs = 16;
constexpr double ResidentTargetMb = 100;
constexpr double RecordCpuTarget = 0.02;

double ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    LivePoller poller(WindowLink());
    ConnectionEvents events;
    JournalFeed writes;
    LiveFeed feed(poller, events);
    // "record" alone skips the log and the chart (for looking at the recording by itself).
    const bool recordOnly = argc > 1 && QByteArray(argv[1]) == "record";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.csv"));
    double openMs = 0, openRatio = 0, redrawMs = 0, residentMb = 0;
    if (!recordOnly) {
        IdlingDrive day;
        day.rows = DayRows;
        day.lostFrom = 30000;
        day.lostUntil = 30060;
        if (!WriteIdlingDrive(path, day)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("log: %d rows, %lld bytes\n", DayRows, QFileInfo(path).size());

        // Opening: ours against the plain parse, interleaved, the median of each.
        std::vector<double> ours, plain;
        double checksum = 0;
        for (int round = 0; round < OpenRounds; ++round) {
            auto t0 = Clock::now();
            checksum += PlainParse(path.toStdString());
            plain.push_back(Ms(Clock::now() - t0));
            t0 = Clock::now();
            const DataLog log = LogReader::Read(path);
            ours.push_back(Ms(Clock::now() - t0));
            checksum += double(log.Rows());
        }
        openMs = Median(ours);
        openRatio = openMs / Median(plain);
        std::printf("open: ours %.1f ms, plain %.1f ms (median of %d, checksum %g)\n", openMs,
                    Median(plain), OpenRounds, checksum);

        // The whole day in the chart window, eight values stacked.
        ChartWindow window(feed, writes, events);
        window.resize(1200, 800);
        window.OpenLog(path);
        QStringList eight;
        for (int i = 0; i < 8; ++i)
            eight << window.Log().series[size_t(i)].name;
        window.ShowSeries(eight);
        window.show();
        QCoreApplication::processEvents();
        window.View().ShowAll();
        // A redraw is processor work only: its thread's processor time is what it costs,
        // whatever else the machine runs; the wall time is shown beside it.
        std::vector<double> redraws, redrawWalls;
        for (int round = 0; round < RedrawRounds; ++round) {
            const double cpu0 = ThreadCpuSeconds();
            const auto t0 = Clock::now();
            window.View().RedrawNow();
            redrawWalls.push_back(Ms(Clock::now() - t0));
            redraws.push_back((ThreadCpuSeconds() - cpu0) * 1000);
        }
        redrawMs = Median(redraws);
        std::printf("redraw: %zu series of %zu rows, %d x %d, median of %d: %.1f ms processor "
                    "time, %.1f ms wall time\n",
                    window.View().Shown().size(), window.Log().Rows(), window.View().width(),
                    window.View().height(), RedrawRounds, redrawMs, Median(redrawWalls));
        residentMb = ResidentMb();
        window.close();
    }

    // A recording at the highest rate up to 10 a second that the line carries (its feed reads
    // the trim's words too), against an emulator at the line's timing.
    const int recordRate = LineBudget::HighestFeedRateThatFits(AskedRate);
    q5emu::EmulatorOptions lineTiming;
    EmulatedPorts ports(1, {0}, lineTiming);
    Comm_Fun::OpenPort(1, 19200);
    const auto e0 = Clock::now();
    for (int i = 0; i < 200; ++i)
        SendCommand(CmdReadLive, 162, 0);
    const double exchangeMs = Ms(Clock::now() - e0) / 200;
    emit events.connected();
    double recordCpu = 0, recordWall = 0;
    qint64 rows = 0;
    {
        Recorder recorder(dir.filePath(QStringLiteral("record.csv")), recordRate, feed, writes);
        const double cpu0 = ThreadCpuSeconds();
        const auto t0 = Clock::now();
        Spin(RecordSeconds * 1000);
        recorder.Finish();
        recordCpu = ThreadCpuSeconds() - cpu0;
        recordWall = Ms(Clock::now() - t0) / 1000;
        rows = recorder.Rows();
    }
    emit events.closed();
    Comm_Fun::ClosePort();
    const double recordRatio = recordCpu / recordWall;
    std::printf("record: %lld rows in %.1f s at %d a second (overruns %d), GUI thread %.3f s "
                "processor time\n",
                rows, recordWall, recordRate, feed.Overruns(), recordCpu);

    std::printf("log_open_ratio %.2f\n", openRatio);
    std::printf("log_open_ms %.1f\n", openMs);
    std::printf("chart_redraw_ms %.1f\n", redrawMs);
    std::printf("log_resident_mb %.1f\n", residentMb);
    std::printf("record_cpu_ratio %.4f\n", recordRatio);
    std::printf("exchange_ms %.2f\n", exchangeMs);

    BenchStats::Targets targets;
    targets.Check(openRatio <= OpenRatioTarget, "log_open_ratio");
    targets.Check(redrawMs <= RedrawTargetMs, "chart_redraw_ms");
    targets.Check(residentMb <= ResidentTargetMb, "log_resident_mb");
    targets.Check(recordRatio <= RecordCpuTarget, "record_cpu_ratio");
    return targets.ExitCode();
}

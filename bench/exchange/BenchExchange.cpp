// Measures the program's command exchange against a plain POSIX client talking to an
// identical emulator, interleaved in one run, and the processor time a silent controller
// and a device that hung up under the open port cost; then four links exchanging at once
// (ParallelLinks.h). Ends with "NAME VALUE" lines.

#include <Q5Emulator.h>
#include <RawPortClient.h>

#include "ParallelLinks.h"

#include <BenchStats.h>
#include <Comm_Fun.h>
#include <Protocol.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <sched.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using BenchStats::Percentile;
using BenchStats::ThreadCpuSeconds;

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

constexpr int Exchanges = 2000;
constexpr int WarmUp = 100;
constexpr int SilentExchanges = 50;
constexpr double MedianTarget = 1.05;
constexpr double ParallelTarget = 3.6;
constexpr double StallTargetMs = 20;
// A pair in which a reply missed its window (a loaded machine) is run again, this often at most.
constexpr int MaxRepeatedRounds = 100;
constexpr double SilentCpuTarget = 0.05;
constexpr double HangUpCpuTarget = 0.05;
// The hung-up port is first left alone with the event loop running, then exchanged on at
// the pace of a fast polling timer.
constexpr int HangUpIdleMs = 1000;
constexpr int HangUpPaceMs = 10;
constexpr int HangUpMs = 4000;
constexpr auto RawPatience = std::chrono::milliseconds(1000);
constexpr uint8_t LiveAddresses[] = {72,  76,  77,  162, 164, 166, 178, 182, 186,
                                     190, 192, 196, 198, 200, 202, 204, 208, 212};

// A mix like the program's traffic: parameter and live reads, parameter writes.
Frame::Bytes RequestNumber(int i) {
    switch (i % 4) {
    case 0:
        return Frame::Build(CmdReadParam, static_cast<uint8_t>(33 + i % 67), 0);
    case 1:
        return Frame::Build(CmdReadLive, LiveAddresses[i % std::size(LiveAddresses)], 0);
    case 2:
        return Frame::Build(CmdWriteParam, 98, static_cast<uint16_t>(i));
    default:
        return Frame::Build(CmdReadParam, static_cast<uint8_t>(i % 33), 0);
    }
}

bool ProgramExchange(const Frame::Bytes& request) {
    return SendCommand(request[0], request[1], Frame::Word(request));
}

bool RawExchange(q5emu::RawPortClient& client, const Frame::Bytes& request) {
    return client.exchange({request.begin(), request.end()}, RawPatience).size() == Frame::Size;
}

struct CpuShare {
    double cpu = 0;
    double wall = 0;
    int exchanges = 0;
    double ratio() const { return cpu / wall; }
};

// The event loop idling over a port whose device has hung up, then exchanges at a polling
// timer's pace on it, with the event loop running between them as in the program.
CpuShare HangUpCpuShare(int& failures) {
    QTimer pace;
    pace.setInterval(HangUpPaceMs);
    CpuShare share;
    QObject::connect(&pace, &QTimer::timeout, [&] {
        failures += ProgramExchange(RequestNumber(share.exchanges)); // must fail
        ++share.exchanges;
    });
    QEventLoop loop;
    QTimer::singleShot(HangUpMs, &loop, &QEventLoop::quit);
    const double cpuStart = ThreadCpuSeconds();
    const auto wallStart = Clock::now();
    QTimer::singleShot(HangUpIdleMs, &pace, qOverload<>(&QTimer::start));
    loop.exec();
    share.wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    share.cpu = ThreadCpuSeconds() - cpuStart;
    return share;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // On every processor: the links run side by side.
    const ParallelFigures parallel = MeasureParallelLinks();
    // Both sides and both emulators share one processor (the emulator threads inherit the
    // mask), so that neither side wins or loses by where the scheduler puts its peer.
    cpu_set_t oneCpu;
    CPU_ZERO(&oneCpu);
    CPU_SET(std::max(0, sched_getcpu()), &oneCpu);
    sched_setaffinity(0, sizeof oneCpu, &oneCpu);
    q5emu::EmulatorOptions prompt;
    prompt.replyDelay = std::chrono::microseconds(0);
    std::optional<q5emu::Q5Emulator> programSide(std::in_place, prompt);
    q5emu::Q5Emulator baselineSide(prompt);
    programSide->start();
    baselineSide.start();

    qputenv("TARVIK_Q5_PORTS", QByteArray::fromStdString(programSide->slavePath()));
    if (!Comm_Fun::OpenPort(1, 19200)) {
        std::fprintf(stderr, "bench_exchange: cannot open %s\n", programSide->slavePath().c_str());
        return 2;
    }
    Comm_Fun::SetDtrLine();
    Comm_Fun::ClearRtsLine();
    q5emu::RawPortClient baseline(baselineSide.slavePath());

    int failures = 0;
    for (int i = 0; i < WarmUp; ++i) {
        failures += !ProgramExchange(RequestNumber(i));
        failures += !RawExchange(baseline, RequestNumber(i));
    }

    std::vector<double> program, plain;
    program.reserve(Exchanges);
    plain.reserve(Exchanges);
    int repeatedRounds = 0;
    for (int i = 0; i < Exchanges;) {
        const Frame::Bytes request = RequestNumber(i);
        // Alternate which side goes first so neither gains from a warm cache.
        double elapsed[2] = {};
        bool answered = true;
        for (int side = 0; side < 2; ++side) {
            const bool programTurn = (side == 0) == (i % 2 == 0);
            const auto start = Clock::now();
            const bool ok = programTurn ? ProgramExchange(request) : RawExchange(baseline, request);
            elapsed[programTurn ? 0 : 1] = Micros(Clock::now() - start).count();
            answered = answered && ok;
        }
        if (!answered) {
            failures += ++repeatedRounds > MaxRepeatedRounds;
            continue;
        }
        program.push_back(elapsed[0]);
        plain.push_back(elapsed[1]);
        ++i;
    }

    programSide->setFault(q5emu::FaultMode::Silence);
    const double cpuStart = ThreadCpuSeconds();
    const auto wallStart = Clock::now();
    for (int i = 0; i < SilentExchanges; ++i)
        failures += ProgramExchange(RequestNumber(i)); // must fail
    const double silentWall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    const double silentCpu = ThreadCpuSeconds() - cpuStart;

    programSide.reset(); // its pseudo-terminal goes: the open port hangs up
    const CpuShare hangUp = HangUpCpuShare(failures);
    Comm_Fun::ClosePort();

    const double programMedian = Percentile(program, 0.5), plainMedian = Percentile(plain, 0.5);
    const double programP99 = Percentile(program, 0.99), plainP99 = Percentile(plain, 0.99);
    const double medianRatio = programMedian / plainMedian;
    const double p99Ratio = programP99 / plainP99;
    const double cpuRatio = silentCpu / silentWall;

    std::printf("exchange over a pseudo-terminal, emulator replying at once, %d exchanges each\n",
                Exchanges);
    std::printf("%-28s %12s %12s %10s\n", "", "program", "plain POSIX", "ratio");
    std::printf("%-28s %10.1f us %10.1f us %10.3f   target <= %.2f: %s\n", "median", programMedian,
                plainMedian, medianRatio, MedianTarget,
                medianRatio <= MedianTarget ? "met" : "MISSED");
    std::printf("%-28s %10.1f us %10.1f us %10.3f\n", "99th percentile", programP99, plainP99,
                p99Ratio);
    std::printf("%-28s %10.1f ms %10.1f ms %10.4f   target <= %.2f: %s\n", "silent: cpu / wall",
                silentCpu * 1e3, silentWall * 1e3, cpuRatio, SilentCpuTarget,
                cpuRatio <= SilentCpuTarget ? "met" : "MISSED");
    std::printf("%-28s %10.1f ms %10.1f ms %10.4f   target <= %.2f: %s\n", "hung up: cpu / wall",
                hangUp.cpu * 1e3, hangUp.wall * 1e3, hangUp.ratio(), HangUpCpuTarget,
                hangUp.ratio() <= HangUpCpuTarget ? "met" : "MISSED");
    std::printf("hung up: %d ms idle, then %d exchanges, one each %d ms\n", HangUpIdleMs,
                hangUp.exchanges, HangUpPaceMs);
    std::printf("%-28s %d rounds at line timing, each link on a thread of its own\n", "four links",
                parallel.rounds);
    std::printf("%-28s %10.3f   target >= %.2f: %s\n", "exchanges/s, four / one",
                parallel.threadsRatio, ParallelTarget,
                parallel.threadsRatio >= ParallelTarget ? "met" : "MISSED");
    std::printf("%-28s %10.1f ms   target <= %.0f ms: %s (longest of all %.1f ms)\n",
                "GUI thread's longest stall", parallel.threadsStallMs, StallTargetMs,
                parallel.threadsStallMs <= StallTargetMs ? "met" : "MISSED",
                parallel.threadsWorstStallMs);
    std::printf("%-28s %10.3f exchanges/s ratio, %.1f ms longest stall\n",
                "rejected: turns on GUI thread", parallel.turnsRatio, parallel.turnsStallMs);
    std::printf("failed exchanges: %d\n", failures);
    std::printf("exchange_median_ratio %.4f\n", medianRatio);
    std::printf("exchange_p99_ratio %.4f\n", p99Ratio);
    std::printf("silent_cpu_ratio %.4f\n", cpuRatio);
    std::printf("hangup_cpu_ratio %.4f\n", hangUp.ratio());
    std::printf("exchange_repeated_rounds %d\n", repeatedRounds);
    std::printf("parallel_exchange_ratio %.4f\n", parallel.threadsRatio);
    std::printf("event_stall_ms %.2f\n", parallel.threadsStallMs);
    std::printf("parallel_exchange_repeated_rounds %d\n", parallel.repeatedRounds);
    std::printf("turns_exchange_ratio %.4f\n", parallel.turnsRatio);
    std::printf("turns_event_stall_ms %.2f\n", parallel.turnsStallMs);
    return failures == 0 && parallel.rounds > 0 ? 0 : 1;
}

// Measures the connection sequence, a settings save and a settings load against an emulated
// controller that takes the real 19200-baud time of each exchange. Each runs from the event
// loop as the program runs it, timed until the loop is free again, so that any wait the
// technician sees after it counts. Each is compared with a plain POSIX client that replays the
// very frames the program sent against an identical emulator, measured in the same run,
// interleaved round by round; and with the time the line itself needs for those exchanges.
// Also the time a scan of four ports without a controller takes, and the longest stall of the
// event loop while the technician writes and the journal's sync takes a second
// (event_stall_ms). Ends with "NAME VALUE" lines.

#include "BenchStats.h"
#include "PlainReplay.h"

#include "Comm_Fun.h"
#include "Connection.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "Messages.h"
#include "ProductionLog.h"
#include "Protocol.h"
#include "Ser_num.h"
#include "SettingsRecords.h"
#include "Startup.h"
#include "TestDiskSync.h"
#include "ToolData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using BenchStats::Median;

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr int WarmUpRounds = 1;
constexpr int Rounds = 7;
constexpr double PlainTarget = 1.05;
constexpr double LoadTarget = 1.03;
constexpr double EventStallTargetMs = 20;
// The journal's sync as a slow disk takes it, and the technician's pace of writing: one
// change every 1.5 s, each its own action, while the sync of the one before runs.
constexpr std::chrono::milliseconds SlowSync{1000};
constexpr int StallWrites = 3;
constexpr int StallWriteEveryMs = 1500;
constexpr uint8_t StallWordAddress = 98;
constexpr double LineTarget = 1.15;
constexpr double EmptyScanTargetMs = 4 * 60.0;
// Two five-byte frames at 19200 baud, 11 bits a byte.
constexpr double LineMsPerExchange = 2 * 5 * 11 * 1000.0 / 19200;

struct Operation {
    Operation(const char* operationName, std::function<void()> action,
              double ratioTarget = PlainTarget)
        : name(operationName), run(std::move(action)), target(ratioTarget) {}

    const char* name;
    std::function<void()> run;
    double target;                          // program / plain client
    std::vector<q5emu::LoggedFrame> frames; // what the program sent, last time
    std::vector<double> programMs, plainMs, plainRatios, lineRatios;
    size_t exchanges = 0;
    int repeated = 0;     // rounds run again because a reply missed its window
    bool measured = true; // false when a round could not be had at all

    double plainRatio() const { return Median(plainRatios); }
    double lineRatio() const { return Median(lineRatios); }
};

// A round in which a reply missed its window (a loaded machine) proves nothing about either
// side: it is counted and run again, never measured and never an abort.
constexpr int MaxRepeatsPerOperation = 10;

// The work handed to the event loop as an event, as the window hands it a click; returns once
// the loop has nothing left to do for it.
void RunFromEventLoop(const std::function<void()>& run) {
    QEventLoop loop;
    std::exception_ptr failure;
    QTimer::singleShot(0, &loop, [&] {
        try {
            run();
        } catch (...) {
            failure = std::current_exception();
        }
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
    if (failure)
        std::rethrow_exception(failure);
}

std::optional<double> RunProgram(q5emu::Q5Emulator& controller, Operation& op) {
    controller.clearLog();
    const auto start = Clock::now();
    try {
        RunFromEventLoop(op.run);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const double ms = Millis(Clock::now() - start).count();
    op.frames = controller.frameLog();
    op.exchanges = op.frames.size();
    return ms;
}

std::optional<double> RunPlain(const std::string& device, const Operation& op) {
    const ReplayResult result = ReplayPlain(device, op.frames, Comm_Fun::ReplyWindowMs);
    if (result.answered != result.exchanges)
        return std::nullopt;
    return result.ms;
}

// Both sides of one round, the plain client first or second; nullopt when either missed a reply.
std::optional<std::pair<double, double>> RunPair(q5emu::Q5Emulator& controller,
                                                 const std::string& plainDevice, Operation& op,
                                                 bool plainFirst) {
    std::optional<double> plainMs;
    if (plainFirst && !(plainMs = RunPlain(plainDevice, op)))
        return std::nullopt;
    const std::optional<double> programMs = RunProgram(controller, op);
    if (!programMs)
        return std::nullopt;
    if (!plainFirst && !(plainMs = RunPlain(plainDevice, op)))
        return std::nullopt;
    return std::make_pair(*programMs, *plainMs);
}

void ThrowUnlessConnected() {
    if (!DeviceConnected())
        throw std::runtime_error("no controller found");
}

void PrintRow(const Operation& op) {
    const double lineMs = static_cast<double>(op.exchanges) * LineMsPerExchange;
    // What the program spends beyond the plain client, per exchange.
    const double extraUs =
        (Median(op.programMs) - Median(op.plainMs)) * 1000 / static_cast<double>(op.exchanges);
    std::printf("%-10s %9zu %11.1f %11.1f %9.1f %9.3f %s %9.3f %s %9.0f\n", op.name, op.exchanges,
                Median(op.programMs), Median(op.plainMs), lineMs, op.plainRatio(),
                op.plainRatio() <= op.target ? "met   " : "MISSED", op.lineRatio(),
                op.lineRatio() <= LineTarget ? "met   " : "MISSED", extraUs);
}

// The longest time the event loop went without a 10 ms tick while the technician made
// StallWrites changes, the journal's sync taking SlowSync each time. Nothing when the syncs
// were not all seen.
std::optional<double> EventStallWhileWriting() {
    TestDiskSync disk;
    disk.Slow(SlowSync, QStringLiteral(".csv"));
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QElapsedTimer sinceTick;
    double longestMs = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestMs = std::max(longestMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    for (int i = 0; i < StallWrites; ++i)
        QTimer::singleShot(StallWriteEveryMs * i + StallWriteEveryMs / 3, [i] {
            SendCommand(CmdWriteParam, StallWordAddress, static_cast<uint16_t>(100 + i));
        });
    sinceTick.start();
    ticks.start(10);
    const QString journal = QStringLiteral(".csv");
    QEventLoop loop;
    QTimer done;
    int checks = 0;
    QObject::connect(&done, &QTimer::timeout, [&] {
        if (disk.Ended(journal) >= StallWrites || ++checks > 2 * StallWrites + 4)
            loop.quit();
    });
    done.start(StallWriteEveryMs);
    loop.exec();
    if (disk.Ended(journal) < StallWrites)
        return std::nullopt;
    return longestMs;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    QTemporaryDir workDir;
    ProductionLog::SetDirectory(workDir.path());
    QStringList notices;
    SetInformationPresenter([&notices](const QString& text) { notices << text; });

    TForm1 form;
    Form1 = &form;
    InstallBehaviour(form);
    TForm2 dialog;
    Form2 = &dialog;

    const QString settings = QDir(workDir.path()).filePath("bench.q5t");
    // The tool's data (restore points, journal) in the work directory, not the user's.
    qputenv("XDG_DATA_HOME", QDir(workDir.path()).filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(workDir.path()).filePath("config").toUtf8());
    const auto setBackup = [](bool on) {
        ToolData::Preferences()->setValue(QStringLiteral("safety/backupAtConnection"), on);
    };
    std::array<Operation, 4> ops{{
        {"connect",
         [&form] {
             Connect_to_COM1Click();
             form.Timer2->stop(); // keep the monitor's traffic out of the figures
             ThrowUnlessConnected();
         }},
        {"save", [&] { SaveSettings(settings); }},
        {"load",
         [&] {
             LoadSettings(settings);
             form.Timer2->stop();
         },
         LoadTarget},
        // The same connection without the restore point, for connect_backup_ratio.
        {"connect_nb",
         [&form, &setBackup] {
             Close_COMClick();
             setBackup(false);
             Connect_to_COM1Click();
             form.Timer2->stop();
             setBackup(true);
             ThrowUnlessConnected();
         }},
    }};
    std::vector<double> backupRatios;
    std::vector<double> emptyScans;
    {
        const q5emu::EmulatorOptions lineTiming; // real line timing on both sides
        EmulatedPorts ports(1, {0}, lineTiming);
        q5emu::Q5Emulator plainController(lineTiming);
        plainController.start();
        auto& controller = ports.emulator();
        for (int round = 0; round < WarmUpRounds + Rounds; ++round) {
            // Alternate which side goes first; the plain side replays the program's last run.
            const bool plainFirst = round % 2 == 1;
            for (Operation& op : ops) {
                std::optional<std::pair<double, double>> pair;
                for (int tries = 0; !pair && tries <= MaxRepeatsPerOperation; ++tries) {
                    if (tries > 0) {
                        ++op.repeated;
                        // Each operation starts as the round leaves it: closed before the first
                        // connection, connected before the others.
                        Close_COMClick();
                        if (&op != &ops[0])
                            Connect_to_COM1Click();
                    }
                    pair = RunPair(controller, plainController.slavePath(), op, plainFirst);
                }
                if (!pair) {
                    op.measured = false;
                    continue;
                }
                const auto [programMs, plainMs] = *pair;
                if (round < WarmUpRounds)
                    continue;
                op.programMs.push_back(programMs);
                op.plainMs.push_back(plainMs);
                op.plainRatios.push_back(programMs / plainMs);
                op.lineRatios.push_back(programMs /
                                        (static_cast<double>(op.exchanges) * LineMsPerExchange));
            }
            if (round >= WarmUpRounds && !ops[0].programMs.empty() && !ops[3].programMs.empty())
                backupRatios.push_back(ops[0].programMs.back() / ops[3].programMs.back());
            Close_COMClick();
        }
    }
    std::optional<double> eventStallMs;
    {
        const q5emu::EmulatorOptions lineTiming;
        EmulatedPorts ports(1, {0}, lineTiming);
        Connect_to_COM1Click();
        form.Timer2->stop();
        if (DeviceConnected())
            eventStallMs = EventStallWhileWriting();
        Close_COMClick();
    }
    notices.clear(); // a connection that missed a reply and was repeated said so
    {
        q5emu::EmulatorOptions silent;
        silent.fault.mode = q5emu::FaultMode::Silence;
        EmulatedPorts ports(4, {0, 1, 2, 3}, silent);
        for (int round = 0; round < Rounds; ++round) {
            const auto start = Clock::now();
            Connect_to_COM1Click();
            emptyScans.push_back(Millis(Clock::now() - start).count());
        }
    }
    const bool allConnected = ops[0].exchanges > 90;
    const bool allMeasured =
        eventStallMs &&
        std::all_of(ops.begin(), ops.end(), [](const Operation& op) { return op.measured; });

    const double emptyScanMs = Median(emptyScans);
    std::printf("medians of %d interleaved rounds; ratios: program / plain client (<= %.2f, the "
                "load <= %.2f), program / line time (<= %.2f)\n",
                Rounds, PlainTarget, LoadTarget, LineTarget);
    std::printf("%-10s %9s %11s %11s %9s %16s %16s %9s\n", "operation", "exchanges", "program ms",
                "plain ms", "line ms", "vs plain", "vs line", "extra us");
    for (const Operation& op : ops)
        PrintRow(op);
    std::printf("%-10s %9d %11.1f %11s %9s <= %.0f ms %s\n", "empty scan", 4, emptyScanMs, "-", "-",
                EmptyScanTargetMs, emptyScanMs <= EmptyScanTargetMs ? "met" : "MISSED");
    if (eventStallMs)
        std::printf("longest event-loop stall over %d writes, the journal's sync %lld ms each: "
                    "%.1f ms (<= %.0f ms %s)\n",
                    StallWrites, static_cast<long long>(SlowSync.count()), *eventStallMs,
                    EventStallTargetMs, *eventStallMs <= EventStallTargetMs ? "met" : "MISSED");
    for (const Operation& op : ops)
        std::printf("%s_ratio %.3f\n", op.name, op.plainRatio());
    for (const Operation& op : ops)
        std::printf("%s_line_ratio %.3f\n", op.name, op.lineRatio());
    std::printf("empty_scan_ms %.1f\n", emptyScanMs);
    if (eventStallMs)
        std::printf("event_stall_ms %.1f\n", *eventStallMs);
    for (const Operation& op : ops)
        std::printf("%s_repeated_rounds %d\n", op.name, op.repeated);
    // Target: the connection's own time plus the line time of reading the whole block again.
    const double backupTarget =
        1 + SettingsRecords::Count * LineMsPerExchange / Median(ops[3].programMs);
    std::printf("connect_backup_ratio %.3f (target <= %.3f; %zu restore-point reads)\n",
                Median(backupRatios), backupTarget, ops[0].exchanges - ops[3].exchanges);

    SetInformationPresenter({});
    Form2 = nullptr;
    Form1 = nullptr;
    // Each empty scan says "Прибор не обнаружен !" once (its advice follows), nothing else speaks.
    const bool noticesRight =
        notices.count(QStringLiteral("Прибор не обнаружен !")) == Rounds &&
        std::all_of(notices.begin(), notices.end(), [](const QString& notice) {
            return notice == QStringLiteral("Прибор не обнаружен !") ||
                   notice.startsWith(QStringLiteral("Порты, на которых прибор не найден"));
        });
    if (!allConnected || !allMeasured || !noticesRight)
        std::fprintf(stderr, "not measured whole: connected %d, measured %d, notices %s\n",
                     allConnected, allMeasured, qPrintable(notices.join(QStringLiteral(" | "))));
    return allConnected && allMeasured && noticesRight ? 0 : 1;
}

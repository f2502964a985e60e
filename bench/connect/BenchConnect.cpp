// Measures the connection sequence, a settings save and a settings load against an emulated
// controller that takes the real 19200-baud time of each exchange, as ratios of the time the
// line itself needs for the same exchanges; and the time a scan of four ports without a
// controller takes. Ends with "NAME VALUE" lines.

#include "Comm_Fun.h"
#include "Connection.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "Messages.h"
#include "ProductionLog.h"
#include "Ser_num.h"
#include "Startup.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr int Rounds = 5;
constexpr double RatioTarget = 1.15;
constexpr double EmptyScanTargetMs = 4 * 60.0;
// Two five-byte frames at 19200 baud, 11 bits a byte.
constexpr double LineMsPerExchange = 2 * 5 * 11 * 1000.0 / 19200;

struct Sample {
    double ms;
    size_t exchanges;
};

Sample Measure(q5emu::Q5Emulator& controller, const std::function<void()>& action) {
    controller.clearLog();
    const auto start = Clock::now();
    action();
    const double ms = Millis(Clock::now() - start).count();
    return {ms, controller.framesReceived()};
}

double MedianRatio(const std::vector<Sample>& samples) {
    std::vector<double> ratios;
    for (const Sample& s : samples)
        ratios.push_back(s.ms / (static_cast<double>(s.exchanges) * LineMsPerExchange));
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 2];
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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

    std::vector<Sample> connects, saves, loads;
    std::vector<double> emptyScans;
    const QString settings = QDir(workDir.path()).filePath("bench.q5t");
    {
        EmulatedPorts ports(1, {0}, q5emu::EmulatorOptions{}); // real line timing
        auto& controller = ports.emulator();
        for (int round = 0; round < Rounds; ++round) {
            connects.push_back(Measure(controller, [] { Connect_to_COM1Click(); }));
            form.Timer2->stop(); // keep the monitor's traffic out of the figures
            saves.push_back(Measure(controller, [&] { SaveSettings(settings); }));
            loads.push_back(Measure(controller, [&] { LoadSettings(settings); }));
            form.Timer2->stop();
            Close_COMClick();
        }
    }
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
    const bool allConnected = std::all_of(connects.begin(), connects.end(),
                                          [](const Sample& s) { return s.exchanges > 90; });

    const double connectRatio = MedianRatio(connects);
    const double saveRatio = MedianRatio(saves);
    const double loadRatio = MedianRatio(loads);
    const double emptyScanMs = Median(emptyScans);
    std::printf("%-14s %10s %10s %10s %8s %s\n", "operation", "exchanges", "median ms", "line ms",
                "ratio", "target");
    const auto row = [](const char* name, const std::vector<Sample>& s, double ratio) {
        std::vector<double> ms;
        for (const Sample& x : s)
            ms.push_back(x.ms);
        std::printf("%-14s %10zu %10.1f %10.1f %8.3f <= %.2f %s\n", name, s.front().exchanges,
                    Median(ms), static_cast<double>(s.front().exchanges) * LineMsPerExchange, ratio,
                    RatioTarget, ratio <= RatioTarget ? "met" : "MISSED");
    };
    row("connect", connects, connectRatio);
    row("save", saves, saveRatio);
    row("load", loads, loadRatio);
    std::printf("%-14s %10d %10.1f %10s %8s <= %.0f ms %s\n", "empty scan", 4, emptyScanMs, "-",
                "-", EmptyScanTargetMs, emptyScanMs <= EmptyScanTargetMs ? "met" : "MISSED");
    std::printf("connect_ratio %.3f\nsave_ratio %.3f\nload_ratio %.3f\nempty_scan_ms %.1f\n",
                connectRatio, saveRatio, loadRatio, emptyScanMs);

    SetInformationPresenter({});
    Form2 = nullptr;
    Form1 = nullptr;
    return allConnected && notices.size() == Rounds ? 0 : 1;
}

// The line's load while a recording runs at 5 samples a second beside the open window, the
// monitor and the displays of its first page polling as they always do: exchanges a second
// (each read of a live word, each read of a parameter; of the live reads, those of the trim's
// words, the window's trim line's and the feed's), and the recording's rows a second,
// against an emulated controller that takes the real 19200-baud time of each exchange.
// Medians of several stretches. Ends with "NAME VALUE" lines.

#include "BenchLoop.h"
#include "BenchStats.h"

#include "Addresses.h"
#include "Connection.h"
#include "ControllerLink.h"
#include "ControllerSession.h"
#include "DataLogMenu.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "ExchangeObserver.h"
#include "Form1.h"
#include "LiveFeed.h"
#include "ProductionLog.h"
#include "Protocol.h"
#include "Recorder.h"
#include "Ser_num.h"
#include "Startup.h"
#include "WindowLink.h"
#include "WindowSession.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using BenchLoop::Spin;
using BenchStats::Median;

constexpr int Rate = 5;
constexpr int Stretches = 5;
constexpr int StretchMs = 4000;

// The words the trim line reads: the two states, then the sensor's trim or the hand-set one.
bool IsTrimWord(uint8_t address) {
    return address == Live::SetupStatus || address == Live::TrimStatus ||
           address == Live::OxygenTrim || address == Live::ManualTrim;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir workDir;
    qputenv("XDG_DATA_HOME", QDir(workDir.path()).filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(workDir.path()).filePath("config").toUtf8());
    TApplication application(argc, argv);
    ProductionLog::SetDirectory(workDir.path());
    TForm1 form;
    Form1 = &form;
    InstallBehaviour(form);
    TForm2 dialog;
    Form2 = &dialog;
    form.show();

    const q5emu::EmulatorOptions lineTiming;
    EmulatedPorts ports(1, {0}, lineTiming);
    Connect_to_COM1Click();
    if (!DeviceConnected()) {
        std::fprintf(stderr, "no controller found\n");
        return 1;
    }

    int liveReads = 0, trimReads = 0, paramReads = 0, failed = 0;
    const auto counting = WindowLink().Observe([&](const ExchangeRecord& record) {
        ++(record.command == CmdReadLive ? liveReads : paramReads);
        trimReads += record.command == CmdReadLive && IsTrimWord(record.address);
        failed += record.outcome != ExchangeOutcome::Success;
    });
    std::vector<double> exchanges, live, trim, rows;
    {
        Recorder recorder(QDir(workDir.path()).filePath(QStringLiteral("poll.csv")), Rate,
                          Recording::Feed(form), SessionOf(form).Journal());
        Spin(1000); // the displays' timers fall into step
        for (int stretch = 0; stretch < Stretches; ++stretch) {
            liveReads = trimReads = paramReads = 0;
            const qint64 rowsBefore = recorder.Rows();
            Spin(StretchMs);
            const double seconds = StretchMs / 1000.0;
            exchanges.push_back((liveReads + paramReads) / seconds);
            live.push_back(liveReads / seconds);
            trim.push_back(trimReads / seconds);
            rows.push_back(static_cast<double>(recorder.Rows() - rowsBefore) / seconds);
        }
    }
    Close_COMClick();
    Form2 = nullptr;
    Form1 = nullptr;

    std::printf("recording at %d samples/s beside the open window, medians of %d x %d ms\n", Rate,
                Stretches, StretchMs);
    std::printf("poll_exchanges_per_second %.1f\n", Median(exchanges));
    std::printf("poll_live_reads_per_second %.1f\n", Median(live));
    std::printf("poll_trim_reads_per_second %.1f\n", Median(trim));
    std::printf("poll_rows_per_second %.2f\n", Median(rows));
    std::printf("poll_failed_exchanges %d\n", failed);
    std::printf("poll_overruns %d\n", Recording::Feed(form).Overruns());
    return 0;
}

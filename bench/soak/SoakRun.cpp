#include "SoakRun.h"

#include "FaultRotation.h"
#include "PageRotation.h"
#include "RecordedLog.h"
#include "ResidentMemory.h"
#include "SoakWindow.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QTimer>

#include <cstdio>
#include <iterator>

namespace {

// The window reads these live words all the time: the monitor's gas pressure, and the
// engine speed and injection time displays above the pages.
const std::vector<uint8_t> AlwaysPolled = {204, 162, 178, 72};
// Live words of the displays on the pages the window shows in turn.
const std::vector<uint8_t> PagePolled = {166, 192, 196, 198, 164};

// One full turn of the pages before the faults and the first memory sample.
constexpr std::chrono::milliseconds WarmUp{PageIntervalMs * PageViewCount + 1000};
constexpr int QuitWaitMs = 15000;
constexpr int FirstConnectionWaitMs = 30000;
constexpr int64_t GrowthTargetKb = 2048;
constexpr int KeptErrorBytes = 4000;

int Ms(std::chrono::milliseconds span) {
    return static_cast<int>(span.count());
}

} // namespace

SoakRun::SoakRun(std::chrono::milliseconds faultPhase)
    : faultPhase_(faultPhase), controller_(q5emu::EmulatorOptions{}), tally_(controller_) {
    controller_.start();
    connect(&window_, &QProcess::readyReadStandardOutput, this, &SoakRun::readWindow);
    connect(&window_, &QProcess::readyReadStandardError, this, [this] {
        windowErrors_ = (windowErrors_ + window_.readAllStandardError()).right(KeptErrorBytes);
    });
    connect(&window_, &QProcess::finished, this, &SoakRun::windowEnded);
}

int SoakRun::run() {
    std::printf("soak: %.1f min of faults at the real line speed, after %d s with every page\n",
                static_cast<double>(faultPhase_.count()) / 60000.0, Ms(WarmUp) / 1000);
    std::fflush(stdout);
    QTimer::singleShot(0, this, &SoakRun::startWindow);
    QTimer::singleShot(FirstConnectionWaitMs, this, [this] {
        if (!everConnected_)
            finish();
    });
    QCoreApplication::exec();
    return report() && everConnected_ && crashes_ == 0 ? 0 : 1;
}

void SoakRun::startWindow() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TARVIK_Q5_PORTS"),
                       QString::fromStdString(controller_.slavePath()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data_.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), data_.filePath(QStringLiteral("config")));
    window_.setProcessEnvironment(environment);
    ++windowsStarted_;
    window_.start(QCoreApplication::applicationFilePath(),
                  {QString::fromLatin1(WindowRoleOption), logPath()});
}

QString SoakRun::logPath() const {
    return data_.filePath(QStringLiteral("drive-%1.csv").arg(windowsStarted_));
}

void SoakRun::readWindow() {
    while (window_.canReadLine()) {
        const QString line = QString::fromUtf8(window_.readLine()).trimmed();
        if (line == QLatin1String("connected")) {
            everConnected_ = true;
            if (!faultsBegun_) {
                faultsBegun_ = true;
                QTimer::singleShot(Ms(WarmUp), this, &SoakRun::beginFaults);
            } else if (!rssStartKb_) {
                // A window started again after a crash: measure its own growth.
                QTimer::singleShot(Ms(WarmUp), this, [this] { rssStartKb_ = windowRss(); });
            }
        } else if (line.startsWith(QLatin1String("recorded "))) {
            recordedMs_ = line.mid(9).toLongLong();
        } else {
            ++windowNotices_[line];
        }
    }
}

void SoakRun::windowEnded(int exitCode, QProcess::ExitStatus status) {
    const bool normal = finishing_ && status == QProcess::NormalExit && exitCode == 0;
    if (!normal) {
        ++crashes_;
        std::fprintf(stderr, "window process ended abnormally (%s, code %d)%s\n%s\n",
                     status == QProcess::CrashExit ? "crash" : "exit", exitCode,
                     finishing_ ? " when asked to quit" : "", windowErrors_.constData());
    }
    if (finishing_) {
        QCoreApplication::quit();
        return;
    }
    rssStartKb_.reset();
    startWindow();
}

int64_t SoakRun::windowRss() const {
    return ResidentKilobytes(window_.processId()).value_or(0);
}

void SoakRun::beginFaults() {
    rssStartKb_ = windowRss();
    faultsEnd_ = Clock::now() + faultPhase_;
    injectNext();
}

void SoakRun::injectNext() {
    if (finishing_)
        return;
    if (Clock::now() >= faultsEnd_) {
        finish();
        return;
    }
    const size_t index = next_;
    next_ = (next_ + 1) % std::size(FaultRotation);
    controller_.setFault(q5emu::FaultSpec(FaultRotation[index].mode));
    ++injected_;
    ++byFault_[index].second;
    QTimer::singleShot(Ms(FaultRotation[index].duration), this,
                       [this, index] { clearFault(index); });
}

void SoakRun::clearFault(size_t index) {
    controller_.setFault(q5emu::FaultSpec());
    clearedAt_ = Clock::now();
    QTimer::singleShot(Ms(RecoveryWindow), this, [this, index] { checkRecovery(index); });
}

void SoakRun::checkRecovery(size_t index) {
    if (tally_.allReadSince(AlwaysPolled, clearedAt_ + ClearingMargin)) {
        ++recovered_;
        ++byFault_[index].first;
    }
    injectNext();
}

void SoakRun::finish() {
    if (finishing_)
        return;
    finishing_ = true;
    controller_.setFault(q5emu::FaultSpec());
    rssEndKb_ = windowRss();
    if (window_.state() == QProcess::NotRunning) {
        QCoreApplication::quit();
        return;
    }
    window_.write("quit\n");
    window_.closeWriteChannel();
    QTimer::singleShot(QuitWaitMs, this, [this] {
        if (window_.state() != QProcess::NotRunning)
            window_.kill(); // counted as a crash when it ends
    });
}

bool SoakRun::report() const {
    for (size_t i = 0; i < std::size(FaultRotation); ++i) {
        const auto found = byFault_.find(i);
        const std::pair<int, int> counts =
            found == byFault_.end() ? std::pair{0, 0} : found->second;
        std::printf("fault %-18s recovered %d of %d\n", FaultRotation[i].name, counts.first,
                    counts.second);
    }
    int pagesPolled = 0;
    for (const uint8_t address : PagePolled)
        pagesPolled += tally_.everRead(address) ? 1 : 0;
    std::printf("page displays polled: %d of %zu\n", pagesPolled, PagePolled.size());
    for (const auto& [notice, times] : windowNotices_)
        std::printf("window said %d times: %s\n", times, notice.toUtf8().constData());
    const int64_t start = rssStartKb_.value_or(0);
    const int64_t end = rssEndKb_.value_or(0);
    const int64_t growth = rssStartKb_ && rssEndKb_ ? end - start : 0;
    std::printf("window resident memory: %lld kB at start, %lld kB at end (target: growth under "
                "%lld kB over 10 minutes) %s\n",
                static_cast<long long>(start), static_cast<long long>(end),
                static_cast<long long>(GrowthTargetKb), growth < GrowthTargetKb ? "met" : "MISSED");
    std::printf("soak_exchanges %llu\n", static_cast<unsigned long long>(tally_.frames()));
    std::printf("soak_failed_exchanges %llu\n", static_cast<unsigned long long>(tally_.spoiled()));
    std::printf("soak_crashes %d\n", crashes_);
    std::printf("soak_rss_growth_kb %lld\n", static_cast<long long>(growth));
    std::printf("soak_recovered_faults %d\n", recovered_);
    std::printf("soak_injected_faults %d\n", injected_);
    const bool logWhole = reportLog();
    std::fflush(stdout);
    return logWhole;
}

bool SoakRun::reportLog() const {
    const RecordedLog log = ReopenRecordedLog(logPath());
    if (log.error)
        std::printf("the recording does not reopen: %s\n", log.error->toUtf8().constData());
    if (windowsStarted_ > 1)
        std::printf("the log figures are those of the last of %d window processes\n",
                    windowsStarted_);
    const int64_t expected = recordedMs_ ? ExpectedRows(*recordedMs_, RecordingRate) : 0;
    std::printf("recording: %.1f s at %d a second, %lld rows (%.1f %% of those expected), "
                "%lld with a value that could not be read\n",
                static_cast<double>(recordedMs_.value_or(0)) / 1000.0, RecordingRate,
                static_cast<long long>(log.rows),
                expected > 0 ? 100.0 * static_cast<double>(log.rows) / static_cast<double>(expected)
                             : 0.0,
                static_cast<long long>(log.rowsWithEmptyCells));
    std::printf("soak_log_rows %lld\n", static_cast<long long>(log.rows));
    std::printf("soak_log_rows_expected %lld\n", static_cast<long long>(expected));
    std::printf("soak_log_rows_with_failed_reads %lld\n",
                static_cast<long long>(log.rowsWithEmptyCells));
    return !log.error && recordedMs_.has_value();
}

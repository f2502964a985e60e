// The map of the emulator's scripted drive, live from the session's feed as the window takes it
// and from a recording of the same drive: in every cell the trim the script sets, within its
// noise, and as many samples as the cell's visit leaves after the settle times.

#include "Comm_Fun.h"
#include "ConnectionEvents.h"
#include "EmulatedPorts.h"
#include "JournalFeed.h"
#include "LiveFeed.h"
#include "LivePoller.h"
#include "MapLogs.h"
#include "MapWindow.h"
#include "Recorder.h"
#include "ScriptedDrive.h"
#include "WindowLink.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>

namespace {

namespace drive = q5emu::drive;

constexpr double DriveSpeed = 2; // drive seconds a second
constexpr int Rate = 10;         // samples a second, the recording's
constexpr int FirstStep = 20;    // 6.5 ms from 2750 Об/мин up, then 8.5 ms from 4250 down
constexpr int Steps = 12;        // −5 %, 0 and +12 % cells
constexpr double FromSeconds = drive::WarmUpSeconds + FirstStep * drive::StepSeconds + 0.6;
constexpr double UntilSeconds = drive::WarmUpSeconds + (FirstStep + Steps) * drive::StepSeconds;
// The throttle steps ThrottleLeadSeconds before each cell; its reads may lag half a second.
constexpr double SettleDriveSeconds = drive::ThrottleLeadSeconds + 0.5;
// The settle's end half a sample off the samples' grid, so that the recording's milliseconds
// and the live clock's jitter leave the same samples on either side of it.
constexpr double SettleSeconds = SettleDriveSeconds / DriveSpeed + 0.5 / Rate;

// How many samples a visit of the cell may leave: none of its time under the settle at most,
// half the rest at least (the line's pace varies); a visit cut by the test's start or end may
// leave none.
struct Expected {
    int64_t least = 0;
    int64_t most = 0;
};

std::map<int, Expected> PathCells(const MapTable& table) {
    std::map<int, Expected> cells;
    const Bands& speed = table.Layout().speed;
    const Bands& load = table.Layout().load;
    for (int step = FirstStep; step < FirstStep + Steps; ++step) {
        const drive::DriveCell& cell = drive::Sweep()[size_t(step)];
        const double begins = drive::WarmUpSeconds + step * drive::StepSeconds;
        const double visit =
            std::min(begins + drive::StepSeconds, UntilSeconds) - std::max(begins, FromSeconds);
        const bool whole = visit >= drive::StepSeconds;
        const double kept = (drive::StepSeconds / DriveSpeed - SettleSeconds) * Rate;
        const int index =
            *speed.Of(cell.engineSpeed) * table.Columns() + *load.Of(cell.injectionMs);
        cells[index] = {whole ? int64_t(kept / 2) : 0,
                        int64_t(std::ceil(visit / DriveSpeed * Rate)) + 1};
    }
    return cells;
}

// Every cell on the path as the script says, every other empty.
void Matches(const MapTable& table, const char* what) {
    const std::map<int, Expected> path = PathCells(table);
    for (int row = 0; row < table.Rows(); ++row)
        for (int column = 0; column < table.Columns(); ++column) {
            const CellStats& cell = table.At(row, column);
            const auto on = path.find(row * table.Columns() + column);
            const QString where = QStringLiteral("%1, cell %2/%3: %4 samples, %5..%6 %")
                                      .arg(what)
                                      .arg(row)
                                      .arg(column)
                                      .arg(cell.count)
                                      .arg(cell.Empty() ? 0 : cell.min)
                                      .arg(cell.Empty() ? 0 : cell.max);
            if (on == path.end()) {
                QVERIFY2(cell.Empty(), qPrintable(where));
                continue;
            }
            QVERIFY2(cell.count >= on->second.least && cell.count <= on->second.most,
                     qPrintable(where));
            if (cell.Empty())
                continue;
            const Bands& speed = table.Layout().speed;
            const Bands& load = table.Layout().load;
            const double trim = drive::TrimOf(speed.From(row) + speed.width / 2,
                                              load.From(column) + load.width / 2);
            QVERIFY2(std::abs(cell.min - trim) <= drive::TrimNoisePercent &&
                         std::abs(cell.max - trim) <= drive::TrimNoisePercent,
                     qPrintable(where));
        }
}

int64_t Samples(const DropCounts& dropped) {
    int64_t samples = dropped.gaps + dropped.outside + dropped.kept;
    for (const int64_t count : dropped.byFilter)
        samples += count;
    return samples;
}

} // namespace

class TestMapDrive : public QObject {
    Q_OBJECT
private slots:
    void LiveAndRecordedMapsHoldTheDrivesTrim() {
        EmulatedPorts ports;
        ports.emulator().startDrive(DriveSpeed, FromSeconds);
        Comm_Fun::OpenPort(1, 19200);
        LivePoller poller{WindowLink()};
        ConnectionEvents events;
        JournalFeed writes;
        LiveFeed feed(poller, events);
        emit events.connected();

        MapWindow window(feed, writes, events);
        MapFilters filters;
        filters.throttleSettle = SettleSeconds;
        window.SetLayout(MapLayout{});
        window.SetFilters(filters);
        window.SetConnected(true);
        window.show();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("drive.csv"));
        Recorder recorder(path, Rate, feed, writes);
        QTRY_VERIFY_WITH_TIMEOUT(ports.emulator().driveSeconds() >= UntilSeconds, 20000);
        recorder.Finish();
        window.SetConnected(false);
        emit events.closed();
        Comm_Fun::ClosePort();

        Matches(window.Table(), "live");
        MapBuilder recorded(MapLayout{}, filters);
        MapLogs::Fold(recorded, MapLogs::Open(path).log);
        Matches(recorded.Table(), "recorded");
        // The live map takes every sample of the feed; the recording none that came less than
        // three quarters of its period after the one before (a sample that caught up with the
        // period after a slow one); each sample skipped moves the kept count by one at most.
        const int64_t skipped = Samples(window.Dropped()) - Samples(recorded.Dropped());
        QVERIFY2(skipped >= 0, qPrintable(QString::number(skipped)));
        QVERIFY2(std::abs(recorded.Dropped().kept - window.Dropped().kept) <= skipped,
                 qPrintable(QStringLiteral("kept %1 live, %2 recorded, %3 samples not recorded")
                                .arg(window.Dropped().kept)
                                .arg(recorded.Dropped().kept)
                                .arg(skipped)));
    }
};

QTEST_MAIN(TestMapDrive)
#include "TestMapDrive.moc"

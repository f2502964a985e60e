// A recording against the emulator: rows on the disk while it runs, a lost link, the events,
// a user's write never waiting behind more than one exchange, the trim as the trim line reads
// it, markers, and a recording that waits for the engine.

#include "Comm_Fun.h"
#include "ConnectionEvents.h"
#include "ControllerLink.h"
#include "EmulatedPorts.h"
#include "JournalFeed.h"
#include "LiveFeed.h"
#include "LivePoller.h"
#include "LogReader.h"
#include "Recorder.h"
#include "ScriptedDrive.h"
#include "TrimReading.h"
#include "WindowLink.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <set>

namespace {

// The port open on the emulator and a live feed, made before the connection as at start-up,
// told of it.
class Connected {
public:
    Connected() {
        Comm_Fun::OpenPort(1, 19200);
        emit events.connected();
    }
    ~Connected() {
        emit events.closed();
        Comm_Fun::ClosePort();
    }

    LivePoller poller{WindowLink()};
    ConnectionEvents events;
    JournalFeed writes;
    LiveFeed feed{poller, events};
};

size_t RowsOnDisk(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return size_t(std::max<qsizetype>(file.readAll().count('\n') - 1, 0));
}

bool RowEmpty(const DataLog& log, size_t row) {
    return std::all_of(log.series.begin(), log.series.end(),
                       [row](const LogSeries& s) { return std::isnan(s.values[row]); });
}

// The window's trim line: its three reads through the poller, as often as the test wants.
class TrimLine {
public:
    explicit TrimLine(LivePoller& poller) : poller_(poller) {
        Read();
        QObject::connect(&timer_, &QTimer::timeout, [this] { Read(); });
        timer_.start(50);
    }
    // The window's reads of the trim status.
    int Reads() const { return reads_; }

private:
    void Read() {
        TrimReader reader;
        while (const auto address = reader.Next()) {
            reader.Take(poller_.Read(*address));
            reads_ += *address == 77;
        }
    }
    LivePoller& poller_;
    QTimer timer_;
    int reads_ = 0;
};

// The series of the log under this name; the test fails when it has none.
const std::vector<double>& Column(const DataLog& log, const QString& name) {
    static const std::vector<double> none;
    const int index = log.IndexOf(name);
    return index >= 0 ? log.series[size_t(index)].values : none;
}

} // namespace

class RecorderTest : public QObject {
    Q_OBJECT

private slots:
    void rowsReachTheDiskWhileRecording();
    void lostLinkLeavesEmptyCellsAndGoesOn();
    void writesBecomeEvents();
    void aWriteWaitsForOneExchangeAtMost();
    void trimAsTheTrimLineReadsIt_data();
    void trimAsTheTrimLineReadsIt();
    void drivesTrimFollowsItsCells();
    void markerKeepsTheMomentItWasSet();
    void waitsForTheEngineKeepingTheSecondsBefore();
};

void RecorderTest::rowsReachTheDiskWhileRecording() {
    EmulatedPorts ports;
    Connected connected;
    QTemporaryDir dir;
    const QString path = dir.filePath("drive.csv");
    Recorder recorder(path, 5, connected.feed, connected.writes);
    QCOMPARE(connected.feed.Rate(), 5);
    // Flushed within a second of the first rows, without Finish.
    QTRY_VERIFY_WITH_TIMEOUT(RowsOnDisk(path) >= 3, 2500);
    recorder.Finish();
    QCOMPARE(connected.feed.Rate(), 0);
    const DataLog log = LogReader::Read(path);
    QCOMPARE(log.Rows(), size_t(recorder.Rows()));
    for (size_t row = 1; row < log.Rows(); ++row)
        QVERIFY(log.seconds[row] - log.seconds[row - 1] > 0.15);
    QVERIFY(!RowEmpty(log, 0));
}

void RecorderTest::lostLinkLeavesEmptyCellsAndGoesOn() {
    EmulatedPorts ports;
    Connected connected;
    QTemporaryDir dir;
    const QString path = dir.filePath("lost.csv");
    Recorder recorder(path, 10, connected.feed, connected.writes);
    QTRY_VERIFY(recorder.Rows() >= 2);

    ports.emulator().setFault(q5emu::FaultMode::Silence); // the controller stops answering
    const qint64 before = recorder.Rows();
    QTRY_VERIFY_WITH_TIMEOUT(recorder.Rows() >= before + 2, 5000);

    // Once the link watch calls it lost, samples come without exchanges.
    bool lost = true;
    connected.feed.SetLinkLost([&lost] { return lost; });
    ports.emulator().clearLog();
    const qint64 whileLost = recorder.Rows();
    QTRY_VERIFY(recorder.Rows() >= whileLost + 3);
    QCOMPARE(ports.emulator().framesReceived(), size_t(0));

    lost = false;
    ports.emulator().setFault(q5emu::FaultMode::None);
    const qint64 back = recorder.Rows();
    QTRY_VERIFY(recorder.Rows() >= back + 3);
    recorder.Finish();

    const DataLog log = LogReader::Read(path);
    QVERIFY(!RowEmpty(log, 0));
    QVERIFY(RowEmpty(log, size_t(whileLost)));
    QVERIFY(!RowEmpty(log, log.Rows() - 1));
}

void RecorderTest::writesBecomeEvents() {
    EmulatedPorts ports;
    Connected connected;
    QTemporaryDir dir;
    const QString path = dir.filePath("events.csv");
    Recorder recorder(path, 2, connected.feed, connected.writes);
    QTRY_VERIFY(recorder.Rows() >= 1);
    JournalRecord record;
    record.time = QDateTime::currentDateTime();
    record.address = 92;
    record.name = QStringLiteral("Ограничение об/мин");
    record.oldWord = 5500;
    record.newWord = 5000;
    // A sample stamped when its reads began, a write made while it was read: the event's row
    // follows it in time as in the file, or the log would not open.
    LiveSample begun{std::chrono::steady_clock::now() + std::chrono::seconds(1), {}, {}, {}};
    emit connected.feed.sampled(begun);
    emit connected.writes.recorded(record);
    recorder.Finish();
    emit connected.writes.recorded(record); // after the end: not recorded

    const DataLog log = LogReader::Read(path);
    QCOMPARE(log.events.size(), size_t(1));
    QCOMPARE(log.events[0].text, QStringLiteral("Ограничение об/мин: 5500 Об/мин → 5000 Об/мин"));
    QCOMPARE(log.events[0].seconds, log.seconds.back());
}

void RecorderTest::aWriteWaitsForOneExchangeAtMost() {
    EmulatedPorts ports;
    Connected connected;
    QTemporaryDir dir;
    Recorder recorder(dir.filePath("busy.csv"), 10, connected.feed, connected.writes);
    // A user's click posted in the middle of a sample: count the exchanges before it runs.
    int exchanges = 0;
    int posted = 0;
    int worst = 0;
    auto watch = WindowLink().Observe([&](const ExchangeRecord&) {
        ++exchanges;
        if (posted < 20 && exchanges % 3 == 0) {
            ++posted;
            const int at = exchanges;
            QTimer::singleShot(0, [&, at] { worst = std::max(worst, exchanges - at); });
        }
    });
    QTRY_VERIFY(posted == 20);
    QTest::qWait(50);
    QVERIFY2(worst <= 1, qPrintable(QString::number(worst)));
}

void RecorderTest::trimAsTheTrimLineReadsIt_data() {
    QTest::addColumn<int>("setup");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("trimAddress");
    QTest::addColumn<int>("trimWord");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<double>("source");
    QTest::addColumn<double>("percent");
    const double none = std::nan("");
    QTest::newRow("oxygen sensor") << 0 << 2 << 186 << 1144 << false << 1.0 << 12.0;
    QTest::newRow("set by hand") << 0 << 0 << 182 << 1000 << false << 2.0 << -2.4;
    QTest::newRow("setup mode") << 128 << 2 << 186 << 1144 << false << 3.0 << none;
    QTest::newRow("a trim read fails") << 0 << 2 << 186 << 1144 << true << none << none;
}

void RecorderTest::trimAsTheTrimLineReadsIt() {
    QFETCH(int, setup);
    QFETCH(int, status);
    QFETCH(int, trimAddress);
    QFETCH(int, trimWord);
    QFETCH(bool, fails);
    QFETCH(double, source);
    QFETCH(double, percent);
    EmulatedPorts ports;
    q5emu::Q5Emulator& emulator = ports.emulator();
    emulator.startDrive(1, 30); // the other words move under it
    emulator.setLive(76, uint16_t(setup));
    emulator.setLive(77, uint16_t(status));
    emulator.setLive(uint8_t(trimAddress), uint16_t(trimWord));
    if (fails) {
        q5emu::FaultSpec silence(q5emu::FaultMode::Silence);
        silence.address = 186;
        emulator.setFault(silence);
    }
    Connected connected;
    int statusReads = 0;
    auto watch = WindowLink().Observe(
        [&](const ExchangeRecord& exchange) { statusReads += exchange.address == 77; });
    TrimLine window(connected.poller);
    QTemporaryDir dir;
    const QString path = dir.filePath("trim.csv");
    Recorder recorder(path, 2, connected.feed, connected.writes);
    QTRY_VERIFY_WITH_TIMEOUT(recorder.Rows() >= 4, 4000);
    recorder.Finish();
    const DataLog log = LogReader::Read(path);
    // The window reads far more often than the feed samples: the feed asks for the trim status
    // itself only when a slow moment left it no fresh reading of the window's.
    QVERIFY2(
        statusReads - window.Reads() < int(log.Rows()) / 2,
        qPrintable(QStringLiteral("%1 of %2").arg(statusReads - window.Reads()).arg(log.Rows())));
    int shown = 0;
    for (size_t row = 0; row < log.Rows(); ++row) {
        const double readSource = Column(log, QStringLiteral("Режим коррекции")).at(row);
        const double readPercent = Column(log, QStringLiteral("Коррекция")).at(row);
        if (std::isnan(readSource) && std::isnan(readPercent))
            continue; // a read that failed: both cells empty
        ++shown;
        QCOMPARE(readSource, source);
        QVERIFY(std::isnan(percent) ? std::isnan(readPercent) : readPercent == percent);
    }
    QVERIFY(std::isnan(source) ? shown == 0 : shown >= 3);
}

void RecorderTest::drivesTrimFollowsItsCells() {
    EmulatedPorts ports;
    // Through the end of the third load band into the fourth, where the trim is +12 %.
    ports.emulator().startDrive(5, 58);
    Connected connected;
    QTemporaryDir dir;
    const QString path = dir.filePath("drive.csv");
    Recorder recorder(path, 10, connected.feed, connected.writes);
    QTRY_VERIFY_WITH_TIMEOUT(recorder.Rows() >= 30, 6000);
    recorder.Finish();

    const DataLog log = LogReader::Read(path);
    const auto& speed = Column(log, QStringLiteral("Обороты коленвала"));
    const auto& load = Column(log, QStringLiteral("Время впрыска исх."));
    const auto& throttle = Column(log, QStringLiteral("Напряжение датчика др. заслонки"));
    const auto& trim = Column(log, QStringLiteral("Коррекция"));
    const auto& source = Column(log, QStringLiteral("Режим коррекции"));
    std::set<double> seen;
    for (size_t row = 1; row + 1 < log.Rows(); ++row) {
        QCOMPARE(source[row], 1.0);
        // Next to a step of the throttle a sample may straddle two cells.
        if (throttle[row - 1] != throttle[row] || throttle[row] != throttle[row + 1])
            continue;
        const double expected = q5emu::drive::TrimOf(speed[row], load[row]);
        QVERIFY2(std::abs(trim[row] - expected) <= q5emu::drive::TrimNoisePercent,
                 qPrintable(QStringLiteral("%1 at %2 Об/мин, %3 ms")
                                .arg(trim[row])
                                .arg(speed[row])
                                .arg(load[row])));
        seen.insert(expected);
    }
    QVERIFY(seen.count(0) && seen.count(12));
}

void RecorderTest::markerKeepsTheMomentItWasSet() {
    EmulatedPorts ports;
    Connected connected;
    QTemporaryDir dir;
    const QString path = dir.filePath("marked.csv");
    Recorder recorder(path, 10, connected.feed, connected.writes);
    QTRY_VERIFY(recorder.Rows() >= 2);
    recorder.HoldMarker();
    const qint64 before = recorder.Rows();
    QSignalSpy samples(&connected.feed, &LiveFeed::sampled);
    QVERIFY(samples.wait() && samples.wait()); // the text is being typed
    QCOMPARE(recorder.Rows(), before);
    recorder.PlaceMarker(QStringLiteral("рывок на 3-й передаче"));
    recorder.HoldMarker();
    recorder.PlaceMarker(std::nullopt); // asked, then cancelled
    recorder.AddMarker(QString());
    recorder.Finish();

    const DataLog log = LogReader::Read(path);
    QCOMPARE(log.events.size(), size_t(2));
    QCOMPARE(log.events[0].text, QStringLiteral("рывок на 3-й передаче"));
    QVERIFY(log.events[0].kind == LogEventKind::Marker);
    // Set before the rows made while it was typed.
    QCOMPARE(log.Rows(), size_t(before) + size_t(samples.count()));
    QVERIFY(log.events[0].seconds <= log.seconds[size_t(before)]);
    QVERIFY(log.events[0].seconds >= log.seconds[size_t(before) - 1]);
    QCOMPARE(log.events[1].text, QString());
}

void RecorderTest::waitsForTheEngineKeepingTheSecondsBefore() {
    EmulatedPorts ports;
    ports.emulator().setLive(162, 800);
    Connected connected;
    std::vector<std::chrono::steady_clock::time_point> sampled;
    QObject::connect(&connected.feed, &LiveFeed::sampled,
                     [&](const LiveSample& s) { sampled.push_back(s.monotonic); });
    QTemporaryDir dir;
    const QString path = dir.filePath("triggered.csv");
    Recorder recorder(path, 10, connected.feed, connected.writes, Recorder::Trigger{2000, 1.0});
    QTRY_VERIFY_WITH_TIMEOUT(sampled.size() >= 20, 5000);
    QCOMPARE(recorder.Rows(), 0);
    QVERIFY(recorder.IsWaiting());

    ports.emulator().setLive(162, 2500);
    QSignalSpy triggered(&recorder, &Recorder::triggered);
    QVERIFY(triggered.wait());
    const auto at = sampled.back();
    QTRY_VERIFY(sampled.size() >= 30 && recorder.Rows() >= 5);
    recorder.Finish();

    // Kept: the second before the bound was reached, from its first sample on.
    const DataLog log = LogReader::Read(path);
    const auto& speed = Column(log, QStringLiteral("Обороты коленвала"));
    const size_t kept =
        size_t(std::find_if(speed.begin(), speed.end(), [](double v) { return v >= 2000; }) -
               speed.begin());
    QVERIFY(kept >= 3);
    QVERIFY(std::all_of(speed.begin(), speed.begin() + qsizetype(kept),
                        [](double v) { return v == 800; }));
    QCOMPARE(log.seconds.front(), 0.0);
    const auto firstInSecond = *std::find_if(
        sampled.begin(), sampled.end(), [at](auto t) { return t >= at - std::chrono::seconds(1); });
    QVERIFY(std::abs(log.seconds[kept] -
                     std::chrono::duration<double>(at - firstInSecond).count()) < 0.001);
}

int RunRecorderTests(int argc, char** argv) {
    RecorderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestRecorder.moc"

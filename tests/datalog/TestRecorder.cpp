// A recording against the emulator: rows on the disk while it runs, a lost link, the events,
// and a user's write never waiting behind more than one exchange.

#include "Comm_Fun.h"
#include "ConnectionEvents.h"
#include "ControllerLink.h"
#include "EmulatedPorts.h"
#include "JournalFeed.h"
#include "LiveFeed.h"
#include "LivePoller.h"
#include "LogReader.h"
#include "Recorder.h"
#include "WindowLink.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

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

} // namespace

class RecorderTest : public QObject {
    Q_OBJECT

private slots:
    void rowsReachTheDiskWhileRecording();
    void lostLinkLeavesEmptyCellsAndGoesOn();
    void writesBecomeEvents();
    void aWriteWaitsForOneExchangeAtMost();
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

int RunRecorderTests(int argc, char** argv) {
    RecorderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestRecorder.moc"

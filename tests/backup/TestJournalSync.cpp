// The journal's sync against a slow and a failing disk: a safety net on its own link to an
// emulated controller (zero heads), the disk's syncs slowed, failed and recorded.

#include "ChangeJournal.h"
#include "ControllerLink.h"
#include "EmulatedPorts.h"
#include "Protocol.h"
#include "SafetyNet.h"
#include "TestDiskSync.h"
#include "WriteOperation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

using namespace std::chrono_literals;

namespace {

constexpr uint8_t Spare = 98;
const QString Serial = QStringLiteral("TQ5 00042");

// The longest time the event loop of this thread went without a 10 ms tick.
class StallMeter {
public:
    StallMeter() {
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, clock_.restart()); });
        timer_.start(10);
        clock_.start();
    }
    qint64 LongestMs() const { return longest_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

// Runs the event loop as the program does (it blocks when idle) until `done`, at most `bound`.
bool RunEventLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    check.start(20);
    QTimer::singleShot(bound, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

} // namespace

class TestJournalSync : public QObject {
    Q_OBJECT

    // The disk before the net, so that it outlives the net's last sync.
    std::unique_ptr<TestDiskSync> disk_;
    std::unique_ptr<QTemporaryDir> data_;
    std::unique_ptr<q5emu::Q5Emulator> controller_;
    std::unique_ptr<ControllerLink> link_;
    WriteOperations operations_;
    std::unique_ptr<SafetyNet> net_;

    QString Journal() const { return ChangeJournal::PathOf(data_->path(), Serial); }
    bool Write(uint16_t word) { return link_->SendCommand(CmdWriteParam, Spare, word); }

private slots:
    void init() {
        disk_ = std::make_unique<TestDiskSync>();
        data_ = std::make_unique<QTemporaryDir>();
        q5emu::EmulatorOptions options = PromptEmulator();
        options.zeroHead = true;
        controller_ = std::make_unique<q5emu::Q5Emulator>(options);
        controller_->start();
        link_ = std::make_unique<ControllerLink>();
        QVERIFY(link_->Open(QString::fromStdString(controller_->slavePath()), 19200));
        net_ = std::make_unique<SafetyNet>(*link_, operations_);
        net_->BeginAttempt();
        net_->Connected(Serial, data_->path());
    }

    void cleanup() {
        net_.reset();
        link_.reset();
        controller_.reset();
        data_.reset();
        disk_.reset();
    }

    void slowSyncLeavesTheEventLoopRunning_data() {
        QTest::addColumn<int>("delayMs");
        QTest::newRow("1 s") << 1000;
        QTest::newRow("3 s") << 3000;
    }

    void slowSyncLeavesTheEventLoopRunning() {
        QFETCH(int, delayMs);
        disk_->Slow(std::chrono::milliseconds(delayMs), QStringLiteral(".csv"));
        const StallMeter meter;
        QVERIFY(Write(1));
        QVERIFY(RunEventLoopUntil([this] { return disk_->Ended(Journal()) == 1; },
                                  std::chrono::milliseconds(delayMs + 5000)));
        QVERIFY2(meter.LongestMs() < 250, qPrintable(QString::number(meter.LongestMs())));
    }

    // The next action's first write waits for the journal of the one before.
    void journalIsOnTheDiskBeforeTheNextWrite() {
        disk_->Slow(1s, QStringLiteral(".csv"));
        int syncedAtSecond = -1;
        const auto heard = link_->Observe([&](const ExchangeRecord& record) {
            if (record.sent == 2)
                syncedAtSecond = disk_->Ended(Journal());
        });
        QVERIFY(Write(1));
        QTRY_VERIFY(disk_->Begun(Journal()) == 1);
        QVERIFY(Write(2));
        QCOMPARE(syncedAtSecond, 1);
    }

    void unsyncedJournalHoldsTheNextWrite_data() {
        QTest::addColumn<bool>("hung");
        QTest::newRow("sync fails") << false;
        QTest::newRow("sync outlasts its bound") << true;
    }

    // The action's writes are not sent nor journaled; the technician is told once, and the
    // journal is off.
    void unsyncedJournalHoldsTheNextWrite() {
        QFETCH(bool, hung);
        if (hung)
            disk_->Slow(6s, QStringLiteral(".csv"));
        else
            disk_->Fail(QStringLiteral(".csv"));
        QSignalSpy told(net_.get(), &SafetyNet::journalNotOnDisk);
        int exchanges = 0;
        const auto heard = link_->Observe([&](const ExchangeRecord&) { ++exchanges; });
        QVERIFY(Write(1));
        QTRY_VERIFY(disk_->Begun(Journal()) == 1);
        QVERIFY(!Write(2));
        QVERIFY(!Write(4)); // the rest of that action
        QCOMPARE(controller_->param(Spare), 1);
        QCOMPARE(exchanges, 1);
        QCOMPARE(told.count(), 1);
        QCOMPARE(told[0][0].toString(), Journal());
        QCoreApplication::processEvents(); // the action is over
        QVERIFY(Write(3));
        QCOMPARE(controller_->param(Spare), 3);
        QCOMPARE(told.count(), 1);
        QCOMPARE(ChangeJournal::Read(Journal()).size(), 1u);
    }
};

QTEST_GUILESS_MAIN(TestJournalSync)
#include "TestJournalSync.moc"

// Losing the controller under an open port, and the link watch that notices: a port that
// hangs up is closed and reopened once its device is back; three failed exchanges mark the
// link lost, and the next good one brings it back if the same controller answers.

#include "LinkedEmulator.h"

#include <Comm_Fun.h>
#include <ControllerLink.h>
#include <ExchangeObserver.h>
#include <LinkWatch.h>
#include <Protocol.h>
#include <WindowLink.h>

#include <QSignalSpy>
#include <QTest>

#include <map>
#include <optional>
#include <vector>

namespace {
constexpr int Patience = 5000; // ms; the probe runs once a second
constexpr uint8_t Spare = 98;
constexpr uint8_t LastSerialAddress = 24;

// The identity word, then the serial number.
std::vector<uint8_t> TellingAddresses() {
    std::vector<uint8_t> addresses{47};
    for (uint8_t address = 1; address <= LastSerialAddress; ++address)
        addresses.push_back(address);
    return addresses;
}
} // namespace

class TestLinkLoss : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hungUpPortIsClosedAndLeftAlone();
    void writeThatNeverWentOutIsNotAnnounced();
    void lostPortReopens_data();
    void lostPortReopens();
    void lostAfterThreeFailuresInARow_data();
    void lostAfterThreeFailuresInARow();
    void nextGoodExchangeReadsTheIdentityAgain();
    void probeReopensAndChecksTheController_data();
    void probeReopensAndChecksTheController();

private:
    void failExchanges(int count);

    std::optional<LinkedEmulator> device;
    std::optional<LinkWatch> watch;
    std::map<uint8_t, uint16_t> known; // as the connection read them
    ExchangeRecord last;
    ExchangeObservers::Subscription subscription;
};

void TestLinkLoss::init() {
    device.emplace();
    subscription = WindowLink().Observe([this](const ExchangeRecord& r) { last = r; });
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
    known.clear();
    for (const uint8_t address : TellingAddresses()) {
        QVERIFY(SendCommand(CmdReadParam, address, 0));
        known[address] = ReplyValue();
    }
    watch.emplace(WindowLink());
    watch->Arm(TellingAddresses(), [this](uint8_t address) -> std::optional<uint16_t> {
        const auto found = known.find(address);
        return found == known.end() ? std::nullopt : std::optional<uint16_t>(found->second);
    });
}

void TestLinkLoss::cleanup() {
    watch.reset();
    subscription.reset();
    device.reset();
}

void TestLinkLoss::failExchanges(int count) {
    if (device->present())
        device->emulator().setFault(q5emu::FaultMode::Silence);
    for (int i = 0; i < count; ++i)
        QVERIFY(!SendCommand(CmdReadLive, 162, 0));
    if (device->present())
        device->emulator().setFault(q5emu::FaultMode::None);
}

void TestLinkLoss::hungUpPortIsClosedAndLeftAlone() {
    device->unplug();
    failExchanges(1);
    QCOMPARE(last.outcome, ExchangeOutcome::PortGone);
    QVERIFY(!Comm_Fun::PortOpened());
    QVERIFY(Comm_Fun::PortLost());
    failExchanges(1);
    QCOMPARE(last.attempts, 0); // nothing more is sent to it
    QVERIFY(!Comm_Fun::ReopenLostPort());
}

void TestLinkLoss::writeThatNeverWentOutIsNotAnnounced() {
    int announced = 0;
    WindowLink().SetWriteSent([&announced](uint8_t, uint8_t, uint16_t) { ++announced; });
    device->unplug();
    QVERIFY(!SendCommand(CmdWriteParam, Spare, 1));
    WindowLink().SetWriteSent({});
    QCOMPARE(announced, 0);
    QCOMPARE(last.outcome, ExchangeOutcome::PortGone);
    QCOMPARE(last.attempts, 0);
}

void TestLinkLoss::lostPortReopens_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("reopened") << "reopen";
    QTest::newRow("Close COM, then a new connection") << "close";
    QTest::newRow("a new connection") << "open";
}

void TestLinkLoss::lostPortReopens() {
    QFETCH(QString, how);
    watch->Disarm();
    device->unplug();
    failExchanges(1);
    device->plugIn();
    if (how == QLatin1String("reopen")) {
        QVERIFY(Comm_Fun::ReopenLostPort());
        QCOMPARE(device->emulator().lineSettings().baudRate, 19200);
        QCOMPARE(device->emulator().lineSettings().stopBits, 2);
    } else {
        if (how == QLatin1String("close")) {
            Comm_Fun::ClosePort();
            QVERIFY(!Comm_Fun::PortLost());
        }
        QVERIFY(Comm_Fun::OpenPort(1, 19200));
    }
    QVERIFY(!Comm_Fun::PortLost());
    QVERIFY(!Comm_Fun::ReopenLostPort());
    QVERIFY(SendCommand(CmdReadParam, 47, 0));
    QCOMPARE(ReplyValue(), 503);
}

void TestLinkLoss::lostAfterThreeFailuresInARow_data() {
    QTest::addColumn<QString>("outcomes"); // f: failed exchange, s: good one
    QTest::addColumn<bool>("lost");
    QTest::newRow("two failures") << "ff" << false;
    QTest::newRow("three failures") << "fff" << true;
    QTest::newRow("interrupted by a good one") << "ffsff" << false;
    QTest::newRow("three after a good one") << "fsfff" << true;
}

void TestLinkLoss::lostAfterThreeFailuresInARow() {
    QFETCH(QString, outcomes);
    QFETCH(bool, lost);
    QSignalSpy states(&*watch, &LinkWatch::linkStateChanged);
    for (const QChar outcome : outcomes) {
        if (outcome == QLatin1Char('f'))
            failExchanges(1);
        else
            QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    }
    QCOMPARE(watch->IsLost(), lost);
    QCoreApplication::processEvents(); // the signal comes from the event loop
    QCOMPARE(states.count(), lost ? 1 : 0);
    if (lost)
        QCOMPARE(states.at(0).at(0).toBool(), false);
}

void TestLinkLoss::nextGoodExchangeReadsTheIdentityAgain() {
    QSignalSpy states(&*watch, &LinkWatch::linkStateChanged);
    failExchanges(LinkWatch::FailuresForLost);
    QVERIFY(watch->IsLost());
    device->emulator().clearLog();
    QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    QTRY_VERIFY_WITH_TIMEOUT(!watch->IsLost(), Patience);
    QCOMPARE(states.count(), 2);
    QCOMPARE(states.at(1).at(0).toBool(), true);
    // After the caller's exchange: parameter 47, then the serial-number words 1..24.
    const std::vector<q5emu::LoggedFrame> log = device->emulator().frameLog();
    QVERIFY(log.size() >= 26);
    QCOMPARE(log.at(1).address, 47);
    QCOMPARE(log.at(25).address, LastSerialAddress);
}

void TestLinkLoss::probeReopensAndChecksTheController_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("word");
    QTest::addColumn<bool>("same");
    QTest::newRow("same controller") << 0 << 1234 << true;
    QTest::newRow("other serial number") << int(LastSerialAddress) << int('9') << false;
    QTest::newRow("other identity word") << 47 << 504 << false;
}

void TestLinkLoss::probeReopensAndChecksTheController() {
    QFETCH(int, address);
    QFETCH(int, word);
    QFETCH(bool, same);
    QSignalSpy states(&*watch, &LinkWatch::linkStateChanged);
    QSignalSpy other(&*watch, &LinkWatch::otherController);
    device->unplug();
    failExchanges(LinkWatch::FailuresForLost);
    QVERIFY(watch->IsLost());

    device->plugIn();
    device->emulator().setParam(static_cast<uint8_t>(address), static_cast<uint16_t>(word));
    if (same)
        QTRY_VERIFY_WITH_TIMEOUT(!watch->IsLost(), Patience);
    else
        QTRY_COMPARE_WITH_TIMEOUT(other.count(), 1, Patience);
    QVERIFY(Comm_Fun::PortOpened());
    QCOMPARE(states.count(), same ? 2 : 1);
    QCOMPARE(watch->IsArmed(), same);
    QCOMPARE(other.count(), same ? 0 : 1);
}

QTEST_GUILESS_MAIN(TestLinkLoss)
#include "TestLinkLoss.moc"

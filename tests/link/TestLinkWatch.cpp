// The link watch against an emulated controller: lost after three failed exchanges, back
// with the next good one, probing a hung-up port until the same controller (or another)
// answers behind the same device name.

#include "LinkedEmulator.h"

#include <Comm_Fun.h>
#include <LinkWatch.h>
#include <Protocol.h>

#include <QSignalSpy>
#include <QTest>

#include <optional>

namespace {

constexpr int Patience = 5000; // ms; the probe runs once a second
constexpr uint8_t Spare = 98;
constexpr uint8_t LastSerialAddress = 24;

} // namespace

class TestLinkWatch : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lostAfterThreeFailuresInARow_data();
    void lostAfterThreeFailuresInARow();
    void nextGoodExchangeBringsItBack();
    void probeReopensAHungUpPort_data();
    void probeReopensAHungUpPort();
    void disarmedWatchIgnoresFailures();

private:
    void exchangeSilently(int count);

    std::optional<LinkedEmulator> device;
    std::optional<LinkWatch> watch;
};

void TestLinkWatch::init() {
    device.emplace();
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
    const std::optional<LinkIdentity> identity = LinkWatch::ReadIdentity();
    QVERIFY(identity);
    QCOMPARE(identity->identityWord, 503);
    QCOMPARE(identity->serial.size(), 24);
    watch.emplace();
    watch->Arm(*identity);
}

void TestLinkWatch::cleanup() {
    watch.reset();
    device.reset();
}

void TestLinkWatch::exchangeSilently(int count) {
    device->emulator().setFault(q5emu::FaultMode::Silence);
    for (int i = 0; i < count; ++i)
        QVERIFY(!SendCommand(CmdReadLive, 162, 0));
    device->emulator().setFault(q5emu::FaultMode::None);
}

void TestLinkWatch::lostAfterThreeFailuresInARow_data() {
    QTest::addColumn<QString>("outcomes"); // f: failed exchange, s: good one
    QTest::addColumn<bool>("lost");
    QTest::newRow("two failures") << "ff" << false;
    QTest::newRow("three failures") << "fff" << true;
    QTest::newRow("interrupted by a good one") << "ffsff" << false;
    QTest::newRow("three after a good one") << "fsfff" << true;
}

void TestLinkWatch::lostAfterThreeFailuresInARow() {
    QFETCH(QString, outcomes);
    QFETCH(bool, lost);
    QSignalSpy states(&*watch, &LinkWatch::linkStateChanged);
    for (const QChar outcome : outcomes) {
        if (outcome == QLatin1Char('f'))
            exchangeSilently(1);
        else
            QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    }
    QCOMPARE(watch->IsLost(), lost);
    QCOMPARE(states.count(), lost ? 1 : 0);
    if (lost)
        QCOMPARE(states.at(0).at(0).toBool(), false);
}

void TestLinkWatch::nextGoodExchangeBringsItBack() {
    QSignalSpy states(&*watch, &LinkWatch::linkStateChanged);
    QSignalSpy other(&*watch, &LinkWatch::otherController);
    exchangeSilently(LinkWatch::FailuresForLost);
    QVERIFY(watch->IsLost());
    device->emulator().clearLog();
    QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    QTRY_VERIFY_WITH_TIMEOUT(!watch->IsLost(), Patience);
    QCOMPARE(states.count(), 2);
    QCOMPARE(states.at(1).at(0).toBool(), true);
    QCOMPARE(other.count(), 0);
    // The identity was read again after the good exchange: parameter 47, then words 1..24.
    const std::vector<q5emu::LoggedFrame> log = device->emulator().frameLog();
    QVERIFY(log.size() >= 26);
    QCOMPARE(log.at(1).address, 47);
    QCOMPARE(log.at(25).address, LastSerialAddress);
}

void TestLinkWatch::probeReopensAHungUpPort_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("word");
    QTest::addColumn<bool>("same");
    QTest::newRow("same controller") << 0 << 0 << true;
    QTest::newRow("other serial number") << int(LastSerialAddress) << int('9') << false;
    QTest::newRow("other identity word") << 47 << 504 << false;
}

void TestLinkWatch::probeReopensAHungUpPort() {
    QFETCH(int, address);
    QFETCH(int, word);
    QFETCH(bool, same);
    QSignalSpy states(&*watch, &LinkWatch::linkStateChanged);
    QSignalSpy other(&*watch, &LinkWatch::otherController);
    device->unplug();
    for (int i = 0; i < LinkWatch::FailuresForLost; ++i)
        QVERIFY(!SendCommand(CmdReadLive, 162, 0));
    QVERIFY(watch->IsLost());
    QVERIFY(Comm_Fun::PortLost());

    device->plugIn();
    if (!same)
        device->emulator().setParam(static_cast<uint8_t>(address), static_cast<uint16_t>(word));
    if (same) {
        QTRY_VERIFY_WITH_TIMEOUT(!watch->IsLost(), Patience);
        QCOMPARE(states.count(), 2);
        QCOMPARE(states.at(1).at(0).toBool(), true);
        QVERIFY(watch->IsArmed());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(other.count(), 1, Patience);
        QCOMPARE(states.count(), 1);
        QVERIFY(!watch->IsArmed());
    }
    QVERIFY(Comm_Fun::PortOpened());
    QCOMPARE(other.count(), same ? 0 : 1);
}

void TestLinkWatch::disarmedWatchIgnoresFailures() {
    QSignalSpy states(&*watch, &LinkWatch::linkStateChanged);
    watch->Disarm();
    exchangeSilently(LinkWatch::FailuresForLost + 1);
    QVERIFY(!watch->IsLost());
    QCOMPARE(states.count(), 0);
}

QTEST_GUILESS_MAIN(TestLinkWatch)
#include "TestLinkWatch.moc"

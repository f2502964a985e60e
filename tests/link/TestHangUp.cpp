// A device that hangs up under the open port: closed by the exchange layer, remembered,
// reopened once it is back.

#include "LinkedEmulator.h"

#include <Comm_Fun.h>
#include <ExchangeObserver.h>
#include <Protocol.h>

#include <QTest>

#include <optional>
#include <vector>

namespace {
constexpr uint8_t Spare = 98;
constexpr uint16_t SpareWord = 0x1234;
} // namespace

class TestHangUp : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hangUpClosesThePortAndLaterExchangesSendNothing();
    void lostPortReopensOnceTheDeviceIsBack();
    void closeOrNewOpenForgetsALostPort_data();
    void closeOrNewOpenForgetsALostPort();

private:
    void loseThePort();

    std::optional<LinkedEmulator> device;
    std::vector<ExchangeRecord> records;
    ExchangeObservers::Subscription subscription;
};

void TestHangUp::init() {
    device.emplace();
    records.clear();
    subscription =
        ExchangeObservers::Add([this](const ExchangeRecord& r) { records.push_back(r); });
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
}

void TestHangUp::cleanup() {
    subscription.reset();
    device.reset();
}

void TestHangUp::loseThePort() {
    QVERIFY(SendCommand(CmdReadParam, 47, 0));
    device->unplug();
    QVERIFY(!SendCommand(CmdReadParam, 47, 0));
    QCOMPARE(records.back().outcome, ExchangeOutcome::PortGone);
    QVERIFY(!Comm_Fun::PortOpened());
    QVERIFY(Comm_Fun::PortLost());
}

void TestHangUp::hangUpClosesThePortAndLaterExchangesSendNothing() {
    loseThePort();
    QVERIFY(!SendCommand(CmdWriteParam, Spare, 1));
    QCOMPARE(records.back().outcome, ExchangeOutcome::PortGone);
    QCOMPARE(records.back().attempts, 0);
    uint8_t buffer[Frame::Size] = {};
    QCOMPARE(Comm_Fun::ReadPort(buffer, Frame::Size), 0);
    QVERIFY(!Comm_Fun::WritePort(buffer, Frame::Size));
    QVERIFY(!Comm_Fun::ReopenLostPort()); // the device is absent
    QVERIFY(Comm_Fun::PortLost());
}

void TestHangUp::lostPortReopensOnceTheDeviceIsBack() {
    loseThePort();
    device->plugIn();
    device->emulator().setParam(Spare, SpareWord);
    QVERIFY(Comm_Fun::ReopenLostPort());
    QVERIFY(Comm_Fun::PortOpened());
    QVERIFY(!Comm_Fun::PortLost());
    QCOMPARE(device->emulator().lineSettings().baudRate, 19200);
    QCOMPARE(device->emulator().lineSettings().stopBits, 2);
    QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    QCOMPARE(ReplyValue(), SpareWord);
    QVERIFY(!Comm_Fun::ReopenLostPort()); // nothing lost any more
}

void TestHangUp::closeOrNewOpenForgetsALostPort_data() {
    QTest::addColumn<bool>("closeFirst");
    QTest::newRow("Close COM") << true;
    QTest::newRow("new connection") << false;
}

void TestHangUp::closeOrNewOpenForgetsALostPort() {
    QFETCH(bool, closeFirst);
    loseThePort();
    device->plugIn();
    if (closeFirst) {
        Comm_Fun::ClosePort();
        QVERIFY(!Comm_Fun::PortLost());
        QVERIFY(!Comm_Fun::ReopenLostPort());
    }
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
    QVERIFY(!Comm_Fun::PortLost());
    QVERIFY(SendCommand(CmdReadParam, 47, 0));
    QCOMPARE(ReplyValue(), 503);
}

QTEST_GUILESS_MAIN(TestHangUp)
#include "TestHangUp.moc"

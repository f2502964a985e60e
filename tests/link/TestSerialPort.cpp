#include <EmulatedPorts.h>
#include <PortHolder.h>

#include <Comm_Fun.h>
#include <FrameLog.h>

#include <QTest>

#include <optional>

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {
constexpr auto Patience = 2000ms;
constexpr uint8_t Untouched = 0xEE;
} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT

private slots:
    void init() { ports.emplace(); }
    void cleanup() { ports.reset(); }

    void openPort_data();
    void openPort();
    void refusedBaudRateLeavesThePortFree();
    void portHeldByAnotherProgramDoesNotOpen();
    void openSetsTheFrameSettings_data();
    void openSetsTheFrameSettings();
    void writePortRefuses_data();
    void writePortRefuses();
    void readPort_data();
    void readPort();
    void readPortOnClosedPortLeavesBufferAlone();

private:
    std::optional<EmulatedPorts> ports;
};

void TestSerialPort::openPort_data() {
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<bool>("opens");
    // COM1: the emulator; COM2: no device; COM3: a path where nothing exists.
    QTest::newRow("COM1 at 19200") << 1 << 19200 << true;
    QTest::newRow("lowest rate 110") << 1 << 110 << true;
    QTest::newRow("odd rate 14400") << 1 << 14400 << true;
    QTest::newRow("highest rate 256000") << 1 << 256000 << true;
    QTest::newRow("port 0") << 0 << 19200 << false;
    QTest::newRow("port 5") << 5 << 19200 << false;
    QTest::newRow("rate not listed") << 1 << 230400 << false;
    QTest::newRow("rate 0") << 1 << 0 << false;
    QTest::newRow("negative rate") << 1 << -19200 << false;
    QTest::newRow("no device") << 2 << 19200 << false;
    QTest::newRow("missing device") << 3 << 19200 << false;
}

void TestSerialPort::openPort() {
    QFETCH(int, port);
    QFETCH(int, baudRate);
    QFETCH(bool, opens);
    qputenv("TARVIK_Q5_PORTS", (ports->device() + "::/dev/q5-no-such-device").toLocal8Bit());
    QCOMPARE(Comm_Fun::OpenPort(static_cast<int16_t>(port), baudRate), opens);
    QCOMPARE(Comm_Fun::PortOpened(), opens);
}

void TestSerialPort::refusedBaudRateLeavesThePortFree() {
    QVERIFY(!Comm_Fun::OpenPort(1, 12345));
    {
        PortHolder otherProgram(ports->device());
        QVERIFY(otherProgram.holds());
    }
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
}

void TestSerialPort::portHeldByAnotherProgramDoesNotOpen() {
    {
        PortHolder otherProgram(ports->device());
        QVERIFY(otherProgram.holds());
        QVERIFY(!Comm_Fun::OpenPort(1, 19200));
        QVERIFY(!Comm_Fun::PortOpened());
    }
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
}

void TestSerialPort::openSetsTheFrameSettings_data() {
    QTest::addColumn<int>("baudRate");
    QTest::newRow("9600") << 9600;
    QTest::newRow("19200") << 19200;
    QTest::newRow("115200") << 115200;
}

void TestSerialPort::openSetsTheFrameSettings() {
    QFETCH(int, baudRate);
    QVERIFY(Comm_Fun::OpenPort(1, baudRate));
    // A pseudo-terminal has no modem lines: the requests must not disturb the port.
    Comm_Fun::SetDtrLine();
    Comm_Fun::ClearRtsLine();
    const q5emu::LineSettings line = ports->emulator().lineSettings();
    QCOMPARE(line.baudRate, baudRate);
    QCOMPARE(line.dataBits, 8);
    QCOMPARE(line.parity, false);
    QCOMPARE(line.stopBits, 2);
    QVERIFY(Comm_Fun::PortOpened());
}

void TestSerialPort::writePortRefuses_data() {
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("count");
    QTest::newRow("closed port") << false << 5;
    QTest::newRow("count 0") << true << 0;
    QTest::newRow("negative count") << true << -1;
}

void TestSerialPort::writePortRefuses() {
    QFETCH(bool, open);
    QFETCH(int, count);
    const Frame::Bytes refused = Frame::Build(3, 51, 0);
    if (open)
        QVERIFY(Comm_Fun::OpenPort(1, 19200));
    QVERIFY(!Comm_Fun::WritePort(refused.data(), count));

    // A frame written afterwards is the first and only thing the device receives.
    if (!open)
        QVERIFY(Comm_Fun::OpenPort(1, 19200));
    const Frame::Bytes marker = Frame::Build(2, 47, 0);
    QVERIFY(Comm_Fun::WritePort(marker.data(), Frame::Size));
    QVERIFY(ports->emulator().waitForFrames(1, Patience));
    QCOMPARE(FrameTriples(ports->emulator()), QStringList{Triple(2, 47, 0)});
}

void TestSerialPort::readPort_data() {
    QTest::addColumn<Bytes>("waiting");
    QTest::addColumn<int>("returned");
    QTest::addColumn<Bytes>("buffer");
    const uint8_t u = Untouched;
    QTest::newRow("five") << Bytes{1, 2, 3, 4, 5} << 5 << Bytes{1, 2, 3, 4, 5};
    QTest::newRow("three") << Bytes{1, 2, 3} << 3 << Bytes{1, 2, 3, u, u};
    QTest::newRow("seven") << Bytes{1, 2, 3, 4, 5, 6, 7} << 7 << Bytes{1, 2, 3, 4, 5};
    QTest::newRow("none") << Bytes{} << 0 << Bytes{u, u, u, u, u};
}

void TestSerialPort::readPort() {
    QFETCH(Bytes, waiting);
    QFETCH(int, returned);
    QFETCH(Bytes, buffer);
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
    if (!waiting.empty()) {
        ports->emulator().sendRaw(waiting);
        QVERIFY(ports->emulator().waitForSent(1, Patience));
    }
    Bytes received(Frame::Size, Untouched);
    QCOMPARE(Comm_Fun::ReadPort(received.data(), Frame::Size), returned);
    QCOMPARE(received, buffer);
    // Everything waiting was taken.
    QCOMPARE(Comm_Fun::ReadPort(received.data(), Frame::Size), 0);
}

void TestSerialPort::readPortOnClosedPortLeavesBufferAlone() {
    Bytes received(Frame::Size, Untouched);
    QCOMPARE(Comm_Fun::ReadPort(received.data(), Frame::Size), 0);
    QCOMPARE(received, Bytes(Frame::Size, Untouched));
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "TestSerialPort.moc"

#include <EmulatedPorts.h>
#include <FrameLog.h>

#include <Comm_Fun.h>
#include <ControllerLink.h>
#include <Protocol.h>
#include <WindowLink.h>

#include <QTest>

#include <cstdlib>
#include <optional>

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(q5emu::FaultMode)

namespace {

constexpr auto Patience = 2000ms;
// Parameter words the tests read; their defaults in the emulator are fixed here.
constexpr uint8_t Spare = 98;
constexpr uint16_t SpareWord = 0xABCD;
constexpr uint8_t HotVolts = 60;
constexpr uint16_t HotVoltsWord = 0x0384; // 900
constexpr uint8_t Enrichment = 61;
constexpr uint16_t EnrichmentWord = 200;

Bytes ReplyBytes() {
    return {ReplyFrame().begin(), ReplyFrame().end()};
}

Bytes FrameOf(uint8_t command, uint8_t address, uint16_t value) {
    const Frame::Bytes frame = Frame::Build(command, address, value);
    return {frame.begin(), frame.end()};
}

} // namespace

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sendsFrames_data();
    void sendsFrames();
    void acceptsAnyReplyWithARightChecksum_data();
    void acceptsAnyReplyWithARightChecksum();
    void failedReplyAndTheExchangeAfter_data();
    void failedReplyAndTheExchangeAfter();
    void lateReplyIsNeverTaken_data();
    void lateReplyIsNeverTaken();
    void stallShiftsNoRead_data();
    void stallShiftsNoRead();
    void garbledReplyIsAskedForAgain_data();
    void garbledReplyIsAskedForAgain();
    void closedPortSendsNothing();
    void captionResetFollowsCommand3Only_data();
    void captionResetFollowsCommand3Only();
    void replyAccessors_data();
    void replyAccessors();

private:
    q5emu::Q5Emulator& emulator() { return ports->emulator(); }

    std::optional<EmulatedPorts> ports;
    int captionResets = 0;
    ExchangeObservers::Subscription captionWatch;
};

void TestProtocol::init() {
    ports.emplace();
    emulator().setParam(Spare, SpareWord);
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
    captionResets = 0;
    // The window resets its caption once for each write-parameter exchange its link tells of.
    captionWatch = WindowLink().Observe(
        [this](const ExchangeRecord& record) { captionResets += record.command == CmdWriteParam; });
}

void TestProtocol::cleanup() {
    captionWatch.reset();
    ports.reset();
}

void TestProtocol::sendsFrames_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("request");
    QTest::newRow("read parameter 47") << 2 << 47 << 0 << "022f000031";
    QTest::newRow("write 1 to parameter 51") << 3 << 51 << 1 << "0333010037";
    QTest::newRow("checksum wraps") << 3 << 99 << 0xFFFF << "0363ffff64";
    QTest::newRow("high bit sent unchanged") << 3 << 99 << 0x8000 << "03630080e6";
    QTest::newRow("read live 162") << 0 << 162 << 0 << "00a20000a2";
    QTest::newRow("write live 208") << 1 << 208 << 1536 << "01d00006d7";
}

void TestProtocol::sendsFrames() {
    QFETCH(int, command);
    QFETCH(int, address);
    QFETCH(int, value);
    QFETCH(QString, request);
    QVERIFY(SendCommand(static_cast<uint8_t>(command), static_cast<uint8_t>(address),
                        static_cast<uint16_t>(value)));
    const std::vector<q5emu::LoggedFrame> log = emulator().frameLog();
    QCOMPARE(log.size(), 1u);
    QCOMPARE(FrameHex(log[0]), request);
    QVERIFY(log[0].checksumOk);
}

void TestProtocol::acceptsAnyReplyWithARightChecksum_data() {
    QTest::addColumn<Bytes>("reply");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("word");
    QTest::newRow("identity 503") << Bytes{0x00, 0x00, 0xF7, 0x01, 0xF8} << true << 503;
    QTest::newRow("other command and address")
        << Bytes{0x03, 0x7F, 0x34, 0x12, 0xC8} << true << 0x1234;
    QTest::newRow("reply checksum wraps") << Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFC} << true << 0xFFFF;
    QTest::newRow("wrong checksum keeps the word")
        << Bytes{0x02, 0x2F, 0xF7, 0x01, 0x2A} << false << 503;
}

void TestProtocol::acceptsAnyReplyWithARightChecksum() {
    QFETCH(Bytes, reply);
    QFETCH(bool, accepted);
    QFETCH(int, word);
    // A rejected reply is asked for again: let every request get it.
    for (int attempt = 0; attempt < (accepted ? 1 : 3); ++attempt)
        emulator().replyNextWith(reply);
    QCOMPARE(SendCommand(CmdReadParam, 47, 0), accepted);
    QCOMPARE(ReplyValue(), word);
    QCOMPARE(ReplyBytes(), reply);
}

void TestProtocol::failedReplyAndTheExchangeAfter_data() {
    QTest::addColumn<q5emu::FaultMode>("fault");
    QTest::addColumn<Bytes>("replyFrame");
    const Bytes previous = FrameOf(CmdReadParam, HotVolts, HotVoltsWord);
    const Bytes spare = FrameOf(CmdReadParam, Spare, SpareWord);
    Bytes wrongSum = spare;
    ++wrongSum[4];
    QTest::newRow("no reply") << q5emu::FaultMode::Silence << previous;
    QTest::newRow("wrong checksum") << q5emu::FaultMode::WrongChecksum << wrongSum;
    QTest::newRow("short: low byte new, high byte old")
        << q5emu::FaultMode::ShortReply
        << Bytes{spare[0], spare[1], spare[2], previous[3], previous[4]};
    QTest::newRow("long: first five stored") << q5emu::FaultMode::LongReply << spare;
}

void TestProtocol::failedReplyAndTheExchangeAfter() {
    QFETCH(q5emu::FaultMode, fault);
    QFETCH(Bytes, replyFrame);
    QVERIFY(SendCommand(CmdReadParam, HotVolts, 0));
    emulator().setFault(fault);
    QVERIFY(!SendCommand(CmdReadParam, Spare, 0));
    QCOMPARE(ReplyBytes(), replyFrame);

    emulator().setFault(q5emu::FaultMode::None);
    QVERIFY(SendCommand(CmdReadParam, Enrichment, 0));
    QCOMPARE(ReplyValue(), EnrichmentWord);
}

void TestProtocol::lateReplyIsNeverTaken_data() {
    QTest::addColumn<int>("command");
    QTest::newRow("late read") << int(CmdReadParam);
    QTest::newRow("late write confirmation") << int(CmdWriteParam);
}

void TestProtocol::lateReplyIsNeverTaken() {
    // The controller's replies carry zeros where a request's command and address would be, so
    // only timing tells them apart. The requests go back to back, as in a connection.
    QFETCH(int, command);
    emulator().setZeroHead(true);
    emulator().setReplyDelay(q5emu::TwoFramesAt19200);
    q5emu::FaultSpec late(q5emu::FaultMode::LateReply);
    late.address = Spare;
    emulator().setFault(late);
    QVERIFY(!SendCommand(static_cast<uint8_t>(command), Spare, SpareWord));
    for (int i = 0; i < 6; ++i) {
        QVERIFY(SendCommand(CmdReadParam, HotVolts, 0));
        QCOMPARE(ReplyValue(), HotVoltsWord);
        QVERIFY(SendCommand(CmdReadParam, Enrichment, 0));
        QCOMPARE(ReplyBytes(), Bytes({0, 0, EnrichmentWord, 0, EnrichmentWord}));
    }
}

void TestProtocol::stallShiftsNoRead_data() {
    QTest::addColumn<int>("stallMs");
    for (const int ms : {60, 100, 150, 300})
        QTest::addRow("%d ms", ms) << ms;
}

void TestProtocol::stallShiftsNoRead() {
    // The controller stalls once on word 40, then answers the requests that came meanwhile in
    // order, each two frame times after the one before.
    QFETCH(int, stallMs);
    emulator().setZeroHead(true);
    emulator().setReplyDelay(q5emu::TwoFramesAt19200);
    for (uint8_t address = 40; address <= 44; ++address)
        emulator().setParam(address, static_cast<uint16_t>(1000 + address));
    q5emu::FaultSpec stall(q5emu::FaultMode::LateReply);
    stall.address = 40;
    stall.times = 1;
    stall.delay = std::chrono::milliseconds(stallMs);
    emulator().setFault(stall);
    QVERIFY(!SendCommand(CmdReadParam, 40, 0));
    for (uint8_t address : {41, 42, 43, 40, 44}) {
        QVERIFY2(SendCommand(CmdReadParam, address, 0), qPrintable(QString::number(address)));
        QCOMPARE(ReplyValue(), 1000 + address);
    }
}

void TestProtocol::garbledReplyIsAskedForAgain_data() {
    QTest::addColumn<Bytes>("garbled"); // the reply to the first `times` requests
    QTest::addColumn<int>("times");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("frames");
    Bytes wrongSum = FrameOf(CmdWriteParam, Spare, SpareWord);
    ++wrongSum[4];
    Bytes tooLong = FrameOf(CmdWriteParam, Spare, SpareWord);
    tooLong.push_back(0xA5);
    tooLong.push_back(0x5A);
    const Bytes tooShort{0x03, Spare, 0xCD};
    QTest::newRow("wrong checksum, then good") << wrongSum << 1 << true << 2;
    QTest::newRow("short, then good") << tooShort << 1 << true << 2;
    QTest::newRow("long, then good") << tooLong << 1 << true << 2;
    QTest::newRow("garbled twice, then good") << wrongSum << 2 << true << 3;
    QTest::newRow("wrong checksum three times") << wrongSum << 3 << false << 3;
    QTest::newRow("short three times") << tooShort << 3 << false << 3;
    QTest::newRow("long three times") << tooLong << 3 << false << 3;
    QTest::newRow("silence: not asked again") << Bytes{} << 1 << false << 1;
}

void TestProtocol::garbledReplyIsAskedForAgain() {
    QFETCH(Bytes, garbled);
    QFETCH(int, times);
    QFETCH(bool, accepted);
    QFETCH(int, frames);
    for (int i = 0; i < times; ++i)
        emulator().replyNextWith(garbled);
    QCOMPARE(SendCommand(CmdWriteParam, Spare, SpareWord), accepted);
    QCOMPARE(captionResets, 1); // once per exchange, not per request
    QVERIFY(emulator().waitForFrames(static_cast<size_t>(frames), Patience));
    QCOMPARE(FrameTriples(emulator()),
             QStringList(frames, Triple(CmdWriteParam, Spare, SpareWord)));
    if (accepted)
        QCOMPARE(ReplyValue(), SpareWord);
}

void TestProtocol::closedPortSendsNothing() {
    QVERIFY(SendCommand(CmdReadParam, HotVolts, 0));
    Comm_Fun::ClosePort();
    QVERIFY(!SendCommand(CmdWriteParam, 51, 0));
    QCOMPARE(ReplyValue(), HotVoltsWord);

    QVERIFY(Comm_Fun::OpenPort(1, 19200));
    QVERIFY(SendCommand(CmdReadParam, 51, 0));
    QCOMPARE(ReplyValue(), 1); // the write never reached the controller
    QCOMPARE(FrameTriples(emulator()), QStringList({Triple(2, 60, 0), Triple(2, 51, 0)}));
}

void TestProtocol::captionResetFollowsCommand3Only_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("port");
    for (const char* port : {"answering", "silent", "closed"})
        for (int command = 0; command <= 3; ++command)
            QTest::addRow("command %d, %s port", command, port) << command << QString(port);
}

void TestProtocol::captionResetFollowsCommand3Only() {
    QFETCH(int, command);
    QFETCH(QString, port);
    if (port == QLatin1String("silent"))
        emulator().setFault(q5emu::FaultMode::Silence);
    if (port == QLatin1String("closed"))
        Comm_Fun::ClosePort();
    QCOMPARE(SendCommand(static_cast<uint8_t>(command), Spare, 0),
             port == QLatin1String("answering"));
    QCOMPARE(captionResets, command == CmdWriteParam ? 1 : 0);
}

void TestProtocol::replyAccessors_data() {
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("correction");
    QTest::addColumn<bool>("lowByteSet");
    QTest::addColumn<QString>("thousandths");
    QTest::newRow("1024") << 1024 << "1024"
                          << "0" << false << "1.024";
    QTest::newRow("1124") << 1124 << "1124"
                          << "10" << true << "1.124";
    QTest::newRow("0") << 0 << "0"
                       << "-102.4" << false << "0";
    QTest::newRow("0x0100") << 0x0100 << "256"
                            << "-76.8" << false << "0.256";
    QTest::newRow("0x0001") << 0x0001 << "1"
                            << "-102.3" << true << "0.001";
    QTest::newRow("0x8000") << 0x8000 << "32768"
                            << "3174.4" << false << "32.768";
    QTest::newRow("0xFFFF") << 0xFFFF << "65535"
                            << "6451.1" << true << "65.535";
}

void TestProtocol::replyAccessors() {
    QFETCH(int, word);
    QFETCH(QString, number);
    QFETCH(QString, correction);
    QFETCH(bool, lowByteSet);
    QFETCH(QString, thousandths);
    // The nearest extended real to each decimal: the accessors must hit it exactly.
    const auto exactly = [](const QString& decimal) {
        return std::strtold(decimal.toLatin1().constData(), nullptr);
    };
    emulator().setParam(Spare, static_cast<uint16_t>(word));
    QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    QCOMPARE(ReplyValue(), word);
    QVERIFY2(ReplyAsNumber() == exactly(number), qPrintable(number));
    QVERIFY2(ReplyCorrectionPercent() == exactly(correction), qPrintable(correction));
    QCOMPARE(ReplyLowByteSet(), lowByteSet);
    QVERIFY2(ReplyThousandths() == exactly(thousandths), qPrintable(thousandths));
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "TestProtocol.moc"

// The exchange observers: one record per SendCommand, whatever its outcome, and the
// records of a whole sequence line up with the frames the controller received.

#include <EmulatedPorts.h>
#include <FrameLog.h>

#include <Comm_Fun.h>
#include <ControllerLink.h>
#include <ExchangeObserver.h>
#include <Protocol.h>
#include <WindowLink.h>

#include <QTest>

#include <memory>
#include <optional>
#include <vector>

Q_DECLARE_METATYPE(ExchangeOutcome)

namespace {

constexpr uint8_t Spare = 98;
constexpr uint16_t SpareWord = 0xBEEF;

struct Request {
    uint8_t command;
    uint8_t address;
    uint16_t value;
};

// Like a connection and a settings load: identity, block reads, live reads, writes back.
std::vector<Request> ConnectionLikeSequence() {
    std::vector<Request> sequence{{CmdReadParam, 47, 0}, {CmdReadParam, 33, 0}};
    for (uint8_t address = 33; address <= 99; ++address)
        sequence.push_back({CmdReadParam, address, 0});
    for (const uint8_t live : {162, 164, 166, 208})
        sequence.push_back({CmdReadLive, live, 0});
    for (uint8_t address = 1; address <= 24; ++address)
        sequence.push_back({CmdReadParam, address, 0});
    for (uint8_t address = 52; address <= 60; ++address)
        sequence.push_back({CmdWriteParam, address, static_cast<uint16_t>(address * 7)});
    sequence.push_back({CmdWriteLive, 208, 1536});
    sequence.push_back({CmdReadParam, 0, 0});
    return sequence;
}

} // namespace

class TestExchangeObservers : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void publishesEachOutcome_data();
    void publishesEachOutcome();
    void recordsMatchTheFramesUnderGarbling_data();
    void recordsMatchTheFramesUnderGarbling();
    void observersComeAndGo();
    void aReadRunGivesUpOnASilentController_data();
    void aReadRunGivesUpOnASilentController();

private:
    q5emu::Q5Emulator& emulator() { return ports->emulator(); }

    std::optional<EmulatedPorts> ports;
    std::vector<ExchangeRecord> records;
    ExchangeObservers::Subscription subscription;
};

void TestExchangeObservers::init() {
    ports.emplace();
    emulator().setParam(Spare, SpareWord);
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
    records.clear();
    subscription = WindowLink().Observe([this](const ExchangeRecord& r) { records.push_back(r); });
}

void TestExchangeObservers::cleanup() {
    subscription.reset();
    ports.reset();
}

void TestExchangeObservers::publishesEachOutcome_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<ExchangeOutcome>("outcome");
    QTest::addColumn<int>("attempts");
    QTest::newRow("success") << "" << ExchangeOutcome::Success << 1;
    QTest::newRow("no reply") << "silence" << ExchangeOutcome::NoReply << 1;
    QTest::newRow("bad checksum") << "checksum" << ExchangeOutcome::BadChecksum << 3;
    QTest::newRow("short") << "short" << ExchangeOutcome::Short << 3;
    QTest::newRow("long") << "long" << ExchangeOutcome::Long << 3;
    QTest::newRow("port gone") << "closed" << ExchangeOutcome::PortGone << 0;
}

void TestExchangeObservers::publishesEachOutcome() {
    QFETCH(QString, line);
    QFETCH(ExchangeOutcome, outcome);
    QFETCH(int, attempts);
    if (line == QLatin1String("closed"))
        Comm_Fun::ClosePort();
    else if (!line.isEmpty())
        emulator().setFault(*q5emu::ParseFaultSpec(line.toStdString()));
    // What waits for the line runs once the request is out, before the outcome is told.
    QStringList heard;
    WindowLink().SetWriteSent(
        [&heard](uint8_t c, uint8_t a, uint16_t v) { heard << Triple(c, a, v); });
    WindowLink().WhileAwaitingReply([&heard] { heard << QStringLiteral("work"); });
    const auto told = WindowLink().Observe([&heard](const ExchangeRecord&) { heard << "outcome"; });
    const auto before = std::chrono::steady_clock::now();
    QCOMPARE(SendCommand(CmdWriteParam, Spare, SpareWord), outcome == ExchangeOutcome::Success);

    QCOMPARE(records.size(), 1u);
    const ExchangeRecord& record = records.front();
    QCOMPARE(record.command, CmdWriteParam);
    QCOMPARE(record.address, Spare);
    QCOMPARE(record.sent, SpareWord);
    QCOMPARE(record.reply, ReplyValue());
    QCOMPARE(record.outcome, outcome);
    QCOMPARE(record.attempts, attempts);
    QVERIFY(record.finished >= before && record.finished <= std::chrono::steady_clock::now());
    QCOMPARE(emulator().framesReceived(), static_cast<size_t>(attempts));
    SendCommand(CmdReadParam, Spare, 0); // a read announces nothing
    WindowLink().RunAwaitingWork();
    WindowLink().SetWriteSent({});
    const QStringList expected =
        attempts > 0
            ? QStringList{Triple(CmdWriteParam, Spare, SpareWord), "work", "outcome", "outcome"}
            : QStringList{"outcome", "outcome", "work"}; // nothing went out
    QCOMPARE(heard, expected);
}

void TestExchangeObservers::recordsMatchTheFramesUnderGarbling_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("clean line") << "none";
    QTest::newRow("every fifth checksum") << "checksum,every=5";
    QTest::newRow("every fifth short") << "short,every=5";
    QTest::newRow("every fifth long") << "long,every=5";
    QTest::newRow("every fifth silent") << "silence,every=5";
}

void TestExchangeObservers::recordsMatchTheFramesUnderGarbling() {
    QFETCH(QString, fault);
    const std::vector<Request> sequence = ConnectionLikeSequence();
    std::vector<uint16_t> expected;
    for (const Request& r : sequence)
        expected.push_back(r.command == CmdReadLive || r.command == CmdReadParam
                               ? (r.command == CmdReadLive ? emulator().live(r.address)
                                                           : emulator().param(r.address))
                               : r.value);
    emulator().setFault(*q5emu::ParseFaultSpec(fault.toStdString()));
    const bool silences = fault.startsWith(QLatin1String("silence"));
    for (size_t i = 0; i < sequence.size(); ++i) {
        const Request& r = sequence[i];
        const bool ok = SendCommand(r.command, r.address, r.value);
        if (!silences) {
            QVERIFY2(ok, qPrintable(Triple(r.command, r.address, r.value)));
            // Live words move with the engine; the parameter words must be exact.
            if (r.command == CmdReadParam)
                QCOMPARE(ReplyValue(), expected[i]);
        }
    }
    // One record per exchange; each attempt is one frame on the line.
    QCOMPARE(records.size(), sequence.size());
    QStringList published;
    for (const ExchangeRecord& record : records)
        for (int attempt = 0; attempt < record.attempts; ++attempt)
            published << Triple(record.command, record.address, record.sent);
    QCOMPARE(published, FrameTriples(emulator()));
}

void TestExchangeObservers::observersComeAndGo() {
    std::vector<int> heard;
    std::optional<ExchangeObservers::Subscription> second;
    ExchangeObservers::Subscription first = WindowLink().Observe([&](const ExchangeRecord&) {
        heard.push_back(1);
        second.reset(); // gone while the record is handed out: it hears nothing more
    });
    second.emplace(WindowLink().Observe([&](const ExchangeRecord&) { heard.push_back(2); }));
    QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    first.reset();
    QVERIFY(SendCommand(CmdReadParam, Spare, 0));
    QCOMPARE(heard, std::vector<int>({1, 1}));
    QCOMPARE(records.size(), 3u);
    subscription.reset();
    QVERIFY(!WindowLink().Observers().Listening());
}

void TestExchangeObservers::aReadRunGivesUpOnASilentController_data() {
    // The plan: r a read, w a write, [ and ] an inner run. The outcomes, one per request:
    // + a good reply, - one sent without, s skipped.
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("plan");
    QTest::addColumn<QString>("outcomes");
    QTest::newRow("answering") << "none"
                               << "rrrrr"
                               << "+++++";
    QTest::newRow("silent") << "silence"
                            << "rrrrrwr"
                            << "---ss-s";
    QTest::newRow("every other one silent") << "silence,every=2"
                                            << "rrrrrr"
                                            << "+-+-+-";
    QTest::newRow("an inner run asks afresh") << "silence"
                                              << "rrrr[rrrr]r"
                                              << "---s---ss";
    QTest::newRow("back after two") << "silence,times=2"
                                    << "rrrrr"
                                    << "--+++";
}

void TestExchangeObservers::aReadRunGivesUpOnASilentController() {
    QFETCH(QString, fault);
    QFETCH(QString, plan);
    QFETCH(QString, outcomes);
    emulator().setFault(*q5emu::ParseFaultSpec(fault.toStdString()));
    std::vector<std::unique_ptr<ControllerLink::ReadRun>> runs;
    runs.push_back(std::make_unique<ControllerLink::ReadRun>(WindowLink()));
    for (const QChar step : plan) {
        if (step == u'[')
            runs.push_back(std::make_unique<ControllerLink::ReadRun>(WindowLink()));
        else if (step == u']')
            runs.pop_back();
        else
            SendCommand(step == u'w' ? CmdWriteParam : CmdReadParam, Spare, SpareWord);
    }
    QString seen;
    for (const ExchangeRecord& record : records)
        seen += record.outcome == ExchangeOutcome::Success   ? u'+'
                : record.outcome == ExchangeOutcome::Skipped ? u's'
                                                             : u'-';
    QCOMPARE(seen, outcomes);
    QCOMPARE(emulator().framesReceived(), size_t(outcomes.count(u'+') + outcomes.count(u'-')));
}

QTEST_GUILESS_MAIN(TestExchangeObservers)
#include "TestExchangeObservers.moc"

// Several controller links in one process, each on its own emulator answering with a zero
// head: exchanging interleaved on the GUI thread and at once on link threads, every reply,
// fault and loss stays with the link it belongs to.

#include <EmulatedPorts.h>

#include <ControllerLink.h>
#include <IdentityWords.h>
#include <LinkThread.h>
#include <LinkWatch.h>
#include <Protocol.h>

#include <QTest>

#include <memory>
#include <vector>

Q_DECLARE_METATYPE(ExchangeOutcome)

namespace {

constexpr uint8_t Spare = 98;
constexpr int Rounds = 3;

struct Station {
    std::unique_ptr<q5emu::Q5Emulator> emulator;
    ControllerLink link;
    std::vector<ExchangeOutcome> heard;
    ExchangeObservers::Subscription subscription;
};

std::unique_ptr<q5emu::Q5Emulator> StartEmulator() {
    q5emu::EmulatorOptions options = PromptEmulator();
    options.zeroHead = true;
    auto emulator = std::make_unique<q5emu::Q5Emulator>(options);
    emulator->start();
    return emulator;
}

uint16_t WordOf(int station, int round) {
    return static_cast<uint16_t>(1000 * (station + 1) + round);
}

} // namespace

class TestSeveralLinks : public QObject {
    Q_OBJECT

private slots:
    void faultsAndRepliesStayWithTheirLink_data();
    void faultsAndRepliesStayWithTheirLink();
    void linkThreadsExchangeAtOnce();
    void watchLivesAndGoesWithItsLinkThread();
};

void TestSeveralLinks::faultsAndRepliesStayWithTheirLink_data() {
    QTest::addColumn<QList<ExchangeOutcome>>("outcomes");
    using O = ExchangeOutcome;
    QTest::newRow("two well") << QList<O>{O::Success, O::Success};
    QTest::newRow("one silent, one well") << QList<O>{O::NoReply, O::Success};
    QTest::newRow("four well") << QList<O>{O::Success, O::Success, O::Success, O::Success};
    QTest::newRow("silent, hung up, garbled, well")
        << QList<O>{O::NoReply, O::PortGone, O::BadChecksum, O::Success};
}

void TestSeveralLinks::faultsAndRepliesStayWithTheirLink() {
    QFETCH(QList<ExchangeOutcome>, outcomes);
    std::vector<std::unique_ptr<Station>> stations;
    std::vector<std::unique_ptr<LinkWatch>> watches;
    for (int i = 0; i < outcomes.size(); ++i) {
        auto& station = *stations.emplace_back(std::make_unique<Station>());
        station.emulator = StartEmulator();
        QVERIFY(station.link.Open(QString::fromStdString(station.emulator->slavePath()), 19200));
        station.subscription = station.link.Observe(
            [&station](const ExchangeRecord& record) { station.heard.push_back(record.outcome); });
        watches.push_back(std::make_unique<LinkWatch>(station.link));
        watches.back()->Arm({IdentityWords::Address}, {});
        if (outcomes[i] == ExchangeOutcome::NoReply)
            station.emulator->setFault(q5emu::FaultMode::Silence);
        if (outcomes[i] == ExchangeOutcome::BadChecksum)
            station.emulator->setFault(q5emu::FaultMode::WrongChecksum);
        if (outcomes[i] == ExchangeOutcome::PortGone)
            station.emulator.reset();
    }
    for (int round = 0; round < Rounds; ++round)
        for (size_t i = 0; i < stations.size(); ++i) {
            ControllerLink& link = stations[i]->link;
            const bool well = outcomes[int(i)] == ExchangeOutcome::Success;
            QCOMPARE(link.SendCommand(CmdWriteParam, Spare, WordOf(int(i), round)), well);
            QCOMPARE(link.SendCommand(CmdReadParam, Spare, 0), well);
            if (well)
                QCOMPARE(link.ReplyValue(), WordOf(int(i), round));
        }
    for (size_t i = 0; i < stations.size(); ++i) {
        const ExchangeOutcome expected = outcomes[int(i)];
        // The third failure, the second round's write, loses the link: the last round's write
        // is held and reaches no observer.
        const size_t heard = expected == ExchangeOutcome::Success ? 2 * Rounds : 2 * Rounds - 1;
        QCOMPARE(stations[i]->heard, std::vector<ExchangeOutcome>(heard, expected));
        QCOMPARE(watches[i]->IsLost(), expected != ExchangeOutcome::Success);
        QCOMPARE(stations[i]->link.WritesHeld(), expected != ExchangeOutcome::Success);
    }
}

void TestSeveralLinks::linkThreadsExchangeAtOnce() {
    constexpr int Links = 4;
    constexpr int Exchanges = 40;
    std::vector<std::vector<uint16_t>> replies(Links);
    std::vector<std::unique_ptr<q5emu::Q5Emulator>> emulators;
    std::vector<std::unique_ptr<LinkThread>> threads; // joined first, then the rest go
    for (int i = 0; i < Links; ++i) {
        emulators.push_back(StartEmulator());
        threads.push_back(std::make_unique<LinkThread>());
        const QString device = QString::fromStdString(emulators.back()->slavePath());
        threads.back()->Post([device](ControllerLink& link) { link.Open(device, 19200); });
    }
    for (int round = 0; round < Exchanges; ++round)
        for (int i = 0; i < Links; ++i)
            threads[i]->Post([this, i, round, &replies](ControllerLink& link) {
                const bool done = link.SendCommand(CmdWriteParam, Spare, WordOf(i, round)) &&
                                  link.SendCommand(CmdReadParam, Spare, 0);
                const uint16_t word = done ? link.ReplyValue() : 0;
                LinkThread::Deliver(this, [&replies, i, word] { replies[i].push_back(word); });
            });
    for (int i = 0; i < Links; ++i) {
        QTRY_COMPARE_WITH_TIMEOUT(int(replies[i].size()), Exchanges, 10000);
        for (int round = 0; round < Exchanges; ++round)
            QCOMPARE(replies[i][round], WordOf(i, round));
    }
}

void TestSeveralLinks::watchLivesAndGoesWithItsLinkThread() {
    const auto emulator = StartEmulator();
    emulator->setFault(q5emu::FaultMode::Silence);
    bool told = false;
    LinkThread thread;
    const QString device = QString::fromStdString(emulator->slavePath());
    thread.Post([this, &told, device, home = thread.Home()](ControllerLink& link) {
        link.Open(device, 19200);
        auto* watch = new LinkWatch(link, home);
        connect(watch, &LinkWatch::linkStateChanged, this, [&told](bool good) { told = !good; });
        watch->Arm({IdentityWords::Address}, {});
        for (int i = 0; i < LinkWatch::FailuresForLost; ++i)
            link.SendCommand(CmdReadParam, IdentityWords::Address, 0);
    });
    // Told on the GUI thread; the lost watch goes with the thread, before its link.
    QTRY_VERIFY(told);
}

QTEST_GUILESS_MAIN(TestSeveralLinks)
#include "TestSeveralLinks.moc"

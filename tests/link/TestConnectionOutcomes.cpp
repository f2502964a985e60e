// The whole connection sequence seen through the exchange observers: one record per
// exchange, and with every fifth reply garbled the records, counted by their attempts, are
// exactly the frames the controller received, every exchange a success.

#include "AppFixture.h"

#include <Connection.h>
#include <ControllerLink.h>
#include <EmulatedPorts.h>
#include <ExchangeObserver.h>
#include <FrameLog.h>
#include <Protocol.h>
#include <WindowLink.h>

#include <QTest>

#include <vector>

class TestConnectionOutcomes : public QObject {
    Q_OBJECT

private slots:
    void publishedOutcomesAreTheLoggedFrames_data();
    void publishedOutcomesAreTheLoggedFrames();
};

void TestConnectionOutcomes::publishedOutcomesAreTheLoggedFrames_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("clean line") << "none";
    QTest::newRow("every fifth checksum") << "checksum,every=5";
    QTest::newRow("every fifth short") << "short,every=5";
}

void TestConnectionOutcomes::publishedOutcomesAreTheLoggedFrames() {
    QFETCH(QString, fault);
    EmulatedPorts ports;
    AppFixture app;
    std::vector<ExchangeRecord> records;
    const ExchangeObservers::Subscription subscription =
        WindowLink().Observe([&](const ExchangeRecord& r) { records.push_back(r); });
    ports.emulator().setFault(*q5emu::ParseFaultSpec(fault.toStdString()));

    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    QVERIFY(records.size() > 90);
    QStringList published;
    int retried = 0;
    for (const ExchangeRecord& record : records) {
        QCOMPARE(record.outcome, ExchangeOutcome::Success);
        retried += record.attempts > 1 ? 1 : 0;
        for (int attempt = 0; attempt < record.attempts; ++attempt)
            published << Triple(record.command, record.address, record.sent);
    }
    QCOMPARE(published, FrameTriples(ports.emulator()));
    QCOMPARE(retried > 0, fault != QLatin1String("none"));
}

QTEST_MAIN(TestConnectionOutcomes)
#include "TestConnectionOutcomes.moc"

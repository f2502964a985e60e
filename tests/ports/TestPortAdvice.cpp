// The advice after "Прибор не обнаружен !": its texts, and what a scan over a directory, a
// missing device, a held port and a silent pseudo-terminal notes.

#include "AppFixture.h"

#include <Comm_Fun.h>
#include <Connection.h>
#include <EmulatedPorts.h>
#include <LowLatency.h>
#include <PortAdvice.h>
#include <PortHolder.h>
#include <PortUsers.h>

#include <QProcess>

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

const QString NotFound = QStringLiteral("Прибор не обнаружен !");
const QString DialoutAdvice = QStringLiteral("sudo usermod -aG dialout $USER");

void MapPorts(const QStringList& devices) {
    qputenv("TARVIK_Q5_PORTS", devices.join(QLatin1Char(':')).toLocal8Bit());
}

} // namespace

class TestPortAdvice : public QObject {
    Q_OBJECT

private slots:
    void dialoutAdviceOnlyForDeniedPorts();
    void scanNamesEachFailedPort();
    void nothingToExplainNoAdvice();
    void portOpenInAnotherProcessIsSkippedAndItsHolderNamed();
    void pseudoTerminalRefusesLowLatency();
};

void TestPortAdvice::dialoutAdviceOnlyForDeniedPorts() {
    QCOMPARE(PortAdvice::Text({}), QString());
    const PortTroubleNote busy{1, "/dev/ttyS0", PortFault::Busy, {}, {}};
    const PortTroubleNote denied{3, "/dev/ttyUSB0", PortFault::Denied, {}, {}};
    QVERIFY(!PortAdvice::Text({busy}).contains(DialoutAdvice));
    const QString text = PortAdvice::Text({busy, denied});
    QVERIFY(text.contains("COM3 (/dev/ttyUSB0): нет прав на доступ к порту\n"));
    QVERIFY(text.contains(DialoutAdvice + "\nи войдите в систему заново."));
    QVERIFY(text.indexOf("COM1") < text.indexOf("COM3"));
}

void TestPortAdvice::scanNamesEachFailedPort() {
    EmulatedPorts ports(2, {});
    q5emu::FaultSpec silence;
    silence.mode = q5emu::FaultMode::Silence;
    ports.emulator(0).setFault(silence);
    const PortHolder holder(ports.device(1));
    QVERIFY(holder.holds());
    const QTemporaryDir directory;
    const QString missing = QStringLiteral("/dev/q5-no-such-port");
    MapPorts({directory.path(), missing, ports.device(0), ports.device(1)});
    AppFixture app;

    Connect_to_COM1Click();
    QVERIFY(!DeviceConnected());
    QCOMPARE(app.messages.size(), 2);
    QCOMPARE(app.messages[0], NotFound);
    const QStringList expected{
        QStringLiteral("Порты, на которых прибор не найден:"),
        QStringLiteral("COM1 (%1): это не последовательный порт").arg(directory.path()),
        QStringLiteral("COM2 (%1): устройство отсутствует").arg(missing),
        QStringLiteral("COM3 (%1): не отвечает").arg(ports.device(0)),
        QStringLiteral("COM4 (%1): порт занят другой программой").arg(ports.device(1))};
    QCOMPARE(app.messages[1].split('\n'), expected);
    QVERIFY(!Comm_Fun::PortOpened());
}

void TestPortAdvice::nothingToExplainNoAdvice() {
    EmulatedPorts ports(1, {NoDevice, 0});
    ports.emulator().setParam(47, 502); // another device answers: not the ports' fault
    AppFixture app;
    Connect_to_COM1Click();
    Connect_to_COM1Click();
    QCOMPARE(app.messages, (QStringList{NotFound, NotFound}));
}

void TestPortAdvice::portOpenInAnotherProcessIsSkippedAndItsHolderNamed() {
    EmulatedPorts ports;
    const QString device = ports.device();
    // Open plainly, with neither Qt's lock file nor exclusive use, as a script would.
    QProcess holder;
    holder.start(QStringLiteral("sh"),
                 {QStringLiteral("-c"), QStringLiteral("exec sleep 60 <>\"$0\""), device});
    QVERIFY(holder.waitForStarted());
    QTRY_COMPARE(PortUsers::Find({device}).others.value(device).program, QStringLiteral("sleep"));
    AppFixture app;

    Connect_to_COM1Click();
    QVERIFY(!DeviceConnected());
    QCOMPARE(ports.emulator().framesReceived(), 0u);
    QCOMPARE(app.messages.size(), 2);
    QCOMPARE(app.messages[1].split('\n').value(1),
             QStringLiteral("COM1 (%1): порт занят программой sleep (%2)")
                 .arg(device)
                 .arg(holder.processId()));
    holder.kill();
    holder.waitForFinished();
}

void TestPortAdvice::pseudoTerminalRefusesLowLatency() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(!LowLatency::Request(master));
    QVERIFY(!LowLatency::Request(-1));
    ::close(master);
}

int RunPortAdviceTests(int argc, char** argv) {
    TestPortAdvice test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestPortAdvice.moc"

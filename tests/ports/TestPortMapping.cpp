// Which device each of COM1..COM4 leads to: the variable wins, then the remembered choice
// (a chosen device that is gone is skipped), then the devices the scan finds.

#include <PortNames.h>

#include <QTest>

namespace {

using Variable = std::optional<QString>;
using Choice = PortNames::Choice;

const QStringList NoDevices(PortNames::PortCount, QString());

} // namespace

class TestPortMapping : public QObject {
    Q_OBJECT

private slots:
    void mapping_data();
    void mapping();
    void missingChoiceIsSkipped();
};

void TestPortMapping::mapping_data() {
    QTest::addColumn<Variable>("variable");
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<QStringList>("scanned");
    QTest::addColumn<int>("source");
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QList<bool>>("missing");

    const QList<bool> none(4, false);
    const QStringList scan{"/dev/ttyUSB0", "/dev/ttyS0"};
    const QStringList chosen{"", "/dev/ttyUSB3", "/dev/gone", ""};
    QTest::newRow("default: the scan")
        << Variable() << Choice() << scan << int(PortNames::Source::Default)
        << QStringList{"/dev/ttyUSB0", "/dev/ttyS0", "", ""} << none;
    QTest::newRow("default: nothing found") << Variable() << Choice() << QStringList()
                                            << int(PortNames::Source::Default) << NoDevices << none;
    QTest::newRow("choice, one device gone")
        << Variable() << Choice(chosen) << scan << int(PortNames::Source::Choice) << chosen
        << QList<bool>{false, false, true, false};
    QTest::newRow("choice of no devices") << Variable() << Choice(NoDevices) << scan
                                          << int(PortNames::Source::Choice) << NoDevices << none;
    QTest::newRow("variable wins over the choice")
        << Variable("/dev/pts/7::/dev/gone") << Choice(chosen) << scan
        << int(PortNames::Source::Variable) << QStringList{"/dev/pts/7", "", "/dev/gone", ""}
        << none;
    QTest::newRow("empty variable: no ports at all")
        << Variable(QString()) << Choice(chosen) << scan << int(PortNames::Source::Variable)
        << NoDevices << none;
}

void TestPortMapping::mapping() {
    QFETCH(Variable, variable);
    QFETCH(Choice, choice);
    QFETCH(QStringList, scanned);
    const auto exists = [](const QString& path) { return path != QLatin1String("/dev/gone"); };
    const PortNames::Mapping mapping = PortNames::MapPorts(variable, choice, scanned, exists);
    QTEST(int(mapping.source), "source");
    QTEST(mapping.devices, "devices");
    QTEST(mapping.missing, "missing");
}

void TestPortMapping::missingChoiceIsSkipped() {
    const QByteArray old = qgetenv("TARVIK_Q5_PORTS");
    const bool had = qEnvironmentVariableIsSet("TARVIK_Q5_PORTS");
    qunsetenv("TARVIK_Q5_PORTS");
    PortNames::SetChoiceSource([] {
        return Choice(QStringList{"/dev/null", "", "/dev/q5-no-such-port", ""});
    });
    const QStringList devices{PortNames::DeviceFor(1), PortNames::DeviceFor(2),
                              PortNames::DeviceFor(3), PortNames::MissingDeviceFor(3)};
    PortNames::SetChoiceSource({});
    if (had)
        qputenv("TARVIK_Q5_PORTS", old);
    QCOMPARE(devices, (QStringList{"/dev/null", "", "", "/dev/q5-no-such-port"}));
}

int RunPortMappingTests(int argc, char** argv) {
    TestPortMapping test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestPortMapping.moc"

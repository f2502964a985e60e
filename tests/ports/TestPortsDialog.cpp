// The ports dialog: the list follows ports that come and go, a remembered port that is gone
// shows as missing, OK remembers the assignment, and the variable's precedence is said.

#include <PortChoice.h>
#include <PortsDialog.h>

#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

PortFacts Adapter(const QString& device) {
    PortFacts facts;
    facts.device = device;
    facts.description = QStringLiteral("USB-Serial Controller");
    facts.manufacturer = QStringLiteral("Prolific");
    facts.vendorId = 0x067b;
    facts.productId = 0x2303;
    return facts;
}

QStringList Column(const QTableWidget& table, int column) {
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row)
        cells << table.item(row, column)->text();
    return cells;
}

// Runs with the variable unset, as on a technician's machine, and restores it.
class VariableUnset {
public:
    VariableUnset() : had_(qEnvironmentVariableIsSet(Name)), old_(qgetenv(Name)) {
        qunsetenv(Name);
    }
    ~VariableUnset() {
        if (had_)
            qputenv(Name, old_);
    }

private:
    static constexpr const char* Name = "TARVIK_Q5_PORTS";
    bool had_;
    QByteArray old_;
};

} // namespace

class TestPortsDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    // No ports chosen: the machine's own devices stay out of the pictures.
    void init() {
        PortChoice::Save(QStringList(PortNames::PortCount, QString()));
        PortChoice::Install();
    }
    void cleanup() {
        PortNames::SetChoiceSource({});
        PortChoice::Forget();
    }
    void listFollowsPortsThatComeAndGo();
    void okRemembersTheAssignment();
    void missingRememberedPortIsShown();
    void variableWinsAndSaysSo();
    void useAfterAnOpen();
    void useOfAPort_data();
    void useOfAPort();
    void typedDeviceIsChosen();
};

// What an open that failed says of a port nobody holds (root opens what it likes, so the
// refused open is told by its error).
void TestPortsDialog::useAfterAnOpen() {
    const std::pair<int, const char*> cases[] = {{0, "свободен"},
                                                 {EACCES, "нет прав"},
                                                 {EBUSY, "занят другой программой"},
                                                 {ENOENT, "нет устройства"}};
    for (const auto& [error, shown] : cases) {
        PortFacts facts;
        facts.use = PortList::UseAfterOpen(error);
        QCOMPARE(PortList::UseText(facts), QString::fromUtf8(shown));
    }
}

void TestPortsDialog::useOfAPort_data() {
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QString>("shown"); // %1: the holder's pid
    QTest::newRow("free") << ""
                          << "свободен";
    QTest::newRow("held here") << "here"
                               << "занят этой программой";
    QTest::newRow("held by another") << "sleep"
                                     << "занят: sleep (%1)";
    QTest::newRow("no device") << "none"
                               << "нет устройства";
}

// A pseudo-terminal as the port: its master alone is open until someone opens the device.
void TestPortsDialog::useOfAPort() {
    QFETCH(QString, holder);
    QFETCH(QString, shown);
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    std::vector<PortFacts> ports(1);
    ports[0].device = holder == "none" ? "/dev/q5-none" : QString::fromLatin1(::ptsname(master));
    const int ours = holder == "here" ? ::open(::ptsname(master), O_RDWR | O_NOCTTY) : -1;
    QProcess other;
    if (holder == "sleep") {
        other.setStandardInputFile(ports[0].device);
        other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(other.waitForStarted());
    }
    // The child holds the device once it runs its program.
    shown.replace(QStringLiteral("%1"), QString::number(other.processId()));
    QTRY_COMPARE((PortList::FindUse(ports), PortList::UseText(ports[0])), shown);
    other.kill();
    other.waitForFinished();
    if (ours >= 0)
        ::close(ours);
    ::close(master);
}

void TestPortsDialog::typedDeviceIsChosen() {
    const VariableUnset unset;
    PortsDialog dialog([] { return std::vector<PortFacts>{Adapter("/dev/ttyUSB0")}; });
    dialog.Assignment(3)->setEditText(QStringLiteral("/dev/pts/7"));
    QCOMPARE(dialog.ChosenDevices(), (QStringList{"", "", "/dev/pts/7", ""}));
}

void TestPortsDialog::listFollowsPortsThatComeAndGo() {
    const VariableUnset unset;
    std::vector<PortFacts> present{Adapter("/dev/ttyUSB0")};
    PortsDialog dialog([&present] { return present; });
    QCOMPARE(Column(*dialog.Table(), PortsDialog::Device), QStringList{"/dev/ttyUSB0"});
    QCOMPARE(dialog.Table()->item(0, PortsDialog::UsbIds)->text(), QStringLiteral("067b:2303"));
    QCOMPARE(dialog.Table()->item(0, PortsDialog::Use)->text(), QStringLiteral("свободен"));

    present.push_back(Adapter("/dev/ttyUSB1"));
    present.back().use = PortUse::Busy;
    QTRY_COMPARE(Column(*dialog.Table(), PortsDialog::Device),
                 (QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1"}));
    QCOMPARE(dialog.Table()->item(1, PortsDialog::Use)->text(),
             QStringLiteral("занят другой программой"));
    QCOMPARE(dialog.Assignment(1)->count(), 3); // none and the two adapters

    present.erase(present.begin());
    QTRY_COMPARE(Column(*dialog.Table(), PortsDialog::Device), QStringList{"/dev/ttyUSB1"});
    QCOMPARE(dialog.Assignment(1)->count(), 2);
}

void TestPortsDialog::okRemembersTheAssignment() {
    const VariableUnset unset;
    PortsDialog dialog([] { return std::vector<PortFacts>{Adapter("/dev/ttyUSB0")}; });
    QComboBox* com2 = dialog.Assignment(2);
    com2->setCurrentIndex(com2->findData(QStringLiteral("/dev/ttyUSB0")));
    dialog.Assignment(1)->setCurrentIndex(0);
    dialog.accept();
    QCOMPARE(PortChoice::Load(), PortNames::Choice(QStringList{"", "/dev/ttyUSB0", "", ""}));
}

void TestPortsDialog::missingRememberedPortIsShown() {
    const VariableUnset unset;
    PortChoice::Save({"/dev/q5-gone", "", "", ""});
    PortsDialog dialog([] { return std::vector<PortFacts>{}; });
    QCOMPARE(dialog.Assignment(1)->currentText(), QStringLiteral("/dev/q5-gone (нет устройства)"));
    QCOMPARE(Column(*dialog.Table(), PortsDialog::Use), QStringList{"нет устройства"});
    QCOMPARE(Column(*dialog.Table(), PortsDialog::ProgramPort), QStringList{"COM1"});
    QVERIFY(dialog.VariableNote()->isHidden());
}

void TestPortsDialog::variableWinsAndSaysSo() {
    const VariableUnset unset;
    qputenv("TARVIK_Q5_PORTS", "/dev/null");
    PortsDialog dialog([] { return std::vector<PortFacts>{}; });
    QVERIFY(!dialog.VariableNote()->isHidden());
    QVERIFY(dialog.VariableNote()->text().contains("TARVIK_Q5_PORTS"));
    QCOMPARE(Column(*dialog.Table(), PortsDialog::ProgramPort), QStringList{"COM1"});
    qunsetenv("TARVIK_Q5_PORTS");
}

int RunPortsDialogTests(int argc, char** argv) {
    TestPortsDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestPortsDialog.moc"

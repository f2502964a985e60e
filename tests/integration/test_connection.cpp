// The connection from "Connect to COM" to a live window and back, through pseudo-terminals
// with emulated controllers.

#include "AppFixture.h"
#include "Comm_Fun.h"
#include "Connection.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "FrameLog.h"
#include "Messages.h"
#include "PortHolder.h"
#include "ProductionLog.h"
#include "Protocol.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <map>

namespace {

QString Read(int address) {
    return Triple(CmdReadParam, address, 0);
}
QString ReadLive(int address) {
    return Triple(CmdReadLive, address, 0);
}
QString Write(int address, int word) {
    return Triple(CmdWriteParam, address, word);
}

// What each value control's read handler asks, with the emulator's default words.
const std::map<QString, QStringList>& ReadsOfControl() {
    static const std::map<QString, QStringList> reads = {
        {"SpinExtEdit6", {Read(88)}},
        {"SpinExtEdit9", {Read(39), Read(55), Read(38), Read(37), Read(34)}},
        {"SpinExtEdit2", {Read(71)}},
        {"SpinExtEdit19", {Read(56)}},
        {"SpinExtEdit20", {Read(61)}},
        {"SpinExtEdit12", {Read(61)}},
        {"SpinExtEdit13", {}},
        {"SpinExtEdit18", {Read(57)}},
        {"SpinExtEdit24", {Read(64)}},
        {"SpinExtEdit3", {Read(92)}},
        {"SpinExtEdit4", {Read(61)}},
        {"SpinExtEdit5", {}},
        {"SpinExtEdit16", {Read(59)}},
        {"SpinExtEdit17", {Read(60)}},
        {"SpinExtEdit22", {Read(40)}},
        {"SpinExtEdit27", {Read(90)}},
        // P91 = 1 selects "разрешена" from no selection, and its handler writes the word back.
        {"SpinExtEdit29", {Read(63), Read(91), Write(91, 1)}},
        {"SpinExtEdit28", {Read(89)}},
        {"SpinExtEdit43", {Read(89)}},
        {"SpinExtEdit39", {Read(42)}},
        {"SpinExtEdit30", {Read(76)}},
        {"SpinExtEdit32", {Read(77)}},
        {"SpinExtEdit31", {Read(78)}},
        {"SpinExtEdit33", {Read(79)}},
        {"SpinExtEdit8", {Read(95)}},
        {"SpinExtEdit7", {Read(94)}},
        {"SpinExtEdit14", {Read(72)}},
        {"SpinExtEdit21", {Read(73)}},
        {"SpinExtEdit15", {Read(74)}},
        {"SpinExtEdit23", {Read(75)}},
        {"SpinExtEdit10", {Read(67)}},
        {"SpinExtEdit11", {Read(66)}},
        {"SpinExtEdit35", {Read(53)}},
        {"SpinExtEdit36", {Read(54)}},
        {"SpinExtEdit37", {Read(50)}},
        {"SpinExtEdit38", {Read(52)}},
        {"SpinExtEdit1", {Read(48), Read(97)}}, // P97 = 4 is the slider's position 3 already
        {"SpinExtEdit25", {Read(69)}},
        {"SpinExtEdit26", {Read(86)}},
        {"SpinExtEdit34", {Read(87)}},
        {"SpinExtEdit40", {Read(82)}},
        {"SpinExtEdit41", {Read(80)}},
        {"SpinExtEdit42", {Read(81)}},
        {"ExtText2", {ReadLive(162)}},
        // P51 = 1 selects "есть" from no selection; live 76 = 0, live 77 = 2: the oxygen trim.
        {"ExtText4",
         {Read(51), Write(51, 1), ReadLive(76), ReadLive(77), ReadLive(186), ReadLive(178)}},
        {"ExtText3", {ReadLive(72)}},
        {"ExtText1", {ReadLive(166)}},
        {"ExtText5", {ReadLive(192)}},
        {"ExtText8", {ReadLive(196)}},
        {"ExtText9", {ReadLive(198)}},
        {"ExtText6", {ReadLive(164)}},
        {"ExtText10", {ReadLive(200)}},
        {"ExtText7", {ReadLive(190)}},
    };
    return reads;
}

// The frames a connection to a default controller sends, in order.
QStringList ExpectedConnection(TForm1& form, bool firstConnection) {
    QStringList frames{Read(47), Read(33), Read(93)};
    if (firstConnection)
        frames << Write(93, 1); // "есть" chosen from no selection is written back
    QStringList displays;
    for (const auto& component : form.Components.Items()) {
        const auto found = ReadsOfControl().find(component->objectName());
        if (found == ReadsOfControl().end())
            continue;
        QStringList reads = found->second;
        if (!firstConnection) // the options are selected already: nothing is written back
            reads.removeIf([](const QString& f) { return f.startsWith("3 "); });
        if (qobject_cast<TExtText*>(component))
            displays << reads;
        else
            frames << reads;
    }
    frames << displays;
    for (int address = 1; address <= 32; ++address)
        frames << Read(address);
    frames << Read(0);
    return frames;
}

// The identity step lets due timers run once; their traffic may stand before the last read.
QStringList WithoutTimerTraffic(QStringList frames) {
    const qsizetype lastIdentity = frames.lastIndexOf(Read(32));
    const qsizetype counter = frames.lastIndexOf(Read(0));
    if (lastIdentity >= 0 && counter > lastIdentity + 1)
        frames.remove(lastIdentity + 1, counter - lastIdentity - 1);
    return frames;
}

void PrepareDefaultController(q5emu::Q5Emulator& controller) {
    controller.setLive(76, 0);
    controller.setLive(77, 2);
    controller.setParam(97, 4);
    controller.setParam(91, 1);
    controller.setParam(93, 1);
    controller.setParam(51, 1);
}

void VerifyConnectedState(TForm1& form) {
    QVERIFY(DeviceConnected());
    QVERIFY(Comm_Fun::PortOpened());
    QVERIFY(!form.Connect_to_COM1->isEnabled());
    QVERIFY(form.Close_COM->isEnabled());
    QVERIFY(form.N2->isEnabled());
    QVERIFY(form.N3->isEnabled());
    QVERIFY(form.StaticText1->isEnabled());
    QVERIFY(form.StaticText4->isEnabled());
    QVERIFY(form.RadioButton1->isEnabled());
    QVERIFY(form.RadioButton2->isEnabled());
    for (QComboBox* list : {form.ComboBox1, form.ComboBox2, form.ComboBox3, form.ComboBox4})
        QVERIFY(list->isEnabled());
    QVERIFY(form.Panel3->isVisibleTo(&form));
    QVERIFY(form.Timer2->isActive());
    for (const auto& component : form.Components.Items())
        if (auto* edit = qobject_cast<TSpinExtEdit*>(component))
            QVERIFY2(edit->isEnabled(), qPrintable(edit->objectName()));
}

// After the sequence, the restore point reads, in address order, each parameter word the
// sequence did not read.
QStringList WithRestorePointReads(QStringList sequence) {
    QStringList reads;
    for (int address = 33; address <= 99; ++address)
        if (!sequence.contains(Read(address)))
            reads << Read(address);
    return sequence + reads;
}

} // namespace

class ConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void wireSequenceAndState();
    void controllerOnThirdPort();
    void heldPortIsSkipped();
    void wrongIdentityIsRefused_data();
    void wrongIdentityIsRefused();
    void operatingCounter_data();
    void operatingCounter();
    void closeThenConnectAgain();
    void numbersNewController();
    void logErrorEndsSequenceConnected();
};

void ConnectionTest::wireSequenceAndState() {
    EmulatedPorts ports;
    PrepareDefaultController(ports.emulator());
    AppFixture app;
    ports.emulator().clearLog();
    Connect_to_COM1Click();
    VerifyConnectedState(app.form());
    QCOMPARE(WithoutTimerTraffic(FrameTriples(ports.emulator())),
             WithRestorePointReads(ExpectedConnection(app.form(), true)));
    QCOMPARE(app.messages, QStringList());
    QCOMPARE(app.form().windowTitle(), QStringLiteral("Tarvik-Q5 system "));
}

void ConnectionTest::controllerOnThirdPort() {
    // COM1 has no device, COM2 a silent one, COM3 the controller, COM4 another controller.
    EmulatedPorts ports(3, {NoDevice, 0, 1, 2});
    q5emu::FaultSpec silent;
    silent.mode = q5emu::FaultMode::Silence;
    ports.emulator(0).setFault(silent);
    AppFixture app;
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    QCOMPARE(FrameTriples(ports.emulator(0)), QStringList{Read(47)});
    QCOMPARE(FrameTriples(ports.emulator(1)).value(0), Read(47));
    QCOMPARE(ports.emulator(2).framesReceived(), size_t(0));
    QCOMPARE(app.messages, QStringList());
}

void ConnectionTest::heldPortIsSkipped() {
    EmulatedPorts ports(2, {0, 1});
    PortHolder holder(ports.device(0));
    QVERIFY(holder.holds());
    AppFixture app;
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    QCOMPARE(ports.emulator(0).framesReceived(), size_t(0));
    QVERIFY(ports.emulator(1).framesReceived() > 32);
}

void ConnectionTest::wrongIdentityIsRefused_data() {
    QTest::addColumn<int>("identity");
    QTest::addColumn<bool>("badChecksum");
    QTest::newRow("502") << 502 << false;
    QTest::newRow("504") << 504 << false;
    QTest::newRow("503 with a wrong checksum") << 503 << true;
}

void ConnectionTest::wrongIdentityIsRefused() {
    QFETCH(int, identity);
    QFETCH(bool, badChecksum);
    EmulatedPorts ports;
    ports.emulator().setParam(47, static_cast<uint16_t>(identity));
    if (badChecksum) {
        q5emu::FaultSpec fault;
        fault.mode = q5emu::FaultMode::WrongChecksum;
        ports.emulator().setFault(fault);
    }
    AppFixture app;
    ports.emulator().clearLog();
    Connect_to_COM1Click();
    QVERIFY(!DeviceConnected());
    QVERIFY(!Comm_Fun::PortOpened());
    QCOMPARE(app.messages, QStringList{QStringLiteral("Прибор не обнаружен !")});
    // A garbled reply is asked for twice more before the port is given up.
    QCOMPARE(FrameTriples(ports.emulator()), QStringList(badChecksum ? 3 : 1, Read(47)));
    QVERIFY(app.form().Connect_to_COM1->isEnabled());
    QVERIFY(!app.form().N2->isEnabled());
    QVERIFY(!app.form().Panel3->isVisibleTo(&app.form()));
}

void ConnectionTest::operatingCounter_data() {
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << 0 << "0 ";
    QTest::newRow("1") << 1 << "10";
    QTest::newRow("123") << 123 << "1230";
    QTest::newRow("65535") << 65535 << "655350";
}

void ConnectionTest::operatingCounter() {
    QFETCH(int, word);
    QFETCH(QString, shown);
    EmulatedPorts ports;
    ports.emulator().setParam(0, static_cast<uint16_t>(word));
    AppFixture app;
    Connect_to_COM1Click();
    QCOMPARE(app.form().StaticText4->text(), shown);
}

void ConnectionTest::closeThenConnectAgain() {
    EmulatedPorts ports;
    PrepareDefaultController(ports.emulator());
    AppFixture app;
    TForm1& form = app.form();
    Connect_to_COM1Click();
    const QString date = form.StaticText3->text();
    QVERIFY(date.trimmed().size() > 0);
    form.setWindowTitle("Tarvik-Q5 system (car1.q5t)");
    ports.emulator().clearLog();

    Close_COMClick();
    QCOMPARE(ports.emulator().framesReceived(), size_t(0));
    QVERIFY(!DeviceConnected());
    QVERIFY(!Comm_Fun::PortOpened());
    QCOMPARE(form.windowTitle(), QStringLiteral("Tarvik-Q5 system "));
    QVERIFY(form.Connect_to_COM1->isEnabled());
    QVERIFY(!form.Close_COM->isEnabled());
    QVERIFY(!form.N2->isEnabled());
    QVERIFY(!form.N3->isEnabled());
    QCOMPARE(form.StaticText1->text(), QStringLiteral(" "));
    QVERIFY(!form.StaticText1->isEnabled());
    QCOMPARE(form.StaticText3->text(), date);
    QCOMPARE(form.StaticText4->text(), QString());
    QVERIFY(!form.StaticText4->isEnabled());
    QCOMPARE(form.StaticText2->text(), QString());
    QVERIFY(!form.RadioButton1->isEnabled());
    QVERIFY(form.RadioButton1->isChecked()); // selections keep their last values
    for (QComboBox* list : {form.ComboBox1, form.ComboBox2, form.ComboBox3, form.ComboBox4})
        QVERIFY(!list->isEnabled());
    QVERIFY(!form.Panel3->isVisibleTo(&form));
    QVERIFY(form.Timer2->isActive());
    for (const auto& component : form.Components.Items()) {
        if (auto* edit = qobject_cast<TSpinExtEdit*>(component))
            QVERIFY2(!edit->isEnabled(), qPrintable(edit->objectName()));
        if (auto* display = qobject_cast<TExtText*>(component))
            QVERIFY2(!display->isEnabled(), qPrintable(display->objectName()));
    }

    Connect_to_COM1Click();
    VerifyConnectedState(form);
    QCOMPARE(WithoutTimerTraffic(FrameTriples(ports.emulator())),
             WithRestorePointReads(ExpectedConnection(form, false)));
}

void ConnectionTest::numbersNewController() {
    EmulatedPorts ports;
    auto& c = ports.emulator();
    const QByteArray serial = QByteArray(19, 'T') + "00000";
    for (int i = 0; i < 24; ++i)
        c.setParam(static_cast<uint8_t>(1 + i), static_cast<uint8_t>(serial[i]));
    AppFixture app;
    QStringList questions;
    SetConfirmPresenter([&questions](const QString& text) {
        questions << text;
        return true;
    });
    Connect_to_COM1Click();
    SetConfirmPresenter({});
    QVERIFY(DeviceConnected());
    // The first log is begun once asked for.
    QCOMPARE(questions, QStringList{ProductionLog::NewLogQuestion(app.logPath())});
    QCOMPARE(app.form().StaticText1->text(), QString(19, 'T') + "00114");
    QByteArray written;
    for (int i = 20; i <= 24; ++i)
        written += static_cast<char>(c.param(static_cast<uint8_t>(i)));
    QCOMPARE(written, QByteArray("00114"));
    QFile log(app.logPath());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.size(), qint64(84));
    QCOMPARE(log.readAll().mid(42 + 1, 24), QByteArray(19, 'T') + "00114");
    QCOMPARE(app.errors, QStringList());
}

void ConnectionTest::logErrorEndsSequenceConnected() {
    EmulatedPorts ports;
    auto& c = ports.emulator();
    for (int i = 20; i <= 24; ++i)
        c.setParam(static_cast<uint8_t>(i), '0');
    AppFixture app;
    QVERIFY(QDir().mkpath(app.logPath())); // a directory stands where the log should be
    TForm1& form = app.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    c.clearLog();
    QTest::mouseClick(form.Connect_to_COM1, Qt::LeftButton);
    QCOMPARE(app.errors, QStringList{QStringLiteral("File access denied.")});
    QCOMPARE(app.messages, QStringList());
    VerifyConnectedState(form);
    QCOMPARE(form.StaticText4->text(), QStringLiteral(" "));
    QVERIFY(!FrameTriples(c).contains(Read(0)));
    QVERIFY(!FrameTriples(c).contains(Write(20, '0')));
}

// The program's own application object, so that errors reach its error handler.
int main(int argc, char** argv) {
    TApplication application(argc, argv);
    ConnectionTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_connection.moc"

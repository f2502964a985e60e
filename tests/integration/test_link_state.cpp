// The link as the technician sees it: the indicator in the menu bar, the window going quiet
// while the controller is silent, another controller found after the link came back, late
// replies, the wait cursor, and the live samples. The controller answers with a zero head
// where replies must be told apart by their timing alone.

#include "AppFixture.h"
#include "Catalogue.h"
#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControllerLink.h"
#include "ControllerSession.h"
#include "EmulatedPorts.h"
#include "ExchangeObserver.h"
#include "FileFun.h"
#include "Form1.h"
#include "LinkIndicator.h"
#include "LiveSample.h"
#include "LogNumbering.h"
#include "Messages.h"
#include "Protocol.h"
#include "RecordingIndicator.h"
#include "TExtText.h"
#include "TSpinButton.h"
#include "TSpinExtEdit.h"
#include "WindowLink.h"
#include "WindowSession.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

constexpr int Patience = 10000;

// What the corner shows, which is also what it tells assistive technology.
QString Indicator(TForm1& form) {
    auto* label = form.MainMenu1->findChild<LinkIndicator*>(QStringLiteral("LinkIndicator"));
    return label && label->accessibleName() == label->text() ? label->text() : "<none>";
}

q5emu::FaultSpec Silence() {
    return q5emu::FaultSpec(q5emu::FaultMode::Silence);
}

// A fault on the frames of one command and address (-1: any), every nth of them.
q5emu::FaultSpec Fault(q5emu::FaultMode mode, int command, int address, uint32_t every = 1) {
    q5emu::FaultSpec fault(mode);
    if (command >= 0)
        fault.command = static_cast<uint8_t>(command);
    if (address >= 0)
        fault.address = static_cast<uint8_t>(address);
    fault.every = every;
    return fault;
}

const q5emu::EmulatorOptions ZeroHead{std::chrono::microseconds(0), {}, {}, {}, true, {}};

QAction* Action(TForm1& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

// Brings the pages that hold the widget to the front.
void ShowPageOf(QWidget* widget) {
    for (QWidget* child = widget; child->parentWidget(); child = child->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(child->parentWidget()->parentWidget());
            tabs && qobject_cast<QStackedWidget*>(child->parentWidget()))
            tabs->setCurrentWidget(child);
}

// Watches every exchange: a read that succeeded must have taken the word its address held
// (live words held still), and no parameter word may change that the window did not write.
class ReplyAudit {
public:
    explicit ReplyAudit(q5emu::Q5Emulator& controller) : controller_(controller) {
        for (int a = 0; a < 256; ++a) {
            controller.setLive(uint8_t(a), controller.live(uint8_t(a)));
            words_[0][a] = controller.live(uint8_t(a));
            words_[1][a] = controller.param(uint8_t(a));
        }
        watching_ = WindowLink().Observe([this](const ExchangeRecord& r) {
            uint16_t& held = words_[r.command / 2][r.address];
            if (r.command % 2 == 1)
                held = r.sent;
            else if (r.outcome == ExchangeOutcome::Success && r.reply != held)
                problems_
                    << QStringLiteral("%1:%2 took %3").arg(r.command).arg(r.address).arg(r.reply);
        });
    }
    QStringList Problems() {
        for (int a = 0; a < 256; ++a)
            if (controller_.param(uint8_t(a)) != words_[1][a])
                problems_ << QStringLiteral("P%1 changed").arg(a);
        return problems_;
    }

private:
    q5emu::Q5Emulator& controller_;
    std::array<std::array<uint16_t, 256>, 2> words_{}; // live, parameters
    QStringList problems_;
    ExchangeObservers::Subscription watching_;
};

size_t FramesAt(q5emu::Q5Emulator& controller, uint8_t command, uint8_t address) {
    const std::vector<q5emu::LoggedFrame> log = controller.frameLog();
    return std::count_if(log.begin(), log.end(), [&](const q5emu::LoggedFrame& f) {
        return f.command == command && f.address == address;
    });
}

void StepUp(TSpinExtEdit* edit) {
    TSpinButton* arrows = edit->SpinButton();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, arrows->UpRect().center());
}

} // namespace

class LinkStateTest : public QObject {
    Q_OBJECT
private slots:
    void silenceMarksLostAndAnswersMarkBack();
    void anotherControllerEndsTheConnection();
    void closeClearsTheIndicator();
    void waitCursorComesBackAfterAnError();
    void liveSampleHoldsEveryLiveValue();
    void lateRepliesTakeNoOtherWord_data();
    void lateRepliesTakeNoOtherWord();
    void controllerTakenBackIsChecked_data();
    void controllerTakenBackIsChecked();
    void everyDisplayAsksAgain_data();
    void everyDisplayAsksAgain();
    void logFailureCompletesTheConnection_data();
    void logFailureCompletesTheConnection();
    void cornerHasAccessibleNames();
};

void LinkStateTest::silenceMarksLostAndAnswersMarkBack() {
    EmulatedPorts ports;
    AppFixture app;
    QCOMPARE(Indicator(app.form()), QString());
    app.form().Connect_to_COM1->click();
    QCOMPARE(Indicator(app.form()), QStringLiteral("Связь"));

    ports.emulator().setFault(Silence());
    QTRY_COMPARE(Indicator(app.form()), QStringLiteral("Нет связи"));
    QVERIFY(!app.form().Timer2->isActive());
    QVERIFY(app.messages.isEmpty()); // nothing modal while merely lost
    QVERIFY(!app.form().N2->isEnabled());

    ports.emulator().setFault(q5emu::FaultSpec(q5emu::FaultMode::None));
    QTRY_COMPARE_WITH_TIMEOUT(Indicator(app.form()), QStringLiteral("Связь"), 5000);
    QVERIFY(app.form().Timer2->isActive());
    QVERIFY(app.form().Close_COM->isEnabled());
}

void LinkStateTest::anotherControllerEndsTheConnection() {
    EmulatedPorts ports;
    AppFixture app;
    app.form().Connect_to_COM1->click();
    ports.emulator().setFault(Silence());
    QTRY_COMPARE(Indicator(app.form()), QStringLiteral("Нет связи"));

    ports.emulator().setParam(24, 'X'); // the last character of the serial number
    ports.emulator().setFault(q5emu::FaultSpec(q5emu::FaultMode::None));
    QTRY_COMPARE_WITH_TIMEOUT(app.messages,
                              QStringList{"Подключен другой прибор. Подключитесь заново."}, 5000);
    QVERIFY(app.form().Connect_to_COM1->isEnabled());
    QVERIFY(!app.form().Close_COM->isEnabled());
    QCOMPARE(Indicator(app.form()), QString());
    QVERIFY(!DeviceConnected());
}

void LinkStateTest::closeClearsTheIndicator() {
    EmulatedPorts ports;
    AppFixture app;
    app.form().Connect_to_COM1->click();
    app.form().Close_COM->click();
    QCOMPARE(Indicator(app.form()), QString());
}

void LinkStateTest::waitCursorComesBackAfterAnError() {
    EmulatedPorts ports;
    AppFixture app;
    bool waitingWhileWorking = false;
    ports.emulator().setParam(47, 502);              // no controller of this kind answers
    SetInformationPresenter([&](const QString&) {}); // "Прибор не обнаружен !" after the scan
    app.form().Connect_to_COM1->click();
    QVERIFY(QApplication::overrideCursor() == nullptr);

    ports.emulator().setParam(47, 503);
    app.form().Connect_to_COM1->click();
    ports.emulator().setFault(Silence());
    auto watching = WindowLink().Observe([&](const ExchangeRecord&) {
        waitingWhileWorking = waitingWhileWorking || QApplication::overrideCursor() != nullptr;
    });
    QTemporaryDir dir;
    QVERIFY_THROWS_EXCEPTION(std::exception, SaveSettings(dir.filePath("x.q5t")));
    watching.reset();
    QVERIFY(waitingWhileWorking);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void LinkStateTest::liveSampleHoldsEveryLiveValue() {
    EmulatedPorts ports;
    AppFixture app;
    app.form().Connect_to_COM1->click();
    ports.emulator().setLive(162, 2500);
    const LiveSample sample = ReadLiveSample(SessionOf(app.form()).Poller());
    QCOMPARE(sample.values.size(), Catalogue::LiveValues().size());
    QCOMPARE(sample.values.size(), size_t(14));
    QCOMPARE(sample.ValueAt(162), std::optional<long double>(2500));

    std::vector<LiveSample> published;
    const auto listening =
        SessionOf(app.form()).Poller().Samples().Listen([&](const LiveSample& s) {
            published.push_back(s);
        });
    QTRY_VERIFY(!published.empty());
    QCOMPARE(published.front().values.size(), size_t(4)); // the monitor's four gauges

    ports.emulator().setFault(Silence());
    const LiveSample failed = ReadLiveSample(SessionOf(app.form()).Poller());
    QVERIFY(std::all_of(failed.values.begin(), failed.values.end(),
                        [](const LiveValue& v) { return !v.word && !v.value; }));
}

void LinkStateTest::lateRepliesTakeNoOtherWord_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("command"); // of the frames whose replies come late; -1: any
    QTest::addColumn<int>("address");
    QTest::addColumn<uint32_t>("every");
    QTest::newRow("at connection") << "connect" << 2 << 33 << 1u;
    QTest::newRow("during a load") << "load" << 3 << 40 << 1u;
    QTest::newRow("while polling") << "poll" << 0 << 162 << 1u;
    QTest::newRow("every fifth, connection and polling") << "connect" << -1 << -1 << 5u;
}

void LinkStateTest::lateRepliesTakeNoOtherWord() {
    QFETCH(QString, operation);
    QFETCH(int, command);
    QFETCH(int, address);
    QFETCH(uint32_t, every);
    EmulatedPorts ports(1, {0}, ZeroHead);
    q5emu::Q5Emulator& controller = ports.emulator();
    controller.setReplyDelay(q5emu::TwoFramesAt19200);
    AppFixture app;
    ShowPageOf(app.form().ExtText2);
    app.form().show();
    QTemporaryDir dir;
    if (operation != QLatin1String("connect")) {
        Connect_to_COM1Click();
        SaveSettings(dir.filePath("block.q5t"));
    }
    controller.setLive(204, 1234); // the values keep coming: the gas pressure on the monitor
    ReplyAudit audit(controller);
    QSignalSpy lost(&SessionOf(*Form1).Events(), &ConnectionEvents::linkChanged);
    controller.setFault(Fault(q5emu::FaultMode::LateReply, command, address, every));
    if (operation == QLatin1String("connect"))
        Connect_to_COM1Click();
    if (operation == QLatin1String("load"))
        QVERIFY_THROWS_EXCEPTION(std::exception, LoadSettings(dir.filePath("block.q5t")));
    QTRY_COMPARE_WITH_TIMEOUT(app.form().Label18->text(), QStringLiteral("123.4 КПа"), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(FramesAt(controller, 0, 162) >= 4, Patience);
    QCOMPARE(lost.count(), 0);
    // A character whose reply came late is not shown; none is shown from another's reply.
    QVERIFY(!CurrentDevice().serialRead ||
            CurrentDevice().serial == QStringLiteral("Тарвик-Q5 ГБО 2002 00120"));
    const QStringList problems = audit.Problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

void LinkStateTest::controllerTakenBackIsChecked_data() {
    QTest::addColumn<int>("unread");  // a serial-number character not read at the connection
    QTest::addColumn<int>("address"); // the word that differs in the controller taken back
    QTest::addColumn<bool>("same");
    QTest::newRow("same controller, its counter gone on") << -1 << 0 << true;
    QTest::newRow("other serial number") << -1 << 24 << false;
    QTest::newRow("other date") << -1 << 30 << false;
    QTest::newRow("other settings word") << -1 << 40 << false;
    QTest::newRow("serial not read whole, other settings word") << 5 << 40 << false;
    QTest::newRow("serial not read whole, other serial number") << 5 << 24 << false;
}

// Also: while lost, a click writes nothing and no undo step is offered.
void LinkStateTest::controllerTakenBackIsChecked() {
    QFETCH(int, unread);
    QFETCH(int, address);
    QFETCH(bool, same);
    EmulatedPorts ports(1, {0}, ZeroHead);
    q5emu::Q5Emulator& controller = ports.emulator();
    AppFixture app;
    TForm1& form = app.form();
    ShowPageOf(form.SpinExtEdit2);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    controller.setFault(
        Fault(unread < 0 ? q5emu::FaultMode::None : q5emu::FaultMode::Silence, 2, unread));
    Connect_to_COM1Click();
    QCOMPARE(CurrentDevice().serialRead, unread < 0);
    StepUp(form.SpinExtEdit2); // an undo step of this controller
    QTRY_VERIFY(Action(form, "UndoAction")->isEnabled());
    controller.setFault(Silence());
    QTRY_COMPARE(Indicator(form), QStringLiteral("Нет связи"));
    QVERIFY(!form.SpinExtEdit2->isEnabled() && !Action(form, "UndoAction")->isEnabled());
    StepUp(form.SpinExtEdit2);
    QCOMPARE(form.SpinExtEdit2->Value(), 5.0L);

    controller.clearLog();
    const auto differing = static_cast<uint8_t>(address);
    controller.setParam(differing, static_cast<uint16_t>(controller.param(differing) + 1));
    controller.setFault(q5emu::FaultSpec(q5emu::FaultMode::None));
    QTRY_VERIFY_WITH_TIMEOUT(Indicator(form) != QStringLiteral("Нет связи"), Patience);
    for (const q5emu::LoggedFrame& frame : controller.frameLog())
        QVERIFY(frame.command == CmdReadParam || frame.command == CmdReadLive);
    QCOMPARE(app.messages,
             same ? QStringList() : QStringList{"Подключен другой прибор. Подключитесь заново."});
    QCOMPARE(form.SpinExtEdit2->isEnabled(), same);
    QCOMPARE(Action(form, "UndoAction")->isEnabled(), same);
}

void LinkStateTest::everyDisplayAsksAgain_data() {
    // l: the link is lost, r: it returns, c: "Close COM", n: "Connect to COM"
    QTest::addColumn<QString>("steps");
    for (const char* steps : {"lr", "cn", "lcn", "lrcn", "lcnlr", "lrlr"})
        QTest::newRow(steps) << QString::fromLatin1(steps);
}

void LinkStateTest::everyDisplayAsksAgain() {
    QFETCH(QString, steps);
    EmulatedPorts ports;
    q5emu::Q5Emulator& controller = ports.emulator();
    AppFixture app;
    TForm1& form = app.form();
    form.show();
    Connect_to_COM1Click();
    for (const QChar step : steps) {
        const bool lose = step == u'l';
        controller.setFault(lose ? Silence() : q5emu::FaultSpec(q5emu::FaultMode::None));
        // A click on a disabled button does nothing: only "c" and "n" act.
        (step == u'c' ? form.Close_COM : form.Connect_to_COM1)->click();
        const char* shown = lose ? "Нет связи" : step == u'c' ? "" : "Связь";
        QTRY_COMPARE_WITH_TIMEOUT(Indicator(form), QString::fromUtf8(shown), Patience);
    }
    for (QWidget* display : form.findChildren<TExtText*>()) {
        ShowPageOf(display);
        const Catalogue::Entry* entry = Catalogue::ForControl(qPrintable(display->objectName()));
        controller.clearLog();
        QTRY_VERIFY2_WITH_TIMEOUT(!display->isVisible() || FramesAt(controller, 0, *entry->address),
                                  qPrintable(display->objectName()), Patience);
    }
    controller.clearLog();
    QTRY_VERIFY_WITH_TIMEOUT(FramesAt(controller, CmdReadLive, 204) > 0, Patience); // monitor
}

void LinkStateTest::logFailureCompletesTheConnection_data() {
    QTest::addColumn<QString>("log");
    QTest::newRow("held by another station") << "busy";
    QTest::newRow("cannot be written") << "unwritable";
    QTest::newRow("damaged") << "damaged";
}

void LinkStateTest::logFailureCompletesTheConnection() {
    QFETCH(QString, log);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    EmulatedPorts ports;
    for (uint8_t address = 20; address <= 24; ++address)
        ports.emulator().setParam(address, '0'); // a controller not numbered yet
    AppFixture app;
    QLockFile otherStation(ProductionLog::LockPathOf(app.logPath()));
    QFile damaged(app.logPath());
    // A log that another station holds is there: only a missing one is asked about.
    if (log == "busy")
        ProductionLog::CreateIfMissing(app.logPath(), "01.01.01");
    QVERIFY(log != "busy" || otherStation.tryLock(0));
    QVERIFY(log != "unwritable" || QDir().mkpath(app.logPath()));
    QVERIFY(log != "damaged" ||
            (damaged.open(QIODevice::WriteOnly) && damaged.write("Q5 00") == 5));
    damaged.close();
    app.form().Connect_to_COM1->click();
    QCOMPARE(app.errors.size(), 1);
    QVERIFY(DeviceConnected());
    QCOMPARE(Indicator(app.form()), QStringLiteral("Связь"));
    for (const char* action : {"RestorePointsAction", "CompareWithFileAction", "RecordAction"})
        QVERIFY2(Action(app.form(), action)->isEnabled(), action);
    qunsetenv("XDG_DATA_HOME");
}

void LinkStateTest::cornerHasAccessibleNames() {
    AppFixture app;
    RecordingIndicator recording(app.form().MainMenu1);
    recording.Start([] { return qint64(12000); });
    QCOMPARE(recording.accessibleName(), QStringLiteral("● Запись 00:12"));
}

QTEST_MAIN(LinkStateTest)
#include "test_link_state.moc"

// The link as the technician sees it: the indicator in the menu bar, the window going quiet
// while the controller is silent, another controller found after the link came back, the wait
// cursor, and the live samples.

#include "AppFixture.h"
#include "Connection.h"
#include "EmulatedPorts.h"
#include "ExchangeObserver.h"
#include "FileFun.h"
#include "Form1.h"
#include "LinkIndicator.h"
#include "LiveSample.h"
#include "Messages.h"

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString Indicator(TForm1& form) {
    auto* label = form.MainMenu1->findChild<LinkIndicator*>(QStringLiteral("LinkIndicator"));
    return label ? label->text() : QStringLiteral("<none>");
}

q5emu::FaultSpec Silence() {
    return q5emu::FaultSpec(q5emu::FaultMode::Silence);
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
    auto watching = ExchangeObservers::Add([&](const ExchangeRecord&) {
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
    const LiveSample sample = ReadLiveSample();
    QCOMPARE(sample.values.size(), Catalogue::LiveValues().size());
    QCOMPARE(sample.values.size(), size_t(14));
    QCOMPARE(sample.ValueAt(162), std::optional<long double>(2500));

    std::vector<LiveSample> published;
    const auto listening =
        LiveSamples::Listen([&](const LiveSample& s) { published.push_back(s); });
    QTRY_VERIFY(!published.empty());
    QCOMPARE(published.front().values.size(), size_t(4)); // the monitor's four gauges

    ports.emulator().setFault(Silence());
    const LiveSample failed = ReadLiveSample();
    QVERIFY(std::all_of(failed.values.begin(), failed.values.end(),
                        [](const LiveValue& v) { return !v.word && !v.value; }));
}

QTEST_MAIN(LinkStateTest)
#include "test_link_state.moc"

#include "TestExtText.h"

#include "Recorder.h"
#include "TExtText.h"

#include <QElapsedTimer>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

// A display on a shown window, counting its queries.
struct DisplayWindow {
    DisplayWindow() : display(new TExtText(&window)) {
        display->onQuery = [this](QObject*, int, int, long double& value) {
            ++queries;
            value = reading;
        };
        window.show();
    }
    bool Ready() { return QTest::qWaitForWindowExposed(&window); }

    QWidget window;
    TExtText* display;
    int queries = 0;
    long double reading = 0.0L;
};

} // namespace

void TestExtText::Constructor() {
    TExtText display;
    QCOMPARE(display.size(), QSize(70, 25));
    QCOMPARE(display.text(), u"  0.00  "_qs);
    QCOMPARE(display.font().pixelSize(), 21);
    QVERIFY(!display.Timer()->isActive());
    QCOMPARE(display.Timer()->interval(), 1000);
    QVERIFY(!display.AutoQuery());
    QCOMPARE(display.QueryInterval(), 1000);
    QCOMPARE(display.ValueFormat(), u"#####0.00 "_qs);
    QVERIFY(display.isEnabled());
}

void TestExtText::ShownText_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<long double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("caption") << u"Тек."_qs << u"#0.00 mS"_qs << 2.5L << u" Тек. 2.50 mS "_qs;
    QTest::newRow("no caption") << u""_qs << u"#####0.00 Volt"_qs << 1.23L << u"  1.23 Volt "_qs;
    QTest::newRow("sensor") << u"Напряжение датчика"_qs << u"#####0.00 Вольт"_qs << 0.456L
                            << u" Напряжение датчика 0.46 Вольт "_qs;
    QTest::newRow("temperature") << u""_qs << u"##0°С"_qs << -20.0L << u"  -20°С "_qs;
    QTest::newRow("window description mask")
        << u""_qs << u"##0 град.. С"_qs << 90.0L << u"  90 град С "_qs;
}

void TestExtText::ShownText() {
    QFETCH(QString, caption);
    QFETCH(QString, mask);
    QFETCH(long double, value);
    QFETCH(QString, shown);
    TExtText display;
    display.SetValueCaption(caption);
    display.SetValueFormat(mask);
    display.SetValue(value);
    QCOMPARE(display.text(), shown);
}

void TestExtText::ValueIsNotBounded() {
    TExtText display;
    display.SetValue(4.5L);
    QCOMPARE(display.Value(), 4.5L);
    display.SetValue(1e-11L);
    QCOMPARE(display.Value(), 1e-11L);
}

void TestExtText::ReportRules() {
    DisplayWindow w;
    QVERIFY(w.Ready());
    TExtText& display = *w.display;
    display.SetValueFormat(u"#0.0 V"_qs);
    ChangeRecorder recorder;
    display.onChangeValue = recorder.Handler();

    display.SetValue(13.8L);
    QCOMPARE(recorder.Count(), 1);
    QCOMPARE(recorder.changes.at(0).oldValue, 0.0L);
    QCOMPARE(recorder.changes.at(0).newValue, 13.8L);
    display.SetValue(13.81L); // same text
    QCOMPARE(recorder.Count(), 1);
    display.setEnabled(false);
    display.SetValue(12.0L);
    QCOMPARE(recorder.Count(), 1);
    display.setEnabled(true);
    display.hide();
    display.SetValue(11.0L);
    QCOMPARE(recorder.Count(), 1);
    QCOMPARE(display.text(), u"  11.0 V "_qs);
}

void TestExtText::PassZeroesSilently() {
    DisplayWindow w;
    QVERIFY(w.Ready());
    TExtText& display = *w.display;
    display.SetValueFormat(u"#0.0 V"_qs);
    display.SetValue(13.8L);
    ChangeRecorder recorder;
    display.onChangeValue = recorder.Handler();

    display.Pass();

    QCOMPARE(display.text(), u"  0.0 V "_qs);
    QCOMPARE(display.Value(), 0.0L);
    QVERIFY(!display.isEnabled());
    QCOMPARE(recorder.Count(), 0);
}

void TestExtText::QueryTimerAsksOnlyWhenAllowed_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("handler");
    QTest::addColumn<bool>("asks");
    QTest::newRow("enabled, shown, assigned") << true << true << true << true;
    QTest::newRow("disabled") << false << true << true << false;
    QTest::newRow("hidden") << true << false << true << false;
    QTest::newRow("no handler") << true << true << false << false;
}

void TestExtText::QueryTimerAsksOnlyWhenAllowed() {
    QFETCH(bool, enabled);
    QFETCH(bool, shown);
    QFETCH(bool, handler);
    QFETCH(bool, asks);
    DisplayWindow w;
    QVERIFY(w.Ready());
    TExtText& display = *w.display;
    display.SetAutoQuery(true);
    display.setEnabled(enabled);
    display.setVisible(shown);
    if (!handler)
        display.onQuery = nullptr;
    w.reading = 4.5L;

    display.QueryTimer();

    QCOMPARE(w.queries, asks ? 1 : 0);
    QCOMPARE(display.Value(), asks ? 4.5L : 0.0L);
    QVERIFY(display.Timer()->isActive());
}

void TestExtText::TimerStoppedDuringQuery() {
    DisplayWindow w;
    QVERIFY(w.Ready());
    TExtText& display = *w.display;
    display.SetQueryInterval(500);
    display.SetAutoQuery(true);
    bool activeDuringQuery = true;
    bool switchOff = false;
    display.onQuery = [&](QObject* sender, int queryCod, int valueAdr, long double& value) {
        QCOMPARE(sender, &display);
        QCOMPARE(queryCod, 7);
        QCOMPARE(valueAdr, 166);
        activeDuringQuery = display.Timer()->isActive();
        if (switchOff)
            display.SetAutoQuery(false);
        value = 1.0L;
    };
    display.SetQueryCod(7);
    display.SetValueAdr(166);

    display.QueryTimer();
    QVERIFY(!activeDuringQuery);
    QVERIFY(display.Timer()->isActive());
    QVERIFY(display.Timer()->remainingTime() > 400);

    switchOff = true;
    display.QueryTimer();
    QVERIFY(!display.Timer()->isActive());
}

void TestExtText::QueryLeavingValueKeepsIt() {
    DisplayWindow w;
    QVERIFY(w.Ready());
    TExtText& display = *w.display;
    display.SetValueFormat(u"#0.0 V"_qs);
    display.SetValue(13.8L);
    ChangeRecorder recorder;
    display.onChangeValue = recorder.Handler();
    display.onQuery = [](QObject*, int, int, long double&) {};
    display.QueryTimer();
    QCOMPARE(display.Value(), 13.8L);
    QCOMPARE(display.text(), u"  13.8 V "_qs);
    QCOMPARE(recorder.Count(), 0);
}

void TestExtText::AutoQueryAndInterval() {
    TExtText display;
    display.SetAutoQuery(true);
    QVERIFY(display.Timer()->isActive());
    QCOMPARE(display.Timer()->interval(), 1000);
    display.SetQueryInterval(500);
    QCOMPARE(display.Timer()->interval(), 500);
    QVERIFY(display.Timer()->isActive());
    display.SetQueryInterval(0);
    QVERIFY(!display.Timer()->isActive());
    display.SetQueryInterval(600);
    QVERIFY(display.Timer()->isActive());
    QCOMPARE(display.Timer()->interval(), 600);
    display.SetAutoQuery(false);
    QVERIFY(!display.Timer()->isActive());
    display.SetQueryInterval(400);
    QVERIFY(!display.Timer()->isActive());
    display.SetAutoQuery(true);
    QVERIFY(display.Timer()->isActive());
    QVERIFY(display.Timer()->remainingTime() > 300);
}

void TestExtText::PollingFollowsTabPage() {
    QTabWidget tabs;
    auto* selected = new QWidget;
    auto* other = new QWidget;
    tabs.addTab(selected, u"Сервис"_qs);
    tabs.addTab(other, u"Двигатель"_qs);
    auto* display = new TExtText(other);
    QList<qint64> queryTimes;
    QElapsedTimer clock;
    display->onQuery = [&](QObject*, int, int, long double& value) {
        queryTimes.append(clock.elapsed());
        value = 2.0L;
    };
    display->SetAutoQuery(true);
    display->SetQueryInterval(500);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    clock.start();
    QTest::qWait(1200); // two ticks pass on the hidden page
    QVERIFY(queryTimes.isEmpty());
    QCOMPARE(display->Value(), 0.0L);

    tabs.setCurrentIndex(1);
    clock.restart();
    QTRY_COMPARE_WITH_TIMEOUT(queryTimes.size(), 3, 3000);
    QVERIFY(queryTimes.at(0) <= 600);
    QVERIFY(queryTimes.at(1) - queryTimes.at(0) >= 450);
    QVERIFY(queryTimes.at(2) - queryTimes.at(1) >= 450);
    QCOMPARE(display->Value(), 2.0L);

    tabs.setCurrentIndex(0);
    const int asked = queryTimes.size();
    display->QueryTimer();
    QCOMPARE(queryTimes.size(), asked);
}

void TestExtText::InitQueriesHiddenDisplayOnce() {
    QTabWidget tabs;
    tabs.addTab(new QWidget, u"Сервис"_qs);
    auto* other = new QWidget;
    tabs.addTab(other, u"Двигатель"_qs);
    auto* display = new TExtText(other);
    display->SetValueFormat(u"#0.0 V"_qs);
    display->setEnabled(false);
    int queries = 0;
    display->onQuery = [&](QObject*, int, int, long double& value) {
        ++queries;
        value = 13.8L;
    };
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    display->Init();

    QVERIFY(display->isEnabled());
    QCOMPARE(queries, 1);
    QCOMPARE(display->text(), u"  13.8 V "_qs);
    QVERIFY(!display->Timer()->isActive());
}

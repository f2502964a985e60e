// Recording and charts as the technician reaches them from "Сервис": the action following the
// connection, the corner text, the rate the line carries, the end of a recording when the
// connection or the program ends or the disk fills, and the chart window live and replaying.

#include "AppFixture.h"
#include "ChartView.h"
#include "ChartWindow.h"
#include "Connection.h"
#include "ControllerSession.h"
#include "DataLogMenu.h"
#include "EmulatedPorts.h"
#include "Form1.h"
#include "IdlingDrive.h"
#include "LiveFeed.h"
#include "LivePoller.h"
#include "LogError.h"
#include "LogFormat.h"
#include "LogReader.h"
#include "RecordingDialog.h"
#include "RecordingIndicator.h"
#include "ToolData.h"
#include "WindowSession.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

QAction* RecordAction(TForm1& form) {
    return form.MainMenu1->findChild<QAction*>(QStringLiteral("RecordAction"));
}

QString Corner(TForm1& form) {
    auto* label =
        form.MainMenu1->findChild<RecordingIndicator*>(QStringLiteral("RecordingIndicator"));
    return label ? label->text() : QStringLiteral("<none>");
}

size_t RowsIn(const QString& path) {
    try {
        return LogReader::Read(path).Rows();
    } catch (const LogError&) {
        return 0;
    }
}

bool EndsWithWholeRow(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().endsWith('\n');
}

} // namespace

class DataLogMenuTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void recordingFollowsTheConnection();
    void rateIsLoweredAndRemembered();
    void defaultFileNamesControllerAndTime();
    void fullDiskStopsTheRecordingOnly();
    void programCloseEndsWithAWholeRow();
    void chartsReplayALog();
    void chartsFollowTheLiveValues();
    void windowReadingsReachRecordingAndCharts_data();
    void windowReadingsReachRecordingAndCharts();
};

void DataLogMenuTest::recordingFollowsTheConnection() {
    EmulatedPorts ports;
    AppFixture app;
    TForm1& form = app.form();
    QVERIFY(!RecordAction(form)->isEnabled());
    form.Connect_to_COM1->click();
    QVERIFY(RecordAction(form)->isEnabled());
    QVERIFY(!RecordAction(form)->isChecked());
    QCOMPARE(Corner(form), QString());

    QTemporaryDir dir;
    const QString path = dir.filePath("drive.csv");
    Recording::Start(form, path, 2);
    QVERIFY(RecordAction(form)->isChecked());
    QCOMPARE(RecordAction(form)->text(), QStringLiteral("Остановить запись"));
    QCOMPARE(Corner(form), QStringLiteral("● Запись 00:00"));
    QTRY_VERIFY_WITH_TIMEOUT(Corner(form) == QStringLiteral("● Запись 00:01"), 3000);
    QTRY_VERIFY(RowsIn(path) >= 2);

    form.Close_COM->click();
    QVERIFY(!Recording::IsRecording(form));
    QVERIFY(!RecordAction(form)->isChecked());
    QVERIFY(!RecordAction(form)->isEnabled());
    QCOMPARE(RecordAction(form)->text(), QStringLiteral("Запись данных…"));
    QCOMPARE(Corner(form), QString());
    QVERIFY(EndsWithWholeRow(path));
    QCOMPARE(Recording::Feed(*Form1).Rate(), 0);
    QVERIFY(app.errors.isEmpty());
}

void DataLogMenuTest::rateIsLoweredAndRemembered() {
    EmulatedPorts ports;
    AppFixture app;
    app.form().Connect_to_COM1->click();
    QTemporaryDir dir;
    Recording::Start(app.form(), dir.filePath("fast.csv"), 10);
    QCOMPARE(Recording::Rate(app.form()), 5);
    QCOMPARE(ToolData::Preferences()->value("datalog/rate").toInt(), 10);
    Recording::Stop(app.form());

    RecordingDialog asked(dir.filePath("x.csv"), RecordingDialog::Choices{10});
    QCOMPARE(asked.Rate(), 5);
    QVERIFY(asked.Note().endsWith(QStringLiteral("запись пойдёт 5 раз в секунду.")));
    asked.SetRequestedRate(2);
    QCOMPARE(asked.Rate(), 2);
    QCOMPARE(asked.Note(), QString());
}

void DataLogMenuTest::defaultFileNamesControllerAndTime() {
    EmulatedPorts ports;
    AppFixture app;
    app.form().Connect_to_COM1->click();
    const QString path = Recording::DefaultPath();
    QVERIFY2(
        QRegularExpression(
            QStringLiteral("/logs/%1 \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d\\.csv$")
                .arg(QRegularExpression::escape(
                    ToolData::ProposedStem(CurrentDevice()).value_or(ToolData::NamelessJournal))))
            .match(path)
            .hasMatch(),
        qPrintable(path));
    QVERIFY(path.startsWith(ToolData::Folder()));
}

void DataLogMenuTest::fullDiskStopsTheRecordingOnly() {
    EmulatedPorts ports;
    AppFixture app;
    TForm1& form = app.form();
    form.Connect_to_COM1->click();
    QTemporaryDir dir;
    const QString path = dir.filePath("full.csv");
    Recording::Start(form, path, 5);
    QTRY_VERIFY(RowsIn(path) >= 1);

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = rlim_t(QFile(path).size() + 300); // about a row and a half more
    setrlimit(RLIMIT_FSIZE, &small);
    QTRY_VERIFY_WITH_TIMEOUT(!app.errors.isEmpty(), 4000);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(app.errors, QStringList{QStringLiteral(
                             "Нет места на диске: запись данных остановлена. Записанное до этого "
                             "сохранено в файле «full.csv».")});
    QVERIFY(!Recording::IsRecording(form));
    QVERIFY(!RecordAction(form)->isChecked());
    QCOMPARE(Corner(form), QString());
    QVERIFY(DeviceConnected());
    QVERIFY(EndsWithWholeRow(path));
    QVERIFY(RowsIn(path) >= 1);
}

void DataLogMenuTest::programCloseEndsWithAWholeRow() {
    EmulatedPorts ports;
    QTemporaryDir dir;
    const QString path = dir.filePath("closed.csv");
    qint64 made = 0;
    {
        AppFixture app;
        app.form().Connect_to_COM1->click();
        Recording::Start(app.form(), path, 5);
        QTRY_VERIFY(RowsIn(path) >= 2);
        QTest::qWait(300);
        made = Recording::Rows(app.form()); // some of them still in memory
    }
    QVERIFY(EndsWithWholeRow(path));
    QCOMPARE(qint64(RowsIn(path)), made);
}

void DataLogMenuTest::chartsReplayALog() {
    AppFixture app;
    QTemporaryDir dir;
    const QString path = dir.filePath("drive.csv");
    IdlingDrive drive;
    drive.lostFrom = 100;
    drive.lostUntil = 130;
    QVERIFY(WriteIdlingDrive(path, drive));
    const QByteArray bytes = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    ChartWindow& charts = Recording::Charts(app.form());
    charts.ShowSeries({QStringLiteral("Обороты коленвала")}); // ticked in the live view
    charts.View().SetCursor(1);
    charts.OpenLog(path);
    QVERIFY(charts.IsReplay());
    QCOMPARE(charts.windowTitle(), QStringLiteral("Графики — drive.csv"));
    QCOMPARE(charts.View().Shown().size(), size_t(1));                       // still ticked
    QCOMPARE(charts.findChild<QLabel*>("CursorReadout")->text(), QString()); // nothing stale
    QStringList all;
    for (const LogSeries& s : charts.Log().series)
        all << s.name;
    charts.ShowSeries(all);
    QCOMPARE(charts.View().Shown().size(), size_t(ChartView::MaxShown));
    charts.resize(900, 600);
    charts.show();

    charts.View().SetTimeRange(10, 20);
    QCOMPARE(charts.View().TimeRange(), std::make_pair(10.0, 20.0));
    charts.View().SetCursor(12.2);
    // The window's decimals: one for the gas pressure.
    QVERIFY(charts.View().CursorText().contains(
        QRegularExpression(QStringLiteral("Давление газа: \\d+\\.\\d кПа"))));
    charts.View().SetCursor(110); // the link was lost: no values
    QVERIFY(charts.View().CursorText().contains(QStringLiteral("Давление газа: —")));
    // The wheel zooms the time axis, a drag pans it, a box zooms to its span.
    QWidget* plot = charts.View().Plot();
    const QPoint middle = plot->rect().center();
    QWheelEvent wheel(middle, plot->mapToGlobal(middle), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &wheel);
    const auto zoomed = charts.View().TimeRange();
    QVERIFY(zoomed.second - zoomed.first < 10.0);
    QTest::mousePress(plot, Qt::LeftButton, {}, middle);
    QTest::mouseMove(plot, middle + QPoint(100, 0));
    QTest::mouseRelease(plot, Qt::LeftButton, {}, middle + QPoint(100, 0));
    QVERIFY(charts.View().TimeRange().first < zoomed.first); // dragged right: earlier times
    charts.View().ShowAll();
    QCOMPARE(charts.View().TimeRange().first, 0.0);
    charts.View().SetBoxZoom(true);
    QTest::mousePress(plot, Qt::LeftButton, {}, middle);
    QTest::mouseMove(plot, middle + QPoint(40, 20));
    QTest::mouseRelease(plot, Qt::LeftButton, {}, middle + QPoint(40, 20));
    const auto boxed = charts.View().TimeRange();
    QVERIFY(boxed.second - boxed.first < charts.Log().seconds.back() / 5);
    charts.View().SetBoxZoom(false);

    const QString png = dir.filePath("view.png");
    QVERIFY(charts.View().SavePng(png));
    QFile picture(png);
    QVERIFY(picture.open(QIODevice::ReadOnly));
    QVERIFY(picture.read(8).startsWith("\x89PNG"));

    const QString foreign = dir.filePath("foreign.csv");
    QFile(foreign).open(QIODevice::WriteOnly);
    QVERIFY_THROWS_EXCEPTION(LogError, charts.OpenLog(foreign));
    QVERIFY(charts.IsReplay()); // the log on show stays

    QFile again(path);
    again.open(QIODevice::ReadOnly);
    QCOMPARE(again.readAll(), bytes);
}

void DataLogMenuTest::chartsFollowTheLiveValues() {
    EmulatedPorts ports;
    AppFixture app;
    app.form().Connect_to_COM1->click();
    ChartWindow& charts = Recording::Charts(app.form());
    charts.show();
    QCOMPARE(Recording::Feed(*Form1).Rate(), ChartWindow::LiveRate);
    QTRY_VERIFY(charts.Log().Rows() >= 2);
    const auto [from, to] = charts.View().TimeRange();
    QCOMPARE(to - from, 60.0);
    // The trim a curve of its own, read with the values; none in setup mode: a gap.
    const LogSeries& trim = charts.Log().series.back();
    QCOMPARE(trim.name + trim.unit, LogFormat::TrimName + LogFormat::TrimUnit);
    QVERIFY(!std::isnan(trim.values.back()));
    LiveSample setup{std::chrono::steady_clock::now(), {}, {}, TrimReading{TrimSource::Setup, {}}};
    charts.AddSample(setup);
    QVERIFY(std::isnan(charts.Log().series.back().values.back()));
    charts.hide();
    QCOMPARE(Recording::Feed(*Form1).Rate(), 0);
}

void DataLogMenuTest::windowReadingsReachRecordingAndCharts_data() {
    QTest::addColumn<bool>("fails");
    QTest::newRow("a reading") << false;
    QTest::newRow("a failed read") << true;
}

// Right after a sample the window reads the engine speed (1111, or nothing), then the engine
// speeds up (2222): the next sample holds the window's reading, once; the ones after read anew.
void DataLogMenuTest::windowReadingsReachRecordingAndCharts() {
    QFETCH(bool, fails);
    constexpr uint8_t Speed = 162;
    EmulatedPorts ports;
    AppFixture app;
    app.form().Connect_to_COM1->click();
    app.form().Timer2->stop(); // the test's reading is the window's only one
    ChartWindow& charts = Recording::Charts(app.form());
    charts.show();
    QTemporaryDir dir;
    const QString path = dir.filePath("shared.csv");
    Recording::Start(app.form(), path, ChartWindow::LiveRate);
    size_t samples = 0;
    std::optional<size_t> readAfter;
    const auto following = connect(&Recording::Feed(*Form1), &LiveFeed::sampled, this, [&] {
        if (++samples < 2 || readAfter)
            return;
        readAfter = samples;
        ports.emulator().setLive(Speed, 1111);
        ports.emulator().setFault(fails ? q5emu::FaultMode::Silence : q5emu::FaultMode::None);
        SessionOf(app.form()).Poller().Read(Speed);
        ports.emulator().setFault(q5emu::FaultMode::None);
        ports.emulator().setLive(Speed, 2222);
    });
    QTRY_VERIFY_WITH_TIMEOUT(readAfter && samples >= *readAfter + 2, 5000);
    disconnect(following);
    Recording::Stop(app.form());

    size_t column = 0;
    while (Catalogue::LiveValues()[column]->address != Speed)
        ++column;
    for (const DataLog& log : {LogReader::Read(path), charts.Log()}) {
        const std::vector<double>& speed = log.series[column].values;
        const auto faster = std::find(speed.begin(), speed.end(), 2222.0);
        QVERIFY(faster - speed.begin() >= 2);
        QVERIFY(std::all_of(faster, speed.end(), [](double v) { return v == 2222.0; }));
        QCOMPARE(std::isnan(*(faster - 1)), fails);
        if (!fails)
            QCOMPARE(*(faster - 1), 1111.0);
        QVERIFY(!std::isnan(*(faster - 2)) && *(faster - 2) != 1111.0);
    }
}

QTEST_MAIN(DataLogMenuTest)
#include "test_datalog_menu.moc"

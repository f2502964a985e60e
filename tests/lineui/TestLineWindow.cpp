// The line's window against an emulated fixture: closing it mid-batch.

#include "ControllerSequence.h"
#include "LineSetup.h"
#include "LineWindow.h"
#include "ProductionLine.h"
#include "ProductionLog.h"
#include "SampleWords.h"
#include "SettingsFile.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

class TestLineWindow : public QObject {
    Q_OBJECT

private slots:
    void closingMidBatchReturnsAtOnce();
};

// The window goes at once while a station waits for the production log its whole bound; the
// unit ends on the station's thread and its row is written.
void TestLineWindow::closingMidBatchReturnsAtOnce() {
    QTemporaryDir dir;
    SettingsRecords::Entries entries{};
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].word = SampleControllerWords()[i];
    entries[47 - SettingsRecords::FirstAddress].word = 503;
    LineSetup setup{dir.filePath("reference.q5t"), {dir.filePath("station1")}, {}, true, {}};
    QVERIFY(SettingsFile::Write(setup.referencePath, entries));
    q5emu::ControllerSequence fixture(q5emu::EmulatorOptions{}, *q5emu::ParseSequence("new"));
    fixture.setZeroHead(true);
    fixture.linkAt(setup.devices[0].toStdString());
    fixture.start();
    const QString log = dir.filePath("Protocol.lst");
    ProductionLog::CreateIfMissing(log, "01.01.01");
    QLockFile otherStation(log + ".lock");
    QVERIFY(otherStation.tryLock(0));
    auto settings = [&dir] {
        return std::make_unique<QSettings>(dir.filePath("preferences.ini"), QSettings::IniFormat);
    };
    setup.Save(*settings());
    QPointer<LineWindow> window =
        new LineWindow({dir.path(),
                        log,
                        settings,
                        [] { return std::vector<PortFacts>{}; },
                        {},
                        [](const std::function<void()>& work) { work(); }});
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    QSignalSpy changed(&window->Line(), &ProductionLine::stationChanged);
    QVERIFY(window->StartLine());
    QTRY_VERIFY(!changed.isEmpty() &&
                changed.last()[0].value<StationView>().step == QStringLiteral("Нумерация"));
    QPointer<ProductionLine> line = &window->Line();
    const QString report = line->Report().PathFor(QDate::currentDate());

    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, this,
            [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
    ticks.start(10);
    sinceTick.start();
    window->close();
    QVERIFY(window.isNull() || !window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(line.isNull(), 30'000);
    QCOMPARE(LineReport::Read(report).size(), 1);
    QVERIFY2(longestStall < 200, qPrintable(QString::number(longestStall)));
}

QTEST_MAIN(TestLineWindow)
#include "TestLineWindow.moc"

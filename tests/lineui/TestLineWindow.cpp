// The line's window against an emulated fixture: closing it mid-batch.

#include "ControllerSequence.h"
#include "LineSetup.h"
#include "LineWindow.h"
#include "ProductionLine.h"
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
    const SettingsRecords::Words sample = SampleControllerWords();
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].word = sample[i];
    entries[47 - SettingsRecords::FirstAddress].word = 503;
    const QString reference = dir.filePath(QStringLiteral("reference.q5t"));
    QVERIFY(SettingsFile::Write(reference, entries));
    q5emu::ControllerSequence fixture(q5emu::EmulatorOptions{}, *q5emu::ParseSequence("new"));
    fixture.setZeroHead(true);
    const QString device = dir.filePath(QStringLiteral("station1"));
    fixture.linkAt(device.toStdString());
    fixture.start();
    const QString log = dir.filePath(QStringLiteral("Protocol.lst"));
    QLockFile otherStation(log + QStringLiteral(".lock"));
    QVERIFY(otherStation.tryLock(0));

    const QString preferences = dir.filePath(QStringLiteral("preferences.ini"));
    auto settings = [preferences] {
        return std::make_unique<QSettings>(preferences, QSettings::IniFormat);
    };
    LineSetup setup;
    setup.referencePath = reference;
    setup.devices = {device};
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
    QTRY_VERIFY_WITH_TIMEOUT(std::any_of(changed.begin(), changed.end(),
                                         [](const QList<QVariant>& signal) {
                                             return signal[0].value<StationView>().step ==
                                                    QStringLiteral("Нумерация");
                                         }),
                             10'000);
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
    ticks.stop();
    QCOMPARE(LineReport::Read(report).size(), 1);
    QVERIFY2(longestStall < 200, qPrintable(QString::number(longestStall)));
}

QTEST_MAIN(TestLineWindow)
#include "TestLineWindow.moc"

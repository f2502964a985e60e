// The line's window against emulated fixtures: closing it mid-batch; labels printed, scanned
// back at the tiles and printed again from the day's labels.

#include "ControllerSequence.h"
#include "Cp1251.h"
#include "DayLabels.h"
#include "LabelPrint.h"
#include "LineSetup.h"
#include "LineWindow.h"
#include "ProductionLine.h"
#include "ProductionLog.h"
#include "SampleWords.h"
#include "SettingsFile.h"
#include "StationTile.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

class TestLineWindow : public QObject {
    Q_OBJECT

private slots:
    void closingMidBatchReturnsAtOnce();
    void labelsAreScannedBackAndPrintedAgain();
};

namespace {

// A reference file for the fixtures' controllers.
QString WriteReference(const QTemporaryDir& dir) {
    SettingsRecords::Entries entries{};
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].word = SampleControllerWords()[i];
    entries[47 - SettingsRecords::FirstAddress].word = 503;
    const QString path = dir.filePath("reference.q5t");
    return SettingsFile::Write(path, entries) ? path : QString();
}

std::unique_ptr<q5emu::ControllerSequence> Fixture(const char* script, const QString& device) {
    // A unit stays while a crowded machine keeps the station from it a while.
    const q5emu::SequenceTiming timing{std::chrono::seconds(10), std::chrono::milliseconds(1500)};
    auto fixture = std::make_unique<q5emu::ControllerSequence>(
        q5emu::EmulatorOptions{}, *q5emu::ParseSequence(script), timing);
    fixture->setZeroHead(true);
    fixture->linkAt(device.toStdString());
    fixture->start();
    return fixture;
}

// The text of the code on the PDF's page, as a scanner reads it.
QByteArray DecodedCode(const QString& pdf, const QString& png) {
    QProcess render;
    render.start("pdftoppm", {"-r", "600", "-png", "-singlefile", pdf, png});
    render.waitForFinished(60000);
    QProcess read;
    read.start("dmtxread", {"-N1", png + ".png"});
    read.waitForFinished(60000);
    return read.readAllStandardOutput();
}

void Scan(StationTile* tile, const QString& text) {
    auto* field = tile->findChild<QLineEdit*>("Scan");
    field->setText(text);
    QTest::keyClick(field, Qt::Key_Return);
}

QString Shown(StationTile* tile, const char* name) {
    return tile->findChild<QLabel*>(name)->text();
}

} // namespace

// The window goes at once while a station waits for the production log its whole bound; the
// unit ends on the station's thread and its row is written.
void TestLineWindow::closingMidBatchReturnsAtOnce() {
    QTemporaryDir dir;
    SettingsRecords::Entries entries{};
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].word = SampleControllerWords()[i];
    entries[47 - SettingsRecords::FirstAddress].word = 503;
    LineSetup setup;
    setup.referencePath = dir.filePath("reference.q5t");
    setup.devices = QStringList{dir.filePath("station1")};
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

// Two stations print each good unit's label to PDF and wait for its scan, the next unit too;
// a refused scan leaves the station waiting, a wrong label is voided, and the day's labels
// print one again.
void TestLineWindow::labelsAreScannedBackAndPrintedAgain() {
    QTemporaryDir dir;
    LineSetup setup;
    setup.referencePath = WriteReference(dir);
    setup.devices = QStringList{dir.filePath("station1"), dir.filePath("station2")};
    setup.labels.print = true;
    setup.labels.scanBack = true;
    setup.labels.target.folder = dir.filePath("labels");
    const QString log = dir.filePath("Protocol.lst");
    ProductionLog::CreateIfMissing(log, "01.01.01");
    auto settings = [&dir] {
        return std::make_unique<QSettings>(dir.filePath("preferences.ini"), QSettings::IniFormat);
    };
    setup.Save(*settings());
    // The fixtures outlive the window, whose line they serve until it has ended.
    std::unique_ptr<q5emu::ControllerSequence> first;
    std::unique_ptr<q5emu::ControllerSequence> second;
    LineWindow window({dir.path(),
                       log,
                       settings,
                       [] { return std::vector<PortFacts>{}; },
                       {},
                       [](const std::function<void()>& work) { work(); }});
    window.show();
    // Plugged in as the line starts: a unit not worked on soon leaves its fixture. One unit
    // more each, for a unit a crowded machine lets fall silent.
    first = Fixture("new,new,new", setup.devices[0]);
    second = Fixture("new,new", setup.devices[1]);
    QVERIFY(window.StartLine());
    const QString report = window.Line().Report().PathFor(QDate::currentDate());
    const auto rowsOf = [&report](int station) {
        QList<UnitRecord> units;
        for (const QStringList& row : LineReport::Read(report))
            if (row[LineReport::Station] == QString::number(station))
                units.append(LineReport::RecordOf(row));
        return units;
    };
    for (int station : {1, 2})
        QTRY_VERIFY_WITH_TIMEOUT(window.Tile(station)->View().awaitingScan, 120'000);
    const size_t framesWhileWaiting = first->frameLog().size();
    const QString serial1 = LabelContentOf(rowsOf(1).last()).serial;
    const QString serial2 = LabelContentOf(rowsOf(2).last()).serial;
    const auto unitOf = [&report](const QString& serial) {
        for (const QStringList& row : LineReport::Read(report))
            if (LabelContentOf(LineReport::RecordOf(row)).serial == serial)
                return LineReport::RecordOf(row);
        return UnitRecord{};
    };
    for (const QString& serial : {serial1, serial2}) {
        const QString pdf = QDir(setup.labels.target.folder).filePath(LabelPrint::PdfName(serial));
        QCOMPARE(DecodedCode(pdf, dir.filePath("page")), Cp1251::Encode(serial));
    }
    // While the labels were read, a second and more, the station looked for no next unit.
    QCOMPARE(first->frameLog().size(), framesWhileWaiting);
    QCOMPARE(Shown(window.Tile(1), "Label"), "ждёт скан этикетки");

    Scan(window.Tile(1), "hello");
    QCOMPARE(Shown(window.Tile(1), "Refusal"), "Не принято: «hello» — не серийный номер");
    Scan(window.Tile(1), serial2);
    QCOMPARE(Shown(window.Tile(1), "Refusal"), "Не принято: это этикетка места 2");
    QVERIFY(window.Tile(1)->View().awaitingScan);

    Scan(window.Tile(2), QString(19, u'X') + "99999");
    QTRY_COMPARE(Shown(window.Tile(2), "Label"), "БРАК: этикетка не совпала");
    QCOMPARE(unitOf(serial2).label.check, LabelCheck::Voided);
    QVERIFY(!window.Tile(2)->findChild<QLineEdit*>("Scan")->isVisible());
    QCOMPARE(window.Line().Scan(2, serial2).text, "Не принято: место 2 не ждёт этикетку");

    const size_t framesBeforeScan = first->frameLog().size();
    Scan(window.Tile(1), serial1 + "\r");
    QTRY_COMPARE(unitOf(serial1).label.check, LabelCheck::Verified);
    QTRY_COMPARE(Shown(window.Tile(1), "Label"), "этикетка проверена");
    // The station goes on: it looks for its next unit again.
    QTRY_VERIFY_WITH_TIMEOUT(first->frameLog().size() > framesBeforeScan, 30'000);

    DayLabels* labels = window.ShowDayLabels();
    QTableWidget* table = labels->Table();
    const auto found = table->findItems(serial2, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    table->selectRow(found[0]->row());
    QTest::mouseClick(labels->findChild<QPushButton*>(), Qt::LeftButton);
    QTRY_COMPARE(unitOf(serial2).label.reprints, 1);
    QCOMPARE(unitOf(serial2).label.check, LabelCheck::Voided);
    QTRY_COMPARE(labels->findChild<QLabel*>("Status")->text(),
                 "Этикетка " + serial2 + " перепечатана.");
    window.Line().Abort();
    QTRY_VERIFY_WITH_TIMEOUT(!window.Line().Running(), 30'000);
}

QTEST_MAIN(TestLineWindow)
#include "TestLineWindow.moc"

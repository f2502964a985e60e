#include "ChangeJournal.h"
#include "ControllerHistory.h"
#include "IndexRebuild.h"
#include "OpenHistory.h"
#include "RestorePoints.h"
#include "ToolData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A serial number whose folder name is escaped and whose proposed file names are not.
const QString Serial = QStringLiteral("Q5 0042/7");
const QDateTime First(QDate(2026, 10, 1), QTime(9, 0));
const QDateTime Second(QDate(2026, 12, 1), QTime(9, 0));

SettingsRecords::Entries Block(int seed) {
    SettingsRecords::Entries entries{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = {static_cast<uint16_t>(seed + i), 0};
    entries[47 - 33].word = 503;
    return entries;
}

void Touch(const QString& path, const QDateTime& time = First) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

// Two visits with their restore points, a change between them, a log and a sheet.
struct KeptFiles {
    KeptFiles() {
        const QString name = ToolData::SerialFileName(Serial).value();
        RestorePoints::Keep(data.path(), name, Block(1), First);
        RestorePoints::Keep(data.path(), name, Block(2), Second);
        JournalRecord change{First.addSecs(600),   Serial, 40, "Порог", 10, 12,
                             "Изменение значения", true};
        ChangeJournal::Append(data.path(), change);
        log = data.filePath("logs/Q5 0042_7 2026-10-01 09-05-00.csv");
        sheet = elsewhere.filePath("Q5 0042_7 2026-12-01.pdf");
        Touch(log, First.addSecs(300));
        Touch(sheet, Second.addSecs(300));
        Touch(elsewhere.filePath("Q5 0043 2026-12-01.pdf")); // no known controller's
    }
    HistoryPlace Place() const { return {data.path(), {elsewhere.path()}}; }
    QTemporaryDir data, elsewhere;
    QString log, sheet;
};

QStringList Texts(const VisitEntry& entry) {
    QStringList texts;
    for (const VisitItem& item : entry.items)
        texts << item.text;
    return texts;
}

} // namespace

class TestIndexRebuild : public QObject {
    Q_OBJECT
private slots:
    void fileNamesGiveTheirSerial_data();
    void fileNamesGiveTheirSerial();
    void lostStoreIsFoundAgainFromTheFiles();
    void damagedStoreIsSetAsideAndRebuilt();
};

void TestIndexRebuild::fileNamesGiveTheirSerial_data() {
    QTest::addColumn<QString>("serial");
    QTest::newRow("plain") << "Q5-0042";
    QTest::newRow("blank and slash") << "Q5 0042/7";
    QTest::newRow("Cyrillic and an edge dot") << "Щ-1.";
}

void TestIndexRebuild::fileNamesGiveTheirSerial() {
    QFETCH(QString, serial);
    QCOMPARE(IndexRebuild::SerialOfFileName(ToolData::SerialFileName(serial).value()), serial);
    QCOMPARE(IndexRebuild::SerialOfFileName(RestorePoints::NamelessName(Block(1))), QString());
}

void TestIndexRebuild::lostStoreIsFoundAgainFromTheFiles() {
    KeptFiles kept;
    {
        const OpenedHistory opened = OpenHistory(kept.Place());
        HistoryStore(*opened.store)
            .SaveCard(Serial, {"Lada", {}, {}, {}, "А123ВС77", {}, {}, {}, {}});
    }
    for (const char* tail : {"", "-wal", "-shm"})
        QFile::remove(kept.Place().StorePath() + QLatin1String(tail));
    const OpenedHistory opened = OpenHistory(kept.Place());
    QFile::remove(kept.log); // moved away
    QVERIFY(opened.message.isEmpty());
    HistoryStore store(*opened.store);
    const std::vector<VisitEntry> visits = ControllerHistory::Of(store, Serial, kept.data.path());
    QCOMPARE(visits.size(), std::size_t{2});
    QCOMPARE(visits[0].visit.time, Second);
    QCOMPARE(Texts(visits[0]), (QStringList{"Прочитано при подключении: 2026-12-01 09-00-00.q5t",
                                            "Лист в PDF: Q5 0042_7 2026-12-01.pdf"}));
    QCOMPARE(Texts(visits[1]),
             (QStringList{"Прочитано при подключении: 2026-10-01 09-00-00.q5t",
                          "Порог: 10 → 12 (Изменение значения)",
                          "Запись данных: Q5 0042_7 2026-10-01 09-05-00.csv — файл не найден"}));
    QVERIFY(visits[1].items[2].missing);
    QVERIFY(!visits[1].items[0].missing);
    QCOMPARE(store.Search("Q5 0043").size(), std::size_t{0});
}

void TestIndexRebuild::damagedStoreIsSetAsideAndRebuilt() {
    KeptFiles kept;
    {
        QFile file(kept.Place().StorePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'z'));
    }
    const OpenedHistory opened = OpenHistory(kept.Place());
    QVERIFY2(opened.message.contains("повреждено"), qPrintable(opened.message));
    QCOMPARE(QDir(kept.data.path()).entryList({"history (повреждено *).sqlite"}).size(), 1);
    QCOMPARE(HistoryStore(*opened.store).Visits(Serial).size(), std::size_t{2});
}

int RunIndexRebuildTests(int argc, char** argv) {
    TestIndexRebuild test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestIndexRebuild.moc"

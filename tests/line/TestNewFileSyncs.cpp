// Each new file and folder of the tool's data is synced with the directory that holds it, so
// that a power cut after it is written leaves it there. The syncs are recorded as the disk
// sees them.

#include "ChangeJournal.h"
#include "LineReport.h"
#include "LogWriter.h"
#include "RestorePoints.h"
#include "TestDiskSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

namespace {

const QString Serial = QStringLiteral("Q5 0042");
const QString FileName = QStringLiteral("Q5_0042");

enum class Made { Journal, RestorePoint, ReportRow, DataLog };

JournalRecord Record() {
    JournalRecord record;
    record.time = QDateTime::currentDateTime();
    record.serial = Serial;
    record.address = 98;
    record.name = QStringLiteral("Слово 98");
    record.newWord = 7;
    return record;
}

bool MakeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestNewFileSyncs : public QObject {
    Q_OBJECT
private slots:
    void newFileIsSyncedWithItsFolders_data() {
        QTest::addColumn<Made>("made");
        // Null: no journal folder yet; empty: the folder without the journal.
        QTest::addColumn<QByteArray>("journalBefore");
        QTest::addColumn<QStringList>("synced"); // relative to the temporary folder
        const QString journal = QStringLiteral("data/journal/") + FileName + ".csv";
        const QString day = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        QTest::newRow("journal in new folders")
            << Made::Journal << QByteArray() << QStringList{journal, "data/journal", "data", ""};
        QTest::newRow("journal in its folder")
            << Made::Journal << QByteArray("") << QStringList{journal, "data/journal"};
        QTest::newRow("old journal put aside")
            << Made::Journal << QByteArray("Время,Серийный номер\n")
            << QStringList{journal, "data/journal"};
        QTest::newRow("restore point in new folders")
            << Made::RestorePoint << QByteArray()
            << QStringList{"data/backups/" + FileName, "data/backups", "data", ""};
        QTest::newRow("first row of a day's report")
            << Made::ReportRow << QByteArray()
            << QStringList{"data/line/" + day + ".csv", "data/line", "data", ""};
        QTest::newRow("data log in new folders")
            << Made::DataLog << QByteArray()
            << QStringList{"data/logs/a.csv", "data/logs", "data", ""};
    }

    void newFileIsSyncedWithItsFolders() {
        QFETCH(Made, made);
        QFETCH(QByteArray, journalBefore);
        QFETCH(QStringList, synced);
        const QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("data"));
        const QString journal = ChangeJournal::PathOf(root, Serial);
        if (!journalBefore.isNull())
            QVERIFY(QDir().mkpath(QFileInfo(journal).path()));
        if (!journalBefore.isEmpty())
            QVERIFY(MakeFile(journal, journalBefore));
        const TestDiskSync disk;
        switch (made) {
        case Made::Journal: {
            ChangeJournal::Writer writer;
            QVERIFY(writer.Append(root, Record()));
            writer.SyncInBackground();
            QVERIFY(writer.AwaitSync(std::chrono::seconds(10)));
            break;
        }
        case Made::RestorePoint:
            QVERIFY(RestorePoints::Keep(root, FileName, {}, QDateTime::currentDateTime()));
            break;
        case Made::ReportRow: {
            UnitRecord row;
            row.time = QDateTime::currentDateTime();
            QVERIFY(LineReport(root).Append(row));
            break;
        }
        case Made::DataLog:
            LogWriter(root + QStringLiteral("/logs/a.csv"), {});
            break;
        }
        const QStringList seen = disk.Synced();
        for (const QString& path : synced) {
            const QString absolute = QFileInfo(dir.filePath(path)).canonicalFilePath();
            QVERIFY2(seen.contains(absolute), qPrintable(path + " in " + seen.join(" | ")));
        }
    }
};

QTEST_GUILESS_MAIN(TestNewFileSyncs)
#include "TestNewFileSyncs.moc"

#include "InOutError.h"
#include "RestorePoints.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Serial = QStringLiteral("Q5-0042");
const QDateTime Start(QDate(2026, 12, 8), QTime(10, 30, 0));

// A plausible block: identity 503 at address 47, the other words varied by `seed`.
SettingsRecords::Entries Block(int seed) {
    SettingsRecords::Entries entries{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = {static_cast<uint16_t>(seed * 131 + i * 7), static_cast<uint8_t>(i + seed)};
    entries[47 - 33].word = 503;
    return entries;
}

SettingsRecords::Words WordsOf(const SettingsRecords::Entries& entries) {
    return SettingsRecords::Parse(SettingsRecords::Build(entries));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestRestorePoints : public QObject {
    Q_OBJECT
private slots:
    void pointBytesAreTheSettingsFile();
    void unchangedBlockKeepsNoDuplicate();
    void sameSecondGetsDistinctNames();
    void keepsTheNewestHundred();
    void foreignFilesAreUnreadable_data();
    void foreignFilesAreUnreadable();
    void differencesCountAddresses();
    void unwritableRootThrows();
};

void TestRestorePoints::pointBytesAreTheSettingsFile() {
    QTemporaryDir root;
    const SettingsRecords::Entries block = Block(1);
    const std::optional<QString> path = RestorePoints::Keep(root.path(), Serial, block, Start);
    QVERIFY(path);
    QCOMPARE(*path, root.filePath("backups/Q5-0042/2026-12-08 10-30-00.q5t"));
    QCOMPARE(ReadAll(*path), SettingsRecords::Build(block));
    const std::vector<RestorePoint> points = RestorePoints::List(root.path(), Serial);
    QCOMPARE(points.size(), 1u);
    QVERIFY(points[0].readable);
    QCOMPARE(points[0].time, Start);
    QVERIFY(points[0].words == WordsOf(block));
}

void TestRestorePoints::unchangedBlockKeepsNoDuplicate() {
    QTemporaryDir root;
    QVERIFY(RestorePoints::Keep(root.path(), Serial, Block(1), Start));
    // Only the words count: another reply checksum is the same block.
    SettingsRecords::Entries same = Block(1);
    same[0].replyChecksum ^= 0xFF;
    QVERIFY(!RestorePoints::Keep(root.path(), Serial, same, Start.addSecs(60)));
    QVERIFY(RestorePoints::Keep(root.path(), Serial, Block(2), Start.addSecs(120)));
    // Compared with the newest point only: going back to the first block keeps it again.
    QVERIFY(RestorePoints::Keep(root.path(), Serial, Block(1), Start.addSecs(180)));
    QCOMPARE(RestorePoints::List(root.path(), Serial).size(), 3u);
    // Another controller's points are its own.
    QVERIFY(RestorePoints::Keep(root.path(), QStringLiteral("unknown"), Block(1), Start));
}

void TestRestorePoints::sameSecondGetsDistinctNames() {
    QTemporaryDir root;
    for (int seed = 1; seed <= 3; ++seed)
        QVERIFY(RestorePoints::Keep(root.path(), Serial, Block(seed), Start.addMSecs(seed * 100)));
    const std::vector<RestorePoint> points = RestorePoints::List(root.path(), Serial);
    QCOMPARE(points.size(), 3u);
    QCOMPARE(QFileInfo(points[0].path).fileName(), QStringLiteral("2026-12-08 10-30-00 (3).q5t"));
    QCOMPARE(QFileInfo(points[1].path).fileName(), QStringLiteral("2026-12-08 10-30-00 (2).q5t"));
    QCOMPARE(QFileInfo(points[2].path).fileName(), QStringLiteral("2026-12-08 10-30-00.q5t"));
    QVERIFY(points[0].words == WordsOf(Block(3)));
}

void TestRestorePoints::keepsTheNewestHundred() {
    QTemporaryDir root;
    for (int seed = 1; seed <= 102; ++seed)
        QVERIFY(RestorePoints::Keep(root.path(), Serial, Block(seed), Start.addSecs(seed)));
    const std::vector<RestorePoint> points = RestorePoints::List(root.path(), Serial);
    QCOMPARE(points.size(), 100u);
    QCOMPARE(points.front().time, Start.addSecs(102));
    QCOMPARE(points.back().time, Start.addSecs(3));
    QVERIFY(points.back().words == WordsOf(Block(3)));
    QCOMPARE(QDir(RestorePoints::DirectoryOf(root.path(), Serial)).entryList(QDir::Files).size(),
             100);
}

void TestRestorePoints::foreignFilesAreUnreadable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("listed"); // -1: not listed; else 0/1 readable
    const QByteArray good = SettingsRecords::Build(Block(5));
    QByteArray foreign = good;
    foreign[(47 - 33) * 4] = 0x01; // identity 0x01F7 becomes 0x0101
    QTest::newRow("whole") << "2026-12-08 09-00-00.q5t" << good << 1;
    QTest::newRow("short") << "2026-12-08 09-00-00.q5t" << good.left(267) << 0;
    QTest::newRow("empty") << "2026-12-08 09-00-00.q5t" << QByteArray() << 0;
    QTest::newRow("long") << "2026-12-08 09-00-00.q5t" << good + '\0' << 0;
    QTest::newRow("identity not 503") << "2026-12-08 09-00-00.q5t" << foreign << 0;
    QTest::newRow("numbered") << "2026-12-08 09-00-00 (7).q5t" << good << 1;
    QTest::newRow("other name") << "backup.q5t" << good << -1;
    QTest::newRow("other extension") << "2026-12-08 09-00-00.bak" << good << -1;
    QTest::newRow("impossible date") << "2026-02-30 09-00-00.q5t" << good << -1;
    QTest::newRow("zero ordinal") << "2026-12-08 09-00-00 (0).q5t" << good << -1;
}

void TestRestorePoints::foreignFilesAreUnreadable() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, listed);
    QTemporaryDir root;
    const QString directory = RestorePoints::DirectoryOf(root.path(), Serial);
    QVERIFY(QDir().mkpath(directory));
    WriteBytes(QDir(directory).filePath(name), bytes);
    const std::vector<RestorePoint> points = RestorePoints::List(root.path(), Serial);
    QCOMPARE(static_cast<int>(points.size()), listed < 0 ? 0 : 1);
    if (listed >= 0)
        QCOMPARE(points[0].readable, listed == 1);
    // An unreadable newest point never stands for the block: the same block is kept anew.
    const std::optional<QString> kept =
        RestorePoints::Keep(root.path(), Serial, Block(5), QDateTime(QDate(2026, 12, 8), {}));
    QCOMPARE(kept.has_value(), listed != 1);
}

void TestRestorePoints::differencesCountAddresses() {
    SettingsRecords::Words a = WordsOf(Block(1));
    SettingsRecords::Words b = a;
    QCOMPARE(RestorePoints::Differences(a, b), 0);
    b.front() ^= 1;
    b.back() ^= 0x8000;
    QCOMPARE(RestorePoints::Differences(a, b), 2);
}

void TestRestorePoints::unwritableRootThrows() {
    QTemporaryDir root;
    WriteBytes(root.filePath("file"), "x");
    QVERIFY_THROWS_EXCEPTION(EInOutError,
                             RestorePoints::Keep(root.filePath("file"), Serial, Block(1), Start));
}

int RunRestorePointTests(int argc, char** argv) {
    TestRestorePoints test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestRestorePoints.moc"

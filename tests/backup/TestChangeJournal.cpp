#include "ChangeJournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime When(QDate(2026, 12, 8), QTime(10, 30, 15));

JournalRecord Record(int address, const QString& name, const QString& operation, bool confirmed) {
    JournalRecord record;
    record.time = When.addSecs(address);
    record.serial = QStringLiteral("Q5 0042");
    record.address = address;
    record.name = name;
    record.oldWord = static_cast<uint16_t>(address * 3);
    record.newWord = 65535;
    record.operation = operation;
    record.confirmed = confirmed;
    return record;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestChangeJournal : public QObject {
    Q_OBJECT
private slots:
    void recordBytes_data();
    void recordBytes();
    void headerOnceAndRoundTrip();
    void lineBreaksInTextsBecomeBlanks();
    void truncatedLastLineIsDropped();
    void unwritableRootReturnsFalse();
};

void TestChangeJournal::recordBytes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("plain") << "Порог"
                           << "Запись" << true
                           << QByteArray("2026-12-08T10:31:05,Q5 0042,50,Порог,150,65535,"
                                         "Запись,да\n");
    QTest::newRow("comma and quote")
        << "Время, \"мс\""
        << "Загрузка" << false
        << QByteArray("2026-12-08T10:31:05,Q5 0042,50,\"Время, \"\"мс\"\"\",150,65535,"
                      "Загрузка,нет\n");
}

void TestChangeJournal::recordBytes() {
    QFETCH(QString, name);
    QFETCH(QString, operation);
    QFETCH(bool, confirmed);
    QFETCH(QByteArray, line);
    QTemporaryDir root;
    QVERIFY(ChangeJournal::Append(root.path(), Record(50, name, operation, confirmed)));
    const QString path = root.filePath("journal/Q5_0042.csv");
    QCOMPARE(path, ChangeJournal::PathOf(root.path(), QStringLiteral("Q5 0042")));
    QCOMPARE(ReadAll(path), (ChangeJournal::Header() + u'\n').toUtf8() + line);
}

void TestChangeJournal::headerOnceAndRoundTrip() {
    QTemporaryDir root;
    const std::vector<JournalRecord> written = {
        Record(33, QStringLiteral("a,b"), QStringLiteral("x\"y"), true),
        Record(47, QStringLiteral(""), QStringLiteral("Загрузка"), false),
        Record(99, QStringLiteral("Порог"), QStringLiteral("Запись"), true)};
    for (const JournalRecord& record : written)
        QVERIFY(ChangeJournal::Append(root.path(), record));
    const QString path = ChangeJournal::PathOf(root.path(), written[0].serial);
    QCOMPARE(ReadAll(path).count(ChangeJournal::Header().toUtf8()), 1);
    QVERIFY(ChangeJournal::Read(path) == written);
    // An unread serial number files its records under "unknown".
    JournalRecord unread = written[0];
    unread.serial.clear();
    QVERIFY(ChangeJournal::Append(root.path(), unread));
    QVERIFY(QFile::exists(root.filePath("journal/unknown.csv")));
}

void TestChangeJournal::lineBreaksInTextsBecomeBlanks() {
    QTemporaryDir root;
    JournalRecord record = Record(33, QStringLiteral("a\nb"), QStringLiteral("c\r\nd\r"), true);
    record.serial = QStringLiteral("Q5\n0042"); // a controller's serial may hold any byte
    QVERIFY(ChangeJournal::Append(root.path(), record));
    QVERIFY(ChangeJournal::Append(root.path(), record));
    record.serial = QStringLiteral("Q5 0042");
    record.name = QStringLiteral("a b");
    record.operation = QStringLiteral("c  d ");
    QVERIFY(ChangeJournal::Read(ChangeJournal::PathOf(root.path(), record.serial)) ==
            std::vector<JournalRecord>(2, record));
}

void TestChangeJournal::truncatedLastLineIsDropped() {
    QTemporaryDir root;
    const JournalRecord first = Record(40, QStringLiteral("Порог"), QStringLiteral("Запись"), true);
    QVERIFY(ChangeJournal::Append(root.path(), first));
    QVERIFY(ChangeJournal::Append(root.path(), Record(41, "b", "c", false)));
    const QString path = ChangeJournal::PathOf(root.path(), first.serial);
    const QByteArray whole = ReadAll(path);
    // Cut inside the last record, the last line break included.
    for (const int cut : {1, 5, 20}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(whole.left(whole.size() - cut));
        file.close();
        const std::vector<JournalRecord> read = ChangeJournal::Read(path);
        QCOMPARE(read.size(), 1u);
        QVERIFY(read[0] == first);
    }
    // A record appended after the cut stays whole.
    const JournalRecord next = Record(42, QStringLiteral("d"), QStringLiteral("e"), true);
    QVERIFY(ChangeJournal::Append(root.path(), next));
    QVERIFY(ChangeJournal::Read(path) == (std::vector<JournalRecord>{first, next}));
    QVERIFY(ChangeJournal::Read(root.filePath("missing.csv")).empty());
}

void TestChangeJournal::unwritableRootReturnsFalse() {
    QTemporaryDir root;
    QFile file(root.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(!ChangeJournal::Append(root.filePath("file"), Record(33, "a", "b", true)));
    QVERIFY(!ChangeJournal::Append(root.filePath("file/below"), Record(33, "a", "b", true)));
}

int RunChangeJournalTests(int argc, char** argv) {
    TestChangeJournal test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestChangeJournal.moc"

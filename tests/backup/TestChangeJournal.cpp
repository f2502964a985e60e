#include "ChangeJournal.h"
#include "CsvLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    void cellsASpreadsheetWouldRun();
    void readsOlderJournals();
    void headerOnceAndRoundTrip();
    void lineBreaksInTextsBecomeBlanks();
    void truncatedLastLineIsDropped();
    void unwritableRootReturnsFalse();
};

void TestChangeJournal::recordBytes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("oldWord"); // -1: not known
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QByteArray>("line");
    const QByteArray time = "2026-12-08T10:31:05,Q5 0042,50,";
    QTest::newRow("no control of that name")
        << "Порог" << 150 << "Запись" << time + "Порог,150,65535,150,65535,да,Запись,да\n";
    QTest::newRow("comma and quote") << "Время, \"мс\"" << -1 << "Загрузка"
                                     << time + "\"Время, \"\"мс\"\"\",,65535,,65535,,Загрузка,да\n";
    // Word 50 as the window shows it, with the unit its mask carries.
    QTest::newRow("shown values, unchanged")
        << "Max рег. +/-" << 65535 << "=cmd|' /C calc'!A0"
        << time + "Max рег. +/-,65535,65535,6554 %,6554 %,нет,'=cmd|' /C calc'!A0,да\n";
}

void TestChangeJournal::recordBytes() {
    QFETCH(QString, name);
    QFETCH(int, oldWord);
    QFETCH(QString, operation);
    QFETCH(QByteArray, line);
    QTemporaryDir root;
    JournalRecord record = Record(50, name, operation, true);
    record.oldWord = oldWord < 0 ? std::nullopt : std::optional<uint16_t>(uint16_t(oldWord));
    QVERIFY(ChangeJournal::Append(root.path(), record));
    const QString path = root.filePath("journal/Q5_0042.csv");
    QCOMPARE(path, ChangeJournal::PathOf(root.path(), QStringLiteral("Q5 0042")));
    const QByteArray bytes = ReadAll(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"
                             "Время,"));
    QCOMPARE(bytes.mid(bytes.indexOf('\n') + 1), line);
    QVERIFY(ChangeJournal::Read(path) == std::vector<JournalRecord>{record});
}

void TestChangeJournal::cellsASpreadsheetWouldRun() {
    const struct {
        const char *field, *written, *readBack;
    } cells[] = {{"=1+1", "'=1+1", "=1+1"}, {"-1.5", "-1.5", "-1.5"}, {"@x", "'@x", "@x"},
                 {"\t1", "' 1", " 1"},      {"'q", "''q", "'q"},      {"a\x01z", "a z", "a z"}};
    for (const auto& cell : cells) {
        QCOMPARE(CsvLine::Join({cell.field, "1"}), QString(cell.written) + ",1");
        QCOMPARE(CsvLine::Split(QString(cell.written) + ",1"), QStringList({cell.readBack, "1"}));
    }
}

void TestChangeJournal::readsOlderJournals() {
    QTemporaryDir root;
    const JournalRecord older = Record(50, "Порог", "Запись", true);
    const QString path = ChangeJournal::PathOf(root.path(), older.serial);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QByteArray oldBytes =
        "Время,Серийный номер,Адрес,Параметр,Было,Стало,Операция,Подтверждено\n"
        "2026-12-08T10:31:05,Q5 0042,50,Порог,150,65535,Запись,да\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(oldBytes);
    file.close();
    QVERIFY(ChangeJournal::Read(path) == std::vector<JournalRecord>{older});
    // The next record starts a journal of the new layout; the old one is kept whole beside it.
    QVERIFY(ChangeJournal::Append(root.path(), older));
    QVERIFY(ReadAll(path).startsWith(ChangeJournal::HeaderLine()));
    QCOMPARE(ReadAll(path.chopped(4) + " (прежний формат).csv"), oldBytes);
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
    // An unread serial number files its records under a name no serial number takes.
    JournalRecord unread = written[0];
    unread.serial.clear();
    QVERIFY(ChangeJournal::Append(root.path(), unread));
    QVERIFY(QFile::exists(root.filePath("journal/без номера.csv")));
}

void TestChangeJournal::lineBreaksInTextsBecomeBlanks() {
    QTemporaryDir root;
    JournalRecord record = Record(33, QStringLiteral("a\nb"), QStringLiteral("c\r\nd\r"), true);
    record.serial = QStringLiteral("Q5\n0042"); // a controller's serial may hold any byte
    QVERIFY(ChangeJournal::Append(root.path(), record));
    QVERIFY(ChangeJournal::Append(root.path(), record));
    const QString path = ChangeJournal::PathOf(root.path(), record.serial);
    record.serial = QStringLiteral("Q5 0042");
    record.name = QStringLiteral("a b");
    record.operation = QStringLiteral("c  d ");
    QVERIFY(ChangeJournal::Read(path) == std::vector<JournalRecord>(2, record));
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

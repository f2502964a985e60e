#include "ConvertError.h"
#include "Cp1251.h"
#include "FileHelpers.h"
#include "InOutError.h"
#include "LogNumbering.h"
#include "ProductionLog.h"

#include <QtTest>

#include <sys/stat.h>

#include <functional>

namespace {

// A record assembled byte by byte: length-prefixed serial (24), " ** ", date (8), CR LF.
QByteArray Record(const QByteArray& serial, const QByteArray& date) {
    return char(serial.size()) + serial.leftJustified(24, '\0') + "\x04 ** " + char(date.size()) +
           date.leftJustified(8, '\0') + QByteArray("\x02\r\n");
}

QByteArray Header(const QByteArray& date) {
    return Record(Hex("cde0f7e0ebee20eff0eef2eeeaeeebe02020203030313133"), date);
}

// The what() of the exception the call throws, or "" when it throws none.
QString ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

const QString Unnumbered = QStringLiteral("TTTTTTTTTTTTTTTTTTT00000");

} // namespace

class TestProductionLog : public QObject {
    Q_OBJECT
private slots:
    void firstControllerCreatesTheLog();
    void aSharedFolderKeepsTheLogItsGroups_data();
    void aSharedFolderKeepsTheLogItsGroups();
    void aMissingLogIsBegunOnlyWhenAllowed();
    void followingControllersCountOn();
    void sequenceAfterTheLastRecord_data();
    void sequenceAfterTheLastRecord();
    void theLastNumberIsTheLast_data();
    void theLastNumberIsTheLast();
    void nonNumericSequenceAppendsNothing_data();
    void nonNumericSequenceAppendsNothing();
    void partialRecordIsOverwritten();
    void logWithoutWholeRecord_data();
    void logWithoutWholeRecord();
    void templateKeepsItsOtherBytes();
    void shortShownSerialIsPadded();
    void fileFaults_data();
    void fileFaults();
};

void TestProductionLog::firstControllerCreatesTheLog() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    ProductionLog::CreateIfMissing(path, "01.02.03");
    QCOMPARE(ReadBytes(path), Header("01.02.03"));

    const ProtocolRecord record = ProductionLog::AppendNext(path, Unnumbered, "06.12.26");

    const QByteArray expected = Record("TTTTTTTTTTTTTTTTTTT00114", "06.12.26");
    QCOMPARE(ReadBytes(path), Header("01.02.03") + expected);
    QCOMPARE(record.bytes(), expected);
    QCOMPARE(record.serial(), QByteArray("TTTTTTTTTTTTTTTTTTT00114"));
    QCOMPARE(record.date(), QByteArray("06.12.26"));
}

// In a folder of its group (set-group-ID) the log is begun writable by the group, whatever
// the umask; elsewhere the umask rules.
void TestProductionLog::aSharedFolderKeepsTheLogItsGroups_data() {
    QTest::addColumn<bool>("shared");
    QTest::newRow("shared folder") << true;
    QTest::newRow("own folder") << false;
}

void TestProductionLog::aSharedFolderKeepsTheLogItsGroups() {
    QFETCH(bool, shared);
    QTemporaryDir dir;
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), shared ? 02775 : 0755) == 0);
    const mode_t umask = ::umask(077);
    const QString path = dir.filePath("Protocol.lst");
    ProductionLog::CreateIfMissing(path, "01.02.03");
    ::umask(umask);
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 0777, shared ? 0664u : 0600u);
    QCOMPARE(ReadBytes(path), Header("01.02.03"));
}

// A numbering that may not begin a log finds none and writes nothing; one that may, begins it.
void TestProductionLog::aMissingLogIsBegunOnlyWhenAllowed() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    using ProductionLog::NewLog;
    QCOMPARE(ErrorOf([&] {
                 ProductionLog::NumberUnderLock(path, "01.02.03", Unnumbered, "06.12.26",
                                                ProductionLog::LockWait, std::nullopt,
                                                NewLog::Refuse);
             }),
             ProductionLog::MissingText(path));
    QCOMPARE(EntriesOf(dir.path()), QStringList());
    ProductionLog::NumberUnderLock(path, "01.02.03", Unnumbered, "06.12.26",
                                   ProductionLog::LockWait, std::nullopt, NewLog::Begin);
    QCOMPARE(ReadBytes(path), Header("01.02.03") + Record("TTTTTTTTTTTTTTTTTTT00114", "06.12.26"));
}

void TestProductionLog::followingControllersCountOn() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    ProductionLog::CreateIfMissing(path, "01.02.03");
    ProductionLog::AppendNext(path, Unnumbered, "06.12.26");
    ProductionLog::AppendNext(path, QStringLiteral("Тарвик-Q5 серия 01200000"), "07.12.26");
    ProductionLog::AppendNext(path, "ZZZZZZZZZZZZZZZZZZZ00000", "08.12.26");

    const QByteArray bytes = ReadBytes(path);
    QCOMPARE(bytes.size(), 4 * 42);
    QCOMPARE(bytes.mid(84, 42),
             Record(Cp1251::Encode(QStringLiteral("Тарвик-Q5 серия 01200115")), "07.12.26"));
    QCOMPARE(bytes.mid(126, 42), Record("ZZZZZZZZZZZZZZZZZZZ00116", "08.12.26"));
}

void TestProductionLog::sequenceAfterTheLastRecord_data() {
    QTest::addColumn<QByteArray>("last");
    QTest::addColumn<QByteArray>("next");
    QTest::newRow("header") << QByteArray("00113") << QByteArray("00114");
    QTest::newRow("carry") << QByteArray("09999") << QByteArray("10000");
    QTest::newRow("beyond 16 bits") << QByteArray("99999") << QByteArray("34464");
    QTest::newRow("leading blanks") << QByteArray("  041") << QByteArray("00042");
}

void TestProductionLog::sequenceAfterTheLastRecord() {
    QFETCH(QByteArray, last);
    QFETCH(QByteArray, next);
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    WriteBytes(path, Header("01.02.03") + Record("SSSSSSSSSSSSSSSSSSS" + last, "02.02.26"));
    const ProtocolRecord record = ProductionLog::AppendNext(path, Unnumbered, "06.12.26");
    QCOMPARE(record.serial(), "TTTTTTTTTTTTTTTTTTT" + next);
    QCOMPARE(ReadBytes(path).mid(84), Record("TTTTTTTTTTTTTTTTTTT" + next, "06.12.26"));
}

// 00000 marks an un-numbered controller, so the sequence ends rather than wrapping to it.
void TestProductionLog::theLastNumberIsTheLast_data() {
    QTest::addColumn<QByteArray>("last");
    QTest::newRow("65535") << QByteArray("65535");
    QTest::newRow("minus one") << QByteArray("-0001");
}

void TestProductionLog::theLastNumberIsTheLast() {
    QFETCH(QByteArray, last);
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    const QByteArray log = Header("01.02.03") + Record("SSSSSSSSSSSSSSSSSSS" + last, "02.02.26");
    WriteBytes(path, log);
    QCOMPARE(ErrorOf([&] { ProductionLog::AppendNext(path, Unnumbered, "06.12.26"); }),
             ProductionLog::FullText());
    QCOMPARE(ReadBytes(path), log);
}

void TestProductionLog::nonNumericSequenceAppendsNothing_data() {
    QTest::addColumn<QByteArray>("serial");
    QTest::addColumn<QString>("error");
    QTest::newRow("letter") << QByteArray("SSSSSSSSSSSSSSSSSSS00x12")
                            << "'00x12' is not a valid integer value";
    QTest::newRow("trailing blank")
        << QByteArray("SSSSSSSSSSSSSSSSSSS0011 ") << "'0011 ' is not a valid integer value";
    QTest::newRow("cyrillic") << Cp1251::Encode(QStringLiteral("SSSSSSSSSSSSSSSSSSSАБВГД"))
                              << QStringLiteral("'АБВГД' is not a valid integer value");
    QTest::newRow("serial of 19 characters")
        << QByteArray("SSSSSSSSSSSSSSSSSSS") << "'' is not a valid integer value";
    QTest::newRow("NUL shown whole") << QByteArray("SSSSSSSSSSSSSSSSSSS00\0"
                                                   "12",
                                                   24)
                                     << "'00?12' is not a valid integer value";
}

void TestProductionLog::nonNumericSequenceAppendsNothing() {
    QFETCH(QByteArray, serial);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    const QByteArray log = Header("01.02.03") + Record(serial, "02.02.26");
    WriteBytes(path, log);
    bool converted = true;
    QCOMPARE(ErrorOf([&] {
                 try {
                     ProductionLog::AppendNext(path, Unnumbered, "06.12.26");
                 } catch (const EConvertError&) {
                     converted = false;
                     throw;
                 }
             }),
             error);
    QVERIFY(!converted);
    QCOMPARE(ReadBytes(path), log);
}

void TestProductionLog::partialRecordIsOverwritten() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    const QByteArray whole = Header("01.02.03") + Record("SSSSSSSSSSSSSSSSSSS00200", "02.02.26");
    WriteBytes(path, whole + QByteArray(16, '\xEE'));

    ProductionLog::AppendNext(path, Unnumbered, "06.12.26");

    const QByteArray bytes = ReadBytes(path);
    QCOMPARE(bytes.size(), 126);
    QCOMPARE(bytes.left(84), whole);
    QCOMPARE(bytes.mid(84), Record("TTTTTTTTTTTTTTTTTTT00201", "06.12.26"));
}

void TestProductionLog::logWithoutWholeRecord_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("one byte short of a record") << 41;
}

void TestProductionLog::logWithoutWholeRecord() {
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    const QByteArray log = Header("01.02.03").left(size);
    WriteBytes(path, log);
    ProductionLog::CreateIfMissing(path, "09.09.09");
    QCOMPARE(ErrorOf([&] { ProductionLog::AppendNext(path, Unnumbered, "06.12.26"); }),
             QStringLiteral("Read beyond end of file"));
    QCOMPARE(ReadBytes(path), log);
}

void TestProductionLog::templateKeepsItsOtherBytes() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    QByteArray last = Record("SSSSSSSSSSSSSSSSSSS00300", "99.99.99");
    last.replace(26, 4, " -- ");
    last.replace(40, 2, "\n\r");
    WriteBytes(path, Header("01.02.03") + last);

    const ProtocolRecord record = ProductionLog::AppendNext(path, Unnumbered, "1.2.26");

    QByteArray expected = last;
    expected.replace(1, 24, "TTTTTTTTTTTTTTTTTTT00301");
    expected[30] = 6;
    expected.replace(31, 6, "1.2.26"); // the last two date bytes keep "99"
    QCOMPARE(ReadBytes(path).mid(84), expected);
    QCOMPARE(record.date(), QByteArray("1.2.26"));
}

void TestProductionLog::shortShownSerialIsPadded() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    ProductionLog::CreateIfMissing(path, "01.02.03");
    const ProtocolRecord record = ProductionLog::AppendNext(path, "ABC", "06.12.2026");
    QCOMPARE(record.serial(), QByteArray("ABC                00114"));
    QCOMPARE(record.date(), QByteArray("06.12.20"));
}

void TestProductionLog::fileFaults_data() {
    QTest::addColumn<QString>("logName");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("error");
    QTest::newRow("directory where the log should be") << "folder" << true << "File access denied";
    QTest::newRow("log under a regular file")
        << "plain/Protocol.lst" << true << QString("I/O error %1").arg(ENOTDIR);
    QTest::newRow("numbering without a log") << "Protocol.lst" << false << "File not found";
    QTest::newRow("numbering into a directory") << "folder" << false << "File access denied";
}

void TestProductionLog::fileFaults() {
    QFETCH(QString, logName);
    QFETCH(bool, create);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    WriteBytes(dir.filePath("plain"), "plain");
    const QString path = dir.filePath(logName);
    int code = 0;
    QCOMPARE(ErrorOf([&] {
                 try {
                     if (create)
                         ProductionLog::CreateIfMissing(path, "01.02.03");
                     else
                         ProductionLog::AppendNext(path, Unnumbered, "06.12.26");
                 } catch (const EInOutError& e) {
                     code = e.code();
                     throw;
                 }
             }),
             error);
    QVERIFY(code != 0);
    QCOMPARE(EntriesOf(dir.path()), (QStringList{"folder", "plain"}));
    QVERIFY(EntriesOf(dir.filePath("folder")).isEmpty());
    QCOMPARE(ReadBytes(dir.filePath("plain")), QByteArray("plain"));
}

int RunProductionLogTests(int argc, char** argv) {
    TestProductionLog tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestProductionLog.moc"

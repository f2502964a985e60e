#include "Cp1251.h"
#include "FileHelpers.h"
#include "LogBusyError.h"
#include "LogNumbering.h"
#include "ProductionLog.h"
#include "ProtocolRecord.h"

#include <QLockFile>
#include <QProcess>
#include <QSet>
#include <QtTest>

#include <memory>

namespace {

constexpr int Stations = 2;
constexpr int FirstNumber = 114;
constexpr int StationTimeoutMs = 300000;

const QString Unnumbered = QStringLiteral("TTTTTTTTTTTTTTTTTTT00000");

bool IsWholeRecord(const QByteArray& r) {
    return r.size() == ProtocolRecord::Size && r[0] == 24 && r.mid(25, 5) == "\x04 ** " &&
           r[30] == 8 && r.mid(39, 3) == "\x02\r\n";
}

} // namespace

class TestSharedLog : public QObject {
    Q_OBJECT
private slots:
    void twoStationsNumberFromOneLog_data();
    void twoStationsNumberFromOneLog();
    void busyLogStopsTheNumbering_data();
    void busyLogStopsTheNumbering();
    void lockIsGivenBackAfterAFailure();
    void lockLeftInPlace_data();
    void lockLeftInPlace();
};

void TestSharedLog::twoStationsNumberFromOneLog_data() {
    QTest::addColumn<int>("perStation");
    QTest::addColumn<QString>("mode");
    QTest::newRow("controllers") << 100 << QString();
    // Back to back at the log: without the lock the stations would read the same last record.
    QTest::newRow("log only") << 300 << QStringLiteral("log-only");
}

void TestSharedLog::twoStationsNumberFromOneLog() {
#ifndef NUMBERING_STATION
    QSKIP("The stations number emulated controllers, which need pseudo-terminals.");
#else
    QFETCH(int, perStation);
    QFETCH(QString, mode);
    QTemporaryDir dir;
    std::vector<std::unique_ptr<QProcess>> stations;
    for (int s = 0; s < Stations; ++s) {
        QStringList arguments{dir.path(), QString::number(perStation), QString::number(s + 1)};
        if (!mode.isEmpty())
            arguments << mode;
        stations.push_back(std::make_unique<QProcess>());
        stations.back()->start(QStringLiteral(NUMBERING_STATION), arguments);
    }
    QSet<QByteArray> written;
    for (auto& station : stations) {
        QVERIFY(station->waitForFinished(StationTimeoutMs));
        QCOMPARE(station->readAllStandardError(), QByteArray());
        QCOMPARE(station->exitCode(), 0);
        const QList<QByteArray> lines = station->readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), perStation);
        for (const QByteArray& line : lines)
            written.insert(QByteArray::fromHex(line));
    }

    const QByteArray log = ReadBytes(dir.filePath("Protocol.lst"));
    QCOMPARE(log.size(), (Stations * perStation + 1) * ProtocolRecord::Size);
    QSet<QByteArray> logged;
    for (int i = 1; i <= Stations * perStation; ++i) {
        const QByteArray record = log.mid(i * ProtocolRecord::Size, ProtocolRecord::Size);
        QVERIFY2(IsWholeRecord(record), qPrintable(QString("record %1").arg(i)));
        const QByteArray serial = record.mid(1, 24);
        // Consecutive in the order of the log: no number twice, none skipped.
        QCOMPARE(serial.right(5), QByteArray::number(FirstNumber - 1 + i).rightJustified(5, '0'));
        logged.insert(serial);
    }
    // Every controller holds a number of the log, and every logged number is in a controller.
    QCOMPARE(written.size(), Stations * perStation);
    QCOMPARE(written, logged);
    QVERIFY(!QFile::exists(ProductionLog::LockPathOf(dir.filePath("Protocol.lst"))));
#endif
}

void TestSharedLog::busyLogStopsTheNumbering_data() {
    QTest::addColumn<bool>("logExists");
    QTest::newRow("log there") << true;
    QTest::newRow("no log yet") << false;
}

void TestSharedLog::busyLogStopsTheNumbering() {
    QFETCH(bool, logExists);
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    if (logExists)
        ProductionLog::CreateIfMissing(path, "01.02.03");
    const QByteArray before = logExists ? ReadBytes(path) : QByteArray();
    QLockFile otherStation(ProductionLog::LockPathOf(path));
    QVERIFY(otherStation.tryLock(0));

    QString error;
    try {
        ProductionLog::NumberUnderLock(path, "01.02.03", Unnumbered, "08.12.26",
                                       std::chrono::milliseconds(100));
    } catch (const ELogBusy& busy) {
        error = QString::fromUtf8(busy.what());
    }
    QVERIFY2(error.startsWith("Протокол " + QDir::toNativeSeparators(path) + " занят станцией "),
             qPrintable(error));
    QVERIFY(error.endsWith("Номер не присвоен, ничего не записано."));
    QCOMPARE(QFile::exists(path), logExists);
    if (logExists)
        QCOMPARE(ReadBytes(path), before);
}

void TestSharedLog::lockIsGivenBackAfterAFailure() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    WriteBytes(path, QByteArray(41, 'x')); // no whole record
    QVERIFY_THROWS_EXCEPTION(
        std::exception, ProductionLog::NumberUnderLock(path, "01.02.03", Unnumbered, "08.12.26"));
    QLockFile next(ProductionLog::LockPathOf(path));
    QVERIFY(next.tryLock(0));
}

void TestSharedLog::lockLeftInPlace_data() {
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<QByteArray>("holder"); // the lock file's text
    QTest::addColumn<bool>("numbered");
    // A station that died between making the lock file and naming itself in it.
    QTest::newRow("nameless, left long ago") << 10 << QByteArray() << true;
    QTest::newRow("nameless, just made") << 0 << QByteArray() << false;
    // Never taken from a living station by its age.
    const QByteArray living = QByteArray::number(QCoreApplication::applicationPid());
    QTest::newRow("another host") << 3600 << living + "\nq5\nstation-2\n" << false;
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    gone.waitForStarted();
    const QByteArray dead = QByteArray::number(gone.processId());
    gone.waitForFinished();
    QTest::newRow("dead process here")
        << 0 << dead + "\nq5\n" + QSysInfo::machineHostName().toUtf8() + '\n'
        << true;
}

void TestSharedLog::lockLeftInPlace() {
    QFETCH(int, ageSeconds);
    QFETCH(QByteArray, holder);
    QFETCH(bool, numbered);
    QTemporaryDir dir;
    const QString path = dir.filePath("Protocol.lst");
    ProductionLog::CreateIfMissing(path, "01.02.03");
    QFile lockFile(ProductionLog::LockPathOf(path));
    QVERIFY(lockFile.open(QIODevice::WriteOnly));
    QVERIFY(lockFile.write(holder) == holder.size() && lockFile.flush());
    QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
    lockFile.close();

    QString error;
    try {
        ProductionLog::NumberUnderLock(path, "01.02.03", Unnumbered, "08.12.26",
                                       std::chrono::milliseconds(300));
    } catch (const ELogBusy& busy) {
        error = QString::fromUtf8(busy.what());
    }
    QCOMPARE(error.isEmpty(), numbered);
    QVERIFY2(!holder.contains("station-2") || error.contains("station-2"), qPrintable(error));
    QCOMPARE(ReadBytes(path).size(), (numbered ? 2 : 1) * ProtocolRecord::Size);
}

int RunSharedLogTests(int argc, char** argv) {
    TestSharedLog tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestSharedLog.moc"

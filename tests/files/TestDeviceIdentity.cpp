// The controller's identity on the main window and the numbering from the production log,
// against an emulated controller.

#include "Cp1251.h"
#include "DateText.h"
#include "DeviceIdentity.h"
#include "FileHelpers.h"
#include "Form1.h"
#include "FrameLog.h"
#include "LogNumbering.h"
#include "ProductionLog.h"
#include "Protocol.h"
#include "ProtocolRecord.h"
#include "WindowFixture.h"

#include <QDir>
#include <QLabel>
#include <QLockFile>
#include <QtTest>

#include <memory>

namespace {

const QByteArray ControllerDate = "15.03.02";

QByteArray Serial(char filler, const QByteArray& sequence) {
    return QByteArray(19, filler) + sequence;
}

QByteArray Record(const QByteArray& serial, const QByteArray& date = "01.02.03") {
    return ProtocolRecord::Make(serial, date).bytes();
}

QByteArray Header(const QByteArray& date) {
    return Record(Cp1251::Encode(ProductionLog::HeaderSerial()), date);
}

QByteArray TodayForLog() {
    return Cp1251::Encode(DateText::TodayForDevice());
}

// The date as written to addresses 25..32: a shorter system date is padded with blanks.
QByteArray TodayForController() {
    return TodayForLog().leftJustified(8, ' ');
}

QStringList Reads(int first, int count) {
    QStringList frames;
    for (int i = 0; i < count; ++i)
        frames << Triple(CmdReadParam, first + i, 0);
    return frames;
}

QStringList Writes(int first, const QByteArray& bytes) {
    QStringList frames;
    for (int i = 0; i < bytes.size(); ++i)
        frames << Triple(CmdWriteParam, first + i, static_cast<uint8_t>(bytes[i]));
    return frames;
}

// The identity read, then the numbering: the last place marked unfinished, the rest and the
// date, a read-back, the last place, and a read-back again.
QStringList NumberingFrames(const QByteArray& numbered) {
    return Reads(1, 32) + Writes(24, "?") + Writes(1, numbered.left(23)) +
           Writes(25, TodayForController()) + Reads(1, 32) + Writes(24, numbered.mid(23)) +
           Reads(1, 32);
}

QByteArray CutRecord(const QByteArray& serial, const QByteArray& date) {
    ProtocolRecord record = ProtocolRecord::Make(serial, date);
    record.setSeparator(" -- ");
    return record.bytes();
}

} // namespace

class TestDeviceIdentity : public QObject {
    Q_OBJECT
private slots:
    void init() {
        fixture = std::make_unique<WindowFixture>();
        fixture->setText(25, ControllerDate);
        fixture->answerQuestions(true);
    }
    void cleanup() { fixture.reset(); }

    void numbersUnnumberedController_data();
    void numbersUnnumberedController();
    void noLogIsBegunUnasked();
    void consecutiveControllersCountOn();
    void numberedControllerIsLeftAlone_data();
    void numberedControllerIsLeftAlone();
    void logFailureWritesNothing_data();
    void logFailureWritesNothing();
    void busyLogWritesNothing();
    void failedReadsNumberNothing_data();
    void failedReadsNumberNothing();
    void halfFailedNumberingKeepsTheRecord();

private:
    std::unique_ptr<WindowFixture> fixture;
};

void TestDeviceIdentity::numbersUnnumberedController_data() {
    QTest::addColumn<QByteArray>("logBefore"); // empty: no log yet
    QTest::addColumn<QByteArray>("serial");
    QTest::addColumn<QByteArray>("numbered");
    QTest::addColumn<int>("recordOffset");

    const QByteArray header = Header("01.01.01");
    QTest::newRow("no log: 00114")
        << QByteArray() << Serial('T', "00000") << Serial('T', "00114") << 42;
    QTest::newRow("after 00114") << header + Record(Serial('T', "00114")) << Serial('X', "00000")
                                 << Serial('X', "00115") << 84;
    QTest::newRow("cut off before") << header + CutRecord(Serial('T', "00114"), "01.01.01")
                                    << Serial('T', "0011?") << Serial('T', "00115") << 84;
    QTest::newRow("100-byte log") << header + Record(Serial('T', "00200")) + QByteArray(16, 'p')
                                  << Serial('T', "00000") << Serial('T', "00201") << 84;
    // The shown text ends at the character of code 0; the rest of the 19 become blanks.
    QTest::newRow("code 0 in the serial")
        << QByteArray() << QByteArray("AB\0ZZZZZZZZZZZZZZZZ00000", 24)
        << QByteArray("AB                 00114") << 42;
}

void TestDeviceIdentity::numbersUnnumberedController() {
    QFETCH(QByteArray, logBefore);
    QFETCH(QByteArray, serial);
    QFETCH(QByteArray, numbered);
    QFETCH(int, recordOffset);
    if (!logBefore.isEmpty())
        WriteBytes(fixture->logPath(), logBefore);
    fixture->setText(1, serial);

    ReadDeviceIdentity();

    const QByteArray log = ReadBytes(fixture->logPath());
    QCOMPARE(log.size(), recordOffset + ProtocolRecord::Size);
    QCOMPARE(log.left(recordOffset),
             logBefore.isEmpty() ? Header(ControllerDate) : logBefore.left(recordOffset));
    const ProtocolRecord record = ProtocolRecord::FromBytes(log.mid(recordOffset));
    QCOMPARE(record.serial(), numbered);
    QCOMPARE(record.date(), TodayForLog());

    QCOMPARE(fixture->text(1, 24), numbered);
    QCOMPARE(fixture->text(25, 8), TodayForController());
    // A new log is asked about, and the controller read again after the question.
    QCOMPARE(fixture->questions.size(), logBefore.isEmpty() ? 1 : 0);
    QCOMPARE(FrameTriples(fixture->controller()),
             (logBefore.isEmpty() ? Reads(1, 32) : QStringList()) + NumberingFrames(numbered));
    QCOMPARE(fixture->form().StaticText1->text(), Cp1251::Decode(numbered));
    QCOMPARE(fixture->form().StaticText3->text(), DateText::TodayForDevice());
}

// "No" to a new log numbers nothing, says so and begins no log.
void TestDeviceIdentity::noLogIsBegunUnasked() {
    fixture->answerQuestions(false);
    fixture->setText(1, Serial('T', "00000"));

    ReadDeviceIdentity();

    const QString log = QDir::toNativeSeparators(fixture->logPath());
    QCOMPARE(fixture->questions.size(), 1);
    QVERIFY(fixture->questions[0].startsWith("Протокола нумерации нет: " + log));
    QVERIFY(fixture->questions[0].contains("номер 00114"));
    QCOMPARE(fixture->informations, QStringList{"Прибор не нумерован: протокола нумерации " + log +
                                                " нет, новый не начат."});
    QCOMPARE(FrameTriples(fixture->controller()), Reads(1, 32));
    QCOMPARE(EntriesOf(fixture->directory()), QStringList());
    QCOMPARE(fixture->form().StaticText1->text(), QString(19, 'T') + "00000");
}

void TestDeviceIdentity::consecutiveControllersCountOn() {
    const QByteArray fillers = "ABC";
    for (char filler : fillers) {
        fixture->setText(1, Serial(filler, "00000"));
        ReadDeviceIdentity();
    }
    const QByteArray log = ReadBytes(fixture->logPath());
    QCOMPARE(log.size(), 4 * ProtocolRecord::Size);
    QCOMPARE(ProtocolRecord::FromBytes(log.mid(42)).serial(), Serial('A', "00114"));
    QCOMPARE(ProtocolRecord::FromBytes(log.mid(84)).serial(), Serial('B', "00115"));
    QCOMPARE(ProtocolRecord::FromBytes(log.mid(126)).serial(), Serial('C', "00116"));
    QCOMPARE(fixture->text(1, 24), Serial('C', "00116"));
}

void TestDeviceIdentity::numberedControllerIsLeftAlone_data() {
    QTest::addColumn<QByteArray>("serial");
    QTest::addColumn<QString>("shown");
    QTest::newRow("00001") << Serial('T', "00001") << QString(19, 'T') + "00001";
    QTest::newRow("four zeros and a blank") << Serial('T', "0000 ") << QString(19, 'T') + "0000 ";
    QTest::newRow("Cyrillic, numbered")
        << Cp1251::Encode(QStringLiteral("Тарвик-Q5 ГБО 2002 00120"))
        << QStringLiteral("Тарвик-Q5 ГБО 2002 00120");
    QTest::newRow("code 0 ends the shown text")
        << QByteArray("SN-7\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 24) << QStringLiteral("SN-7");
}

void TestDeviceIdentity::numberedControllerIsLeftAlone() {
    QFETCH(QByteArray, serial);
    QFETCH(QString, shown);
    fixture->setText(1, serial);

    ReadDeviceIdentity();

    QCOMPARE(FrameTriples(fixture->controller()), Reads(1, 32));
    QVERIFY(!QFile::exists(fixture->logPath()));
    QCOMPARE(fixture->form().StaticText1->text(), shown);
    QCOMPARE(fixture->form().StaticText3->text(), QString::fromLatin1(ControllerDate));
}

void TestDeviceIdentity::logFailureWritesNothing_data() {
    QTest::addColumn<QByteArray>("logBefore"); // empty: a directory stands in the log's place
    QTest::addColumn<QString>("error");
    QTest::newRow("digits not a number") << Header("01.01.01") + Record(Serial('T', "12a45"))
                                         << "'12a45' is not a valid integer value";
    QTest::newRow("no whole record") << QByteArray(41, 'x') << "Read beyond end of file";
    QTest::newRow("log cannot be created") << QByteArray() << "File access denied";
    QTest::newRow("65535 was the last")
        << Header("01.01.01") + Record(Serial('T', "65535")) << ProductionLog::FullText();
}

void TestDeviceIdentity::logFailureWritesNothing() {
    QFETCH(QByteArray, logBefore);
    QFETCH(QString, error);
    if (logBefore.isEmpty())
        QVERIFY(QDir(fixture->directory()).mkdir(ProductionLog::FileName));
    else
        WriteBytes(fixture->logPath(), logBefore);
    fixture->setText(1, Serial('T', "00000"));

    QCOMPARE(ErrorOf(ReadDeviceIdentity), error);

    QCOMPARE(FrameTriples(fixture->controller()), Reads(1, 32));
    if (!logBefore.isEmpty())
        QCOMPARE(ReadBytes(fixture->logPath()), logBefore);
    QCOMPARE(EntriesOf(fixture->directory()), QStringList{ProductionLog::FileName});
    QCOMPARE(fixture->form().StaticText1->text(), QString(19, 'T') + "00000");
}

void TestDeviceIdentity::busyLogWritesNothing() {
    const QByteArray logBefore = Header("01.01.01");
    WriteBytes(fixture->logPath(), logBefore);
    QLockFile otherStation(ProductionLog::LockPathOf(fixture->logPath()));
    QVERIFY(otherStation.tryLock(0));
    fixture->setText(1, Serial('T', "00000"));

    // After the numbering's whole wait for the lock.
    QVERIFY(ErrorOf(ReadDeviceIdentity).startsWith("Протокол "));

    QCOMPARE(FrameTriples(fixture->controller()), Reads(1, 32));
    QCOMPARE(ReadBytes(fixture->logPath()), logBefore);
    QCOMPARE(fixture->form().StaticText1->text(), QString(19, 'T') + "00000");
}

void TestDeviceIdentity::failedReadsNumberNothing_data() {
    QTest::addColumn<int>("silentAddress");
    QTest::addColumn<QString>("shownSerial");
    QTest::addColumn<QString>("shownDate");
    // A read without a reply would repeat the character before it, so the serial would still
    // read "00000" at 20..24; a text with a failed read keeps what was shown instead.
    const QString unnumbered = QString(19, 'T') + "00000";
    const QString unread = " ";
    QTest::newRow("serial 21") << 21 << unread << "15.03.02";
    QTest::newRow("date 25") << 25 << unnumbered << unread;
    QTest::newRow("date 32") << 32 << unnumbered << unread;
}

void TestDeviceIdentity::failedReadsNumberNothing() {
    QFETCH(int, silentAddress);
    QFETCH(QString, shownSerial);
    QFETCH(QString, shownDate);
    fixture->setText(1, Serial('T', "00000"));
    q5emu::FaultSpec silence(q5emu::FaultMode::Silence);
    silence.address = static_cast<uint8_t>(silentAddress);
    fixture->controller().setFault(silence);

    ReadDeviceIdentity();

    // The silent word is asked twice, the rest once.
    QCOMPARE(FrameTriples(fixture->controller()), Reads(1, silentAddress) +
                                                      Reads(silentAddress, 1) +
                                                      Reads(silentAddress + 1, 32 - silentAddress));
    QVERIFY(!QFile::exists(fixture->logPath()));
    QCOMPARE(fixture->form().StaticText1->text(), shownSerial);
    QCOMPARE(fixture->form().StaticText3->text(), shownDate);
}

void TestDeviceIdentity::halfFailedNumberingKeepsTheRecord() {
    fixture->setText(1, Serial('T', "00000"));
    q5emu::FaultSpec silence(q5emu::FaultMode::Silence);
    silence.command = CmdWriteParam;
    silence.address = 22;
    fixture->controller().setFault(silence);

    const QString error = ErrorOf(ReadDeviceIdentity);

    QVERIFY2(error.startsWith("Номер 00114 выдан по протоколу"), qPrintable(error));
    QCOMPARE(ReadBytes(fixture->logPath()).mid(42), CutRecord(Serial('T', "00114"), TodayForLog()));
    QVERIFY(fixture->text(1, 24).endsWith('?'));
    QCOMPARE(fixture->form().StaticText1->text(), QString(19, 'T') + "00000");

    // Connected again, the unit gets a number of its own; the log keeps the cut one.
    fixture->controller().setFault(q5emu::FaultSpec{});
    ReadDeviceIdentity();
    QCOMPARE(fixture->text(1, 24), Serial('T', "00115"));
    QCOMPARE(ReadBytes(fixture->logPath()).mid(84), Record(Serial('T', "00115"), TodayForLog()));
}

int RunDeviceIdentityTests(int argc, char** argv) {
    TestDeviceIdentity test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestDeviceIdentity.moc"

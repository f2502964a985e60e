#include "DateText.h"
#include "IdentityText.h"

#include <QtTest>

class TestDateText : public QObject {
    Q_OBJECT
private slots:
    void formatsAndCuts_data();
    void formatsAndCuts();
    void todayFollowsTheSystemShortFormat();
    void identityBytes_data();
    void identityBytes();
    void unnumberedSerial_data();
    void unnumberedSerial();
};

void TestDateText::formatsAndCuts_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("device");
    const QDate december6(2026, 12, 6);
    QTest::newRow("four-digit year") << december6 << "dd.MM.yyyy"
                                     << "06.12.2026"
                                     << "06.12.20";
    QTest::newRow("two-digit year") << december6 << "dd.MM.yy"
                                    << "06.12.26"
                                    << "06.12.26";
    QTest::newRow("short text") << QDate(2026, 1, 5) << "d.M.yy"
                                << "5.1.26"
                                << "5.1.26";
}

void TestDateText::formatsAndCuts() {
    QFETCH(QDate, date);
    QFETCH(QString, format);
    QFETCH(QString, full);
    QFETCH(QString, device);
    QCOMPARE(DateText::Full(date, format), full);
    QCOMPARE(DateText::ForDevice(date, format), device);
}

void TestDateText::todayFollowsTheSystemShortFormat() {
    const QDate today = QDate::currentDate();
    const QString full = DateText::TodayFull();
    const QString device = DateText::TodayForDevice();
    if (QDate::currentDate() != today)
        QSKIP("the date changed while testing");
    const QString expected = QLocale::system().toString(today, QLocale::ShortFormat);
    QCOMPARE(full, expected);
    QCOMPARE(device, expected.left(8));
}

void TestDateText::identityBytes_data() {
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QByteArray>("serialBytes");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QByteArray>("dateBytes");
    QTest::newRow("ten characters, short date")
        << "Q5-1234567" << QByteArray("Q5-1234567              ") << "5.1.26"
        << QByteArray("5.1.26  ");
    QTest::newRow("thirty characters, full date")
        << "123456789012345678901234567890" << QByteArray("123456789012345678901234") << "06.12.26"
        << QByteArray("06.12.26");
    QTest::newRow("cyrillic") << QStringLiteral("Тарвик")
                              << QByteArray("\xd2\xe0\xf0\xe2\xe8\xea").leftJustified(24, ' ')
                              << "06.12.2026" << QByteArray("06.12.20");
}

void TestDateText::identityBytes() {
    QFETCH(QString, serial);
    QFETCH(QByteArray, serialBytes);
    QFETCH(QString, date);
    QFETCH(QByteArray, dateBytes);
    QCOMPARE(IdentityText::SerialBytes(serial), serialBytes);
    QCOMPARE(IdentityText::DateBytes(date), dateBytes);
}

void TestDateText::unnumberedSerial_data() {
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("unnumbered");
    QTest::newRow("zeros") << "TTTTTTTTTTTTTTTTTTT00000" << true;
    QTest::newRow("numbered 00001") << "TTTTTTTTTTTTTTTTTTT00001" << false;
    QTest::newRow("four zeros and a blank") << "TTTTTTTTTTTTTTTTTTT0000 " << false;
}

void TestDateText::unnumberedSerial() {
    QFETCH(QString, serial);
    QFETCH(bool, unnumbered);
    QCOMPARE(IdentityText::IsUnnumbered(serial), unnumbered);
}

int RunDateTextTests(int argc, char** argv) {
    TestDateText tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestDateText.moc"

#include "CountText.h"
#include "DateText.h"
#include "IdentityText.h"

#include <QtTest>

class TestDateText : public QObject {
    Q_OBJECT
private slots:
    void deviceDateUnderAnyLocale();
    void identityBytes_data();
    void identityBytes();
    void unnumberedSerial_data();
    void unnumberedSerial();
    void countsWithTheirNouns();
};

void TestDateText::countsWithTheirNouns() {
    const CountText::Forms units{QStringLiteral("прибор"), QStringLiteral("прибора"),
                                 QStringLiteral("приборов")};
    for (const char* row :
         {"0 приборов", "1 прибор", "2 прибора", "4 прибора", "5 приборов", "11 приборов",
          "12 приборов", "14 приборов", "21 прибор", "22 прибора", "25 приборов", "101 прибор",
          "111 приборов", "272 прибора", "1001 прибор", "-2 прибора"}) {
        const QString text = QString::fromUtf8(row);
        QCOMPARE(CountText::Of(text.section(u' ', 0, 0).toLongLong(), units), text);
    }
}

void TestDateText::deviceDateUnderAnyLocale() {
    const QLocale before;
    for (const char* locale : {"ru_RU", "C", "en_US"}) {
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(DateText::ForDevice(QDate(2026, 12, 8)), QStringLiteral("08.12.26"));
        QCOMPARE(DateText::ForDevice(QDate(2002, 3, 15)), QStringLiteral("15.03.02"));
    }
    QLocale::setDefault(before);
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

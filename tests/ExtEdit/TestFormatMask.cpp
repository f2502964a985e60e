#include "FormatMask.h"

#include <QTest>

#include <clocale>

Q_DECLARE_METATYPE(long double)

namespace {

QString Blanks(int n) {
    return QString(n, u' ');
}

} // namespace

class TestFormatMask : public QObject {
    Q_OBJECT
private slots:
    void Format_data();
    void Format();
    void FormatIgnoresLocale();
    void Convert_data();
    void Convert();
    void ConvertFails_data();
    void ConvertFails();
};

void TestFormatMask::Format_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<long double>("x");
    QTest::addColumn<QString>("written");

    struct Row {
        const char* name;
        QString mask;
        long double x;
        QString written;
    };
    const Row rows[] = {
        // The results the value controls document.
        {"4.5", u"#####0.00"_qs, 4.5L, u"4.50"_qs},
        {"near zero", u"#####0.00"_qs, 0.00001L, u"0.00"_qs},
        {"negative", u"#####0.00"_qs, -0.5L, u"-0.50"_qs},
        {"negative rounds to zero", u"#####0.00"_qs, -0.001L, u"0.00"_qs},
        {"minus before blanks", u"            #0.0 %"_qs, -5.5L,
         u"-"_qs + Blanks(12) + u"5.5 %"_qs},
        {"-1 V", u"#0.0 V"_qs, -1.0L, u"-1.0 V"_qs},
        {"unit dot silent", u"#0 ц."_qs, 5.0L, u"5 ц"_qs},
        {"two unit dots silent", u"##0 град.. С"_qs, 60.0L, u"60 град С"_qs},
        {"literal prefix", u"Vref ##0.00 Volt"_qs, 4.5L, u"Vref 4.50 Volt"_qs},
        {"digits beyond the mask", u"###0 %"_qs, 12345.0L, u"12345 %"_qs},
        {"100 kPa", u"#0.0кП"_qs, 100.0L, u"100.0кП"_qs},
        {"coil", u"                0 катушка"_qs, 2.0L, Blanks(16) + u"2 катушка"_qs},
        {"half up 0.125", u"##0.00 V"_qs, 0.125L, u"0.13 V"_qs},
        {"0.001 %", u"##0 %"_qs, 0.001L, u"0 %"_qs},
        {"rpm", u"#####0 Об/мин"_qs, 1000.0L, u"1000 Об/мин"_qs},

        // Rounding edges, judged on 18 significant digits.
        {"0.005 up", u"#####0.00"_qs, 0.005L, u"0.01"_qs},
        {"1.005 up", u"#####0.00"_qs, 1.005L, u"1.01"_qs},
        {"-0.005 away from zero", u"#####0.00"_qs, -0.005L, u"-0.01"_qs},
        {"carry into a new digit", u"#####0.00"_qs, 999999.995L, u"1000000.00"_qs},
        {"negative zero", u"#####0.00"_qs, -0.0L, u"0.00"_qs},
        {"2.5 gives 3", u"###0 %"_qs, 2.5L, u"3 %"_qs},
        {"0.5 gives 1", u"###0 %"_qs, 0.5L, u"1 %"_qs},
        {"-2.5 gives -3", u"###0 %"_qs, -2.5L, u"-3 %"_qs},
        {"cycles", u"#0 ц."_qs, 50.0L, u"50 ц"_qs},
        {"rpm rounding", u"#####0 Об/мин"_qs, 999.5L, u"1000 Об/мин"_qs},
        {"13.8 V", u"#0.0 V"_qs, 13.8L, u"13.8 V"_qs},
        {"0.05 V up", u"#0.0 V"_qs, 0.05L, u"0.1 V"_qs},
        {"-0.05 V", u"#0.0 V"_qs, -0.05L, u"-0.1 V"_qs},
        {"degrees", u"##0 °С"_qs, 20.0L, u"20 °С"_qs},
        {"degrees negative", u"##0 °С"_qs, -273.0L, u"-273 °С"_qs},
        {"degrees carry", u"##0 °С"_qs, 99.5L, u"100 °С"_qs},
        {"window description degrees", u"##0 град С"_qs, 60.0L, u"60 град С"_qs},
        {"percent 0.05", u"##0.0 %"_qs, 0.05L, u"0.1 %"_qs},
        {"percent -0.05", u"##0.0 %"_qs, -0.05L, u"-0.1 %"_qs},
        {"seconds dot silent", u"##0. Cек"_qs, 30.0L, u"30 Cек"_qs},
        {"kPa near zero", u"#0.0кП"_qs, 0.00001L, u"0.0кП"_qs},
        {"kPa carry", u"#0.0кП"_qs, 99.95L, u"100.0кП"_qs},
        {"mS leading fraction zero", u"#0.00mS"_qs, 0.05L, u"0.05mS"_qs},
        {"mS carry", u"#0.00mS"_qs, 1.995L, u"2.00mS"_qs},
        {"throttling max", u"            #0.0 %"_qs, 500.0L, Blanks(12) + u"500.0 %"_qs},
        {"throttling read back", u"            #0.0 %"_qs, 6350.0L, Blanks(12) + u"6350.0 %"_qs},
        {"throttling min", u"            #0.0 %"_qs, -99.0L, u"-"_qs + Blanks(12) + u"99.0 %"_qs},
        {"throttling tiny negative", u"            #0.0 %"_qs, -0.04L, Blanks(12) + u"0.0 %"_qs},
        {"volts 4.573", u"#0.00 V"_qs, 4.573L, u"4.57 V"_qs},
        {"volts 4.575", u"#0.00 V"_qs, 4.575L, u"4.58 V"_qs},
        {"kPa latin a", u"#0.0 кПa"_qs, 600.0L, u"600.0 кПa"_qs},
        {"reducer kPa half", u"#####0.0 кПа"_qs, 50.05L, u"50.1 кПа"_qs},
        {"hysteresis", u"##0.00 V"_qs, 0.1L, u"0.10 V"_qs},
        {"period", u"##0.00 Cек"_qs, 0.02L, u"0.02 Cек"_qs},
        {"max regulation", u"##0 %"_qs, 99.0L, u"99 %"_qs},
        {"warm-up", u"##0 Сек"_qs, 100.0L, u"100 Сек"_qs},
        {"vref half", u"Vref ##0.00 Volt"_qs, 4.505L, u"Vref 4.51 Volt"_qs},
        {"vref negative", u"Vref ##0.00 Volt"_qs, -1.0L, u"-Vref 1.00 Volt"_qs},
        {"full power near zero", u" ##0.0 %"_qs, 0.0000001L, u" 0.0 %"_qs},
        {"full power max", u" ##0.0 %"_qs, 500.0L, u" 500.0 %"_qs},
        {"full power negative", u" ##0.0 %"_qs, -2.4L, u"- 2.4 %"_qs},
        {"idle kPa", u"#####0.0кП"_qs, 500.0L, u"500.0кП"_qs},
        {"engine speed", u"###0 Об/мин"_qs, 850.0L, u"850 Об/мин"_qs},
        {"injection time", u"#0.00 mS"_qs, 2.5L, u"2.50 mS"_qs},
        {"sensor volts", u"#####0.00 Вольт"_qs, 0.456L, u"0.46 Вольт"_qs},
        {"temperature", u"##0°С"_qs, 90.0L, u"90°С"_qs},
        {"supply", u"#####0.00 Volt"_qs, 13.8L, u"13.80 Volt"_qs},

        // Switched masks.
        {"one coil", u"                  0 катушка"_qs, 1.0L, Blanks(18) + u"1 катушка"_qs},
        {"1.5 coils", u"                  0 катушки"_qs, 1.5L, Blanks(18) + u"2 катушки"_qs},
        {"eight cylinders", u"                #####0 цилиндров"_qs, 8.0L,
         Blanks(16) + u"8 цилиндров"_qs},
        {"four cylinders", u"                #####0 цилиндра"_qs, 4.0L,
         Blanks(16) + u"4 цилиндра"_qs},

        // Monitor labels.
        {"monitor kPa half", u"###0.0"_qs, 45.25L, u"45.3"_qs},
        {"monitor kPa max", u"###0.0"_qs, 6553.5L, u"6553.5"_qs},
        {"monitor response", u"###0.00"_qs, 1.5L, u"1.50"_qs},
        {"monitor 1/1024", u"###0.00"_qs, 1.0L / 1024, u"0.00"_qs},
        {"monitor carry", u"###0.00"_qs, 63.99902L, u"64.00"_qs},

        // Optional decimals and other corners.
        {"optional decimal unused", u"#0.0#"_qs, 1.5L, u"1.5"_qs},
        {"optional decimal used", u"#0.0#"_qs, 1.25L, u"1.25"_qs},
        {"optional decimal rounding", u"#0.0#"_qs, 1.255L, u"1.26"_qs},
        {"no required integer digit", u"#.##"_qs, 0.5L, u".5"_qs},
        {"zero through optional places", u"#.##"_qs, 0.0L, u""_qs},
        {"exponent letter literal", u"#0 e"_qs, 5.0L, u"5 e"_qs},
        {"below the general limit", u"#####0.00"_qs, 999999999999999999.0L,
         u"999999999999999999.00"_qs},
        {"general notation", u"#####0.00"_qs, 1e18L, u"1E18"_qs},
        {"general notation negative", u"#####0.00 V"_qs, -1.5e20L, u"-1.5E20"_qs},
        {"general 15 digits", u"#####0.00"_qs, 123456789012345678901.0L, u"1.23456789012346E20"_qs},
    };
    for (const Row& row : rows)
        QTest::newRow(row.name) << row.mask << row.x << row.written;
}

void TestFormatMask::Format() {
    QFETCH(QString, mask);
    QFETCH(long double, x);
    QFETCH(QString, written);
    QCOMPARE(FormatMask::Format(mask, x), written);
}

void TestFormatMask::FormatIgnoresLocale() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    std::setlocale(LC_ALL, "ru_RU.UTF-8"); // may be missing; then the C locale stays
    const QString written = FormatMask::Format(u"#####0.00"_qs, 4.5L);
    const auto read = FormatMask::StrToExtended(u"4.5"_qs);
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(saved);
    QCOMPARE(written, u"4.50"_qs);
    QVERIFY(read.has_value());
    QCOMPARE(*read, 4.5L);
}

void TestFormatMask::Convert_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<long double>("value");
    QTest::newRow("digits") << u"12"_qs << 12.0L;
    QTest::newRow("negative") << u"-7.5"_qs << -7.5L;
    QTest::newRow("plus") << u"+3"_qs << 3.0L;
    QTest::newRow("lone point") << u"."_qs << 0.0L;
    QTest::newRow("decimals") << u"4.50"_qs << 4.5L;
    QTest::newRow("exponent") << u"1e3"_qs << 1000.0L;
    QTest::newRow("negative exponent") << u"1E-2"_qs << 0.01L;
    QTest::newRow("leading point") << u".5"_qs << 0.5L;
    QTest::newRow("trailing point") << u"5."_qs << 5.0L;
    QTest::newRow("leading zeros") << u"010"_qs << 10.0L;
    QTest::newRow("underflow is zero") << u"1e-5000"_qs << 0.0L;
    QTest::newRow("below the normal range is zero") << u"-1e-4940"_qs << 0.0L;
    QTest::newRow("many digits below the range") << u"123456e-4940"_qs << 0.0L;
    QTest::newRow("leading zeros within the range") << u"0.0001e4935"_qs << 1e4931L;
    QTest::newRow("extended precision") << u"0.1"_qs << 0.1L;
}

void TestFormatMask::Convert() {
    QFETCH(QString, text);
    QFETCH(long double, value);
    const std::optional<long double> converted = FormatMask::StrToExtended(text);
    QVERIFY(converted.has_value());
    QCOMPARE(*converted, value);
}

void TestFormatMask::ConvertFails_data() {
    QTest::addColumn<QString>("text");
    for (const char* text :
         {"",      "-",  "+",   "abc", "inf", "nan", "INF",    "0x10", " 1", "1 ",
          "1.2.3", "1e", "1e+", "e5",  "--1", "1,5", "1e5000", "-.",   "..", "1e2.5"})
        QTest::newRow(*text ? text : "empty") << QString::fromLatin1(text);
    QTest::newRow("arabic digit") << u"١"_qs;
    QTest::newRow("leading zeros past the range") << u"0.001e4936"_qs;
}

void TestFormatMask::ConvertFails() {
    QFETCH(QString, text);
    QVERIFY(!FormatMask::StrToExtended(text).has_value());
}

QTEST_APPLESS_MAIN(TestFormatMask)
#include "TestFormatMask.moc"

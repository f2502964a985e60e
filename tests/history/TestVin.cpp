#include "Vin.h"

#include <QtTest>

class TestVin : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
};

void TestVin::refusals_data() {
    QTest::addColumn<QString>("vin");
    QTest::addColumn<QString>("reason"); // a word of the refusal; empty: taken
    QTest::newRow("North American, check digit right") << "1M8GDM9AXKP042788"
                                                       << "";
    QTest::newRow("check digit 0 … 9 computed") << "11111111111111111"
                                                << "";
    QTest::newRow("Russian, no check digit") << "XTA21099043550210"
                                             << "";
    QTest::newRow("check digit wrong") << "1M8GDM9A1KP042788"
                                       << "должен быть X";
    QTest::newRow("letter O") << "XTA2109904355O210"
                              << "Буква O (знак 14)";
    QTest::newRow("lower case") << "xta21099043550210"
                                << "Знак «x»";
    QTest::newRow("Cyrillic look-alike") << "ХТА21099043550210"
                                         << "Знак «Х»";
    QTest::newRow("sixteen") << "XTA2109904355021"
                             << "17 знаков, а введено 16";
    QTest::newRow("eighteen") << "XTA210990435502101"
                              << "введено 18";
}

void TestVin::refusals() {
    QFETCH(QString, vin);
    QFETCH(QString, reason);
    const std::optional<QString> refusal = Vin::Refusal(vin);
    if (reason.isEmpty()) {
        QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    } else {
        QVERIFY(refusal);
        QVERIFY2(refusal->contains(reason), qPrintable(*refusal));
    }
}

int RunVinTests(int argc, char** argv) {
    TestVin test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestVin.moc"

#include "Comparison.h"

#include <QtTest>

namespace {

SettingsRecords::Words Block() {
    SettingsRecords::Words words{};
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<uint16_t>(i);
    words[47 - SettingsRecords::FirstAddress] = 503;
    return words;
}

uint16_t& At(SettingsRecords::Words& words, int address) {
    return words[static_cast<std::size_t>(address - SettingsRecords::FirstAddress)];
}

} // namespace

class TestComparison : public QObject {
    Q_OBJECT
private slots:
    void rowOfOneWord_data();
    void rowOfOneWord();
    void rowsOnlyWhereWordsDiffer();
};

void TestComparison::rowOfOneWord_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("wordA");
    QTest::addColumn<int>("wordB");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shownA");
    QTest::addColumn<QString>("shownB");

    QTest::newRow("list") << 34 << 0 << 2 << "Запуск двигателя"
                          << "На газе или бензине"
                          << "Автоопределение";
    QTest::newRow("radio pair") << 51 << 1 << 0 << "Датчик кислорода"
                                << "есть"
                                << "нет";
    QTest::newRow("scaled volts") << 56 << 450 << 1250 << "Пороговое напряжение ХХ"
                                  << "0.45 Volt"
                                  << "1.25 Volt";
    QTest::newRow("coil count, one more than its word")
        << 39 << 0 << 1 << "Количество катушек зажигания"
        << "1 катушка"
        << "2 катушки";
    QTest::newRow("throttling below zero, as written") << 42 << 512 << 65024 << "Дросселирование"
                                                       << "50.0 %"
                                                       << "-50.0 %";
    QTest::newRow("set by no control") << 33 << 5 << 65535 << "Слово 33"
                                       << "5"
                                       << "65535";
}

void TestComparison::rowOfOneWord() {
    QFETCH(int, address);
    QFETCH(int, wordA);
    QFETCH(int, wordB);
    SettingsRecords::Words a = Block();
    SettingsRecords::Words b = Block();
    At(a, address) = static_cast<uint16_t>(wordA);
    At(b, address) = static_cast<uint16_t>(wordB);

    const std::vector<Comparison::Row> rows = Comparison::Rows(a, b);
    QCOMPARE(rows.size(), std::size_t{1});
    const Comparison::Row& row = rows.front();
    QCOMPARE(row.address, address);
    QTEST(row.name, "name");
    QTEST(row.shownA, "shownA");
    QTEST(row.shownB, "shownB");
    QCOMPARE(row.wordA, wordA);
    QCOMPARE(row.wordB, wordB);
    QCOMPARE(Comparison::RawText(row), QStringLiteral("%1 / %2").arg(wordA).arg(wordB));
}

void TestComparison::rowsOnlyWhereWordsDiffer() {
    const SettingsRecords::Words a = Block();
    QVERIFY(Comparison::Rows(a, a).empty());

    SettingsRecords::Words b = a;
    At(b, 99) = 1;
    At(b, 33) = 1;
    const std::vector<Comparison::Row> rows = Comparison::Rows(a, b);
    QCOMPARE(rows.size(), std::size_t{2});
    QCOMPARE(rows[0].address, 33);
    QCOMPARE(rows[1].address, 99);
}

int RunComparisonTests(int argc, char** argv) {
    TestComparison test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestComparison.moc"

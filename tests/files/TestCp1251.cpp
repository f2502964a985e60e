#include "Cp1251.h"
#include "FileHelpers.h"

#include <QtTest>

class TestCp1251 : public QObject {
    Q_OBJECT
private slots:
    void encodesTexts_data();
    void encodesTexts();
    void everyByteSurvivesRoundTrip();
    void unmappedCharactersBecomeQuestionMarks_data();
    void unmappedCharactersBecomeQuestionMarks();
};

void TestCp1251::encodesTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("log header") << QStringLiteral("Начало протокола   00113")
                                << Hex("cde0f7e0ebee20eff0eef2eeeaeeebe02020203030313133");
    QTest::newRow("no such file") << QStringLiteral("Такого файла нет!")
                                  << Hex("d2e0eaeee3ee20f4e0e9ebe020ede5f221");
    QTest::newRow("replace question")
        << QStringLiteral("Такой файл существует! Заменить?")
        << Hex("d2e0eaeee920f4e0e9eb20f1f3f9e5f1f2e2f3e5f22120c7e0ece5ede8f2fc3f");
    QTest::newRow("dialog filter")
        << QStringLiteral("Установки Tarvik-Q5  (*.q5t)")
        << Hex("d3f1f2e0edeee2eae82054617276696b2d51352020282a2e71357429");
    QTest::newRow("dialog caption")
        << QStringLiteral("Серийный номер") << Hex("d1e5f0e8e9edfbe920edeeece5f0");
    QTest::newRow("cancel") << QStringLiteral("ОТМЕНА") << Hex("ced2ccc5cdc0");
    QTest::newRow("no device") << QStringLiteral("Прибор не обнаружен !")
                               << Hex("cff0e8e1eef020ede520eee1ede0f0f3e6e5ed2021");
    QTest::newRow("no reply") << QStringLiteral("Нет ответа от прибора!")
                              << Hex("cde5f220eef2e2e5f2e020eef220eff0e8e1eef0e021");
    QTest::newRow("letters outside А..я")
        << QStringLiteral("Ёж ёлка №1 Ґґ Єє Її Іі Ўў")
        << Hex("a8e620b8ebeae020b93120a5b420aaba20afbf20b2b320a1a2");
    QTest::newRow("punctuation") << QStringLiteral("«€‰»") << Hex("ab8889bb");
}

void TestCp1251::encodesTexts() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp1251::Encode(text), bytes);
    QCOMPARE(Cp1251::Decode(bytes), text);
}

void TestCp1251::everyByteSurvivesRoundTrip() {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = Cp1251::Decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Cp1251::Encode(text), all);
}

void TestCp1251::unmappedCharactersBecomeQuestionMarks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("greek") << QStringLiteral("Ω") << QByteArray("?");
    QTest::newRow("latin accent") << QStringLiteral("é") << QByteArray("?");
    QTest::newRow("cjk between") << QStringLiteral("A中Б") << Hex("413fc1");
    QTest::newRow("outside the basic plane") << QStringLiteral("x😀y") << QByteArray("x?y");
}

void TestCp1251::unmappedCharactersBecomeQuestionMarks() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp1251::Encode(text), bytes);
}

int RunCp1251Tests(int argc, char** argv) {
    TestCp1251 tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestCp1251.moc"

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
    QTest::newRow("replace question")
        << QStringLiteral("Такой файл существует! Заменить?")
        << Hex("d2e0eaeee920f4e0e9eb20f1f3f9e5f1f2e2f3e5f22120c7e0ece5ede8f2fc3f");
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

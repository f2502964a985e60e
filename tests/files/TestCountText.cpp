#include "CountText.h"

#include <QtTest>

class TestCountText : public QObject {
    Q_OBJECT
private slots:
    void nounFollowsTheCount_data();
    void nounFollowsTheCount();
};

void TestCountText::nounFollowsTheCount_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");
    const std::initializer_list<const char*> rows = {
        "0 приборов",  "1 прибор",    "2 прибора",         "4 прибора",    "5 приборов",
        "11 приборов", "12 приборов", "14 приборов",       "21 прибор",    "22 прибора",
        "25 приборов", "101 прибор",  "104 прибора",       "111 приборов", "112 приборов",
        "272 прибора", "1001 прибор", "62914560 приборов", "-2 прибора"};
    for (const char* row : rows) {
        const QString text = QString::fromUtf8(row);
        QTest::newRow(row) << text.section(u' ', 0, 0).toLongLong() << text;
    }
}

void TestCountText::nounFollowsTheCount() {
    QFETCH(qint64, count);
    const CountText::Forms units{QStringLiteral("прибор"), QStringLiteral("прибора"),
                                 QStringLiteral("приборов")};
    QTEST(CountText::Of(count, units), "text");
}

int RunCountTextTests(int argc, char** argv) {
    TestCountText tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestCountText.moc"

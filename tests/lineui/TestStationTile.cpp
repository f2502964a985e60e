// A station's tile: what it shows in each phase, and that each shown state has its accessible
// name.

#include <StationTile.h>

#include <QLabel>
#include <QTest>

Q_DECLARE_METATYPE(StationPhase)

class TestStationTile : public QObject {
    Q_OBJECT

private slots:
    void showsEachPhase_data();
    void showsEachPhase();
    void showsAUnitTriedAgain();
};

void TestStationTile::showsEachPhase_data() {
    QTest::addColumn<StationPhase>("phase");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("reason");
    using P = StationPhase;
    QTest::newRow("no port") << P::NoPort << "НЕТ ПОРТА"
                             << ""
                             << "";
    QTest::newRow("waiting") << P::Waiting << "ЖДЁТ ПРИБОР"
                             << ""
                             << "";
    QTest::newRow("working") << P::Working << "ЗАПИСЬ УСТАНОВОК…"
                             << "№ Q5 00114"
                             << "";
    QTest::newRow("good") << P::Good << "ГОДЕН"
                          << "№ Q5 00114"
                          << "";
    QTest::newRow("bad") << P::Bad << "БРАК"
                         << "№ Q5 00114"
                         << "не сохранены слова: 40";
    QTest::newRow("stopped") << P::Stopped << "ОСТАНОВЛЕНО"
                             << "№ Q5 00114"
                             << "";
}

void TestStationTile::showsEachPhase() {
    QFETCH(StationPhase, phase);
    QFETCH(QString, result);
    QFETCH(QString, serial);
    QFETCH(QString, reason);
    StationTile tile(2);
    const bool unit = phase != StationPhase::NoPort && phase != StationPhase::Waiting;
    tile.Show({2, phase, QStringLiteral("/dev/ttyUSB1"), QStringLiteral("Запись установок"),
               unit ? QStringLiteral(" Q5 00114 ") : QString(),
               QStringLiteral("не сохранены слова: 40")});
    const auto label = [&tile](const char* name) {
        return tile.findChild<QLabel*>(QLatin1String(name));
    };
    QCOMPARE(tile.ResultText(), result);
    QCOMPARE(label("Serial")->text(), serial);
    QCOMPARE(label("Reason")->text(), reason); // a reason only beside "БРАК"
    QCOMPARE(label("Result")->accessibleName(), "Место 2: " + result);
    QCOMPARE(label("Serial")->accessibleName(),
             "Место 2, серийный номер: " + (unit ? QStringLiteral("Q5 00114") : "нет"));
    QCOMPARE(label("Reason")->accessibleName(),
             "Место 2, причина: " + (reason.isEmpty() ? QStringLiteral("нет") : reason));
}

void TestStationTile::showsAUnitTriedAgain() {
    StationTile tile(3);
    StationView view{3, StationPhase::Good, {}, {}, QStringLiteral("Q5 00114"), {}};
    view.rework = true;
    tile.Show(view);
    const auto* serial = tile.findChild<QLabel*>(QStringLiteral("Serial"));
    QCOMPARE(serial->text(), "№ Q5 00114 — повторная проверка");
    QCOMPARE(serial->accessibleName(), "Место 3, серийный номер: Q5 00114 — повторная проверка");
}

QTEST_MAIN(TestStationTile)
#include "TestStationTile.moc"

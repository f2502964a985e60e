// A station's tile: what it shows in each phase and of each label, and that each shown state
// has its accessible name.

#include <StationTile.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(StationPhase)

class TestStationTile : public QObject {
    Q_OBJECT

private slots:
    void showsEachPhase_data();
    void showsEachPhase();
    void showsAUnitTriedAgain();
    void showsEachLabel_data();
    void showsEachLabel();
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
    tile.Show({2,
               phase,
               QStringLiteral("/dev/ttyUSB1"),
               QStringLiteral("Запись установок"),
               unit ? QStringLiteral(" Q5 00114 ") : QString(),
               QStringLiteral("не сохранены слова: 40"),
               false,
               {},
               false});
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
    StationView view;
    view.station = 3;
    view.phase = StationPhase::Good;
    view.serial = QStringLiteral("Q5 00114");
    view.rework = true;
    tile.Show(view);
    const auto* serial = tile.findChild<QLabel*>(QStringLiteral("Serial"));
    QCOMPARE(serial->text(), "№ Q5 00114 — повторная проверка");
    QCOMPARE(serial->accessibleName(), "Место 3, серийный номер: Q5 00114 — повторная проверка");
}

void TestStationTile::showsEachLabel_data() {
    QTest::addColumn<int>("printing");
    QTest::addColumn<int>("check");
    QTest::addColumn<int>("reprints");
    QTest::addColumn<bool>("awaitingScan");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reprintOffered");
    using P = LabelPrinting;
    using C = LabelCheck;
    const auto row = [](const char* name, P p, C c, int reprints, bool awaiting, const char* text,
                        bool offered) {
        QTest::newRow(name) << static_cast<int>(p) << static_cast<int>(c) << reprints << awaiting
                            << QString::fromUtf8(text) << offered;
    };
    row("none", P::None, C::None, 0, false, "", false);
    row("printed", P::Printed, C::None, 0, false, "этикетка напечатана", false);
    row("not printed", P::NotPrinted, C::None, 0, false, "этикетка не напечатана", true);
    row("awaiting its scan", P::Printed, C::None, 0, true, "ждёт скан этикетки", false);
    row("verified", P::Printed, C::Verified, 0, false, "этикетка проверена", false);
    row("voided", P::Printed, C::Voided, 0, false, "БРАК: этикетка не совпала", true);
    row("voided, reprinted", P::Printed, C::Voided, 1, false,
        "БРАК: этикетка не совпала, перепечатана", true);
    row("reprinted", P::Printed, C::None, 2, false, "этикетка перепечатана", false);
}

void TestStationTile::showsEachLabel() {
    QFETCH(int, printing);
    QFETCH(int, check);
    QFETCH(int, reprints);
    QFETCH(bool, awaitingScan);
    QFETCH(QString, text);
    QFETCH(bool, reprintOffered);
    StationTile tile(3);
    tile.show();
    tile.Show({3,
               StationPhase::Good,
               {},
               {},
               QStringLiteral("Q5 00114"),
               {},
               false,
               {static_cast<LabelPrinting>(printing), static_cast<LabelCheck>(check), reprints},
               awaitingScan});
    auto* label = tile.findChild<QLabel*>(QStringLiteral("Label"));
    QCOMPARE(label->text(), text);
    QCOMPARE(label->accessibleName(),
             "Место 3, этикетка: " + (text.isEmpty() ? QStringLiteral("нет") : text));
    QCOMPARE(tile.findChild<QLineEdit*>(QStringLiteral("Scan"))->isVisible(), awaitingScan);
    QCOMPARE(tile.findChild<QPushButton*>()->isVisible(), reprintOffered);
}

QTEST_MAIN(TestStationTile)
#include "TestStationTile.moc"

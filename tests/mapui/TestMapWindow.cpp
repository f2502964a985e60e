// The map's window fed live samples by hand: a cell fills, is outlined as the live cell, is
// painted in the trim's colour and reads out through assistive technology; an empty map after
// the filters names the filter that dropped most.

#include "LiveMapWindow.h"
#include "MapView.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

class TestMapWindow : public QObject {
    Q_OBJECT
private slots:
    void LiveSamplesFillAndOutlineTheirCell() {
        LiveMapWindow live;
        MapWindow& window = live.window;
        window.resize(1400, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < 12; ++i)
            window.AddSample(Driving());

        const MapCell cell{5, 8}; // 3000–3500 об/мин, 9–10 мс
        QCOMPARE(window.Table().At(cell).count, int64_t(12));
        QCOMPARE(window.View().Trail().back(), cell);
        // Another minimum refolds the live drive kept so far: the same cell.
        window.SetMinimumCount(5);
        QCOMPARE(window.Table().At(cell).count, int64_t(12));
        QCOMPARE(window.Table().At(cell).Mean(), 12.0);
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&window.View());
        QVERIFY(table);
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->childCount(), 13 * 20);
        QAccessibleInterface* named = table->child(cell.row * 20 + cell.column);
        QCOMPARE(named->text(QAccessible::Name),
                 QStringLiteral("3000–3500 об/мин, 9–10 мс: +12,0 %, 12 замеров"));
        QVERIFY(named->state().focused);

        const QImage shot = window.View().grab().toImage();
        const QRect rect = window.View().CellRect(cell);
        const QColor inside = shot.pixelColor(rect.left() + 5, rect.top() + 5);
        QVERIFY2(inside.red() > inside.blue() + 60, qPrintable(inside.name()));
        QCOMPARE(shot.pixelColor(rect.left() + 1, rect.center().y()), QColor(Qt::black));

        window.Reset();
        for (int i = 0; i < 3; ++i)
            window.AddSample(Driving(12, 3000)); // 27 °С: cold
        QCOMPARE(window.Table().Samples(), int64_t(0));
        QVERIFY2(window.Note().contains(QStringLiteral("«Прогретый двигатель» (3 замера)")),
                 qPrintable(window.Note()));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestMapWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestMapWindow.moc"

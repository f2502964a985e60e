// The map's cells: band edges, a drive of a known trim, each filter's drops, link-lost gaps,
// folding and the difference of two maps.

#include "MapBuilder.h"
#include "MapDifference.h"
#include "MapLogFiles.h"
#include "MapLogs.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

MapLog Logged(const QTemporaryDir& dir, const std::vector<DriveRow>& rows,
              const std::vector<double>& writes = {}) {
    const QString path = dir.filePath(QStringLiteral("drive %1.csv").arg(rows.size()));
    WriteDriveLog(path, rows, true, writes);
    return MapLogs::Open(path);
}

MapBuilder Built(const std::vector<MapLog>& logs, const MapFilters& filters = {}) {
    MapBuilder builder(MapLayout{}, filters);
    MapLogs::Fold(builder, logs);
    return builder;
}

DriveRow At(double seconds, double speed = 2200, double load = 5.5) {
    DriveRow row;
    row.seconds = seconds;
    row.speed = speed;
    row.load = load;
    return row;
}

} // namespace

class TestMapBuild : public QObject {
    Q_OBJECT
private slots:
    void BandOfValue_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("band"); // -1: none
        QTest::newRow("on an edge: the band above") << 3000.0 << 500.0 << 5;
        QTest::newRow("just below the edge") << 2999.99 << 500.0 << 4;
        QTest::newRow("first edge") << 500.0 << 500.0 << 0;
        QTest::newRow("below the first") << 499.0 << 500.0 << -1;
        QTest::newRow("inside the last") << 6999.0 << 500.0 << 12;
        QTest::newRow("the last band's upper edge") << 7000.0 << 500.0 << -1;
        QTest::newRow("decimal edge") << 800.3 << 0.1 << 3;
        QTest::newRow("unread") << double(NAN) << 500.0 << -1;
    }
    void BandOfValue() {
        QFETCH(double, value);
        QFETCH(double, width);
        QFETCH(int, band);
        const Bands bands = width == 500 ? Bands{500, 6500, 500} : Bands{800, 900, 0.1};
        QCOMPARE(bands.Of(value).value_or(-1), band);
    }

    void KnownDriveGivesItsTrimPerCell() {
        QTemporaryDir dir;
        const MapBuilder builder = Built({Logged(dir, KnownDrive(12))});
        const MapTable& table = builder.Table();
        QCOMPARE(table.Rows(), 13);
        QCOMPARE(table.Columns(), 20);
        for (int r = 0; r < 13; ++r)
            for (int c = 0; c < 20; ++c) {
                const CellStats& cell = table.At(r, c);
                QCOMPARE(cell.count, int64_t(12));
                QVERIFY2(std::abs(cell.Mean() - KnownTrim(750 + 500 * r, 1.5 + c)) <= 0.5,
                         qPrintable(QStringLiteral("%1 %2: %3").arg(r).arg(c).arg(cell.Mean())));
                QVERIFY(cell.min >= cell.Mean() - 1 && cell.max <= cell.Mean() + 1);
                QVERIFY(cell.Deviation() > 0 && cell.Deviation() < 0.5);
            }
        QCOMPARE(builder.Dropped().kept, int64_t(13 * 20 * 12));
    }

    void EachFilterDropsItsSamples_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("dropped");
        QTest::newRow("warm") << int(MapFilter::Warm) << 3;
        QTest::newRow("trim active") << int(MapFilter::TrimActive) << 2;
        QTest::newRow("throttle") << int(MapFilter::Throttle) << 3;
        QTest::newRow("write") << int(MapFilter::Write) << 4;
        QTest::newRow("speed") << int(MapFilter::Speed) << 1;
    }
    void EachFilterDropsItsSamples() {
        QFETCH(int, filter);
        QFETCH(int, dropped);
        // 40 rows, 0.5 s apart; each filter has its own stretch of rows to drop.
        std::vector<DriveRow> rows;
        for (int i = 0; i < 40; ++i)
            rows.push_back(At(i * 0.5));
        for (int i : {2, 3, 4})
            rows[size_t(i)].temperature = 59; // below the warm bound 60
        rows[8].source = 2;                   // the trim set by hand
        rows[9].source = 3;                   // setup mode
        for (size_t i = 15; i < rows.size(); ++i)
            rows[i].throttle = 1.2; // 1.2 V/s up at 7.5 s: it and the rows of the next 1 s
        rows[30].speed = 700;       // below the range 800..6500
        // A write at 11.2 s, held 1.8 s: the rows at 11.5, 12, 12.5 and 13 s.
        MapFilters filters;
        filters.Set(MapFilter::Speed, true);
        filters.writeSettle = 1.8;
        QTemporaryDir dir;
        const MapBuilder all = Built({Logged(dir, rows, {11.2})}, filters);
        QCOMPARE(all.Dropped()[MapFilter(filter)], int64_t(dropped));
        QCOMPARE(all.Dropped().kept, int64_t(40 - 13));
        filters.Set(MapFilter(filter), false);
        const MapBuilder without = Built({Logged(dir, rows, {11.2})}, filters);
        // The trim exists only while the sensor trims: that filter is never off for it.
        const int64_t freed = MapFilter(filter) == MapFilter::TrimActive ? 0 : dropped;
        QCOMPARE(without.Dropped()[MapFilter(filter)], int64_t(dropped) - freed);
        QCOMPARE(without.Dropped().kept, int64_t(40 - 13) + freed);
    }

    void LinkLostIsAGapNeverAZero() {
        std::vector<DriveRow> rows;
        for (int i = 0; i < 20; ++i) {
            rows.push_back(At(i * 0.5));
            rows.back().trim = 4;
            rows.back().lost = i >= 5 && i < 15;
        }
        QTemporaryDir dir;
        const MapBuilder builder = Built({Logged(dir, rows)});
        const CellStats& cell = builder.Table().At(*Bands{500, 6500, 500}.Of(2200), 4);
        QCOMPARE(cell.count, int64_t(10));
        QCOMPARE(cell.Mean(), 4.0);
        QCOMPARE(cell.min, 4.0);
        QCOMPARE(builder.Dropped().gaps, int64_t(10));
    }

    void TwoLogsFoldAsOneLogOfBoth() {
        std::vector<DriveRow> drive = KnownDrive(3);
        const std::vector<DriveRow> first(drive.begin(), drive.begin() + 400);
        const std::vector<DriveRow> second(drive.begin() + 400, drive.end());
        QTemporaryDir dir;
        const MapBuilder folded = Built({Logged(dir, first), Logged(dir, second)});
        const MapBuilder whole = Built({Logged(dir, drive)});
        for (int r = 0; r < 13; ++r)
            for (int c = 0; c < 20; ++c) {
                const CellStats& a = folded.Table().At(r, c);
                const CellStats& b = whole.Table().At(r, c);
                QCOMPARE(a.count, b.count);
                QCOMPARE(a.Mean(), b.Mean());
                QCOMPARE(a.Deviation(), b.Deviation());
            }
    }

    void DifferenceTellsTowardsFromAway() {
        MapLayout layout;
        layout.speed = {1000, 2000, 1000};
        layout.load = {1, 3, 1};
        MapBuilder before(layout, {}), after(layout, {});
        auto fill = [](MapBuilder& builder, double speed, double load, double trim, int count) {
            for (int i = 0; i < count; ++i) {
                MapSample s;
                s.seconds = i;
                s.speed = speed, s.load = load, s.value = trim;
                s.temperature = 80, s.throttle = 1, s.trimSource = 1;
                builder.Add(s);
            }
        };
        fill(before, 1000, 1, 10, 10), fill(after, 1000, 1, 3, 10);  // towards zero
        fill(before, 1000, 2, -2, 10), fill(after, 1000, 2, -6, 10); // away
        fill(before, 2000, 1, 5, 10), fill(after, 2000, 1, -5, 4);   // level, too few after
        fill(before, 2000, 3, 1, 10);                                // nothing after
        const MapDifference difference(before.Table(), after.Table(), 10);
        QCOMPARE(difference.At(0, 0).delta, -7.0);
        QCOMPARE(difference.At(0, 0).movement, Movement::Towards);
        QCOMPARE(difference.At(0, 1).delta, -4.0);
        QCOMPARE(difference.At(0, 1).movement, Movement::Away);
        QCOMPARE(difference.At(1, 0).movement, Movement::Level);
        QVERIFY(!difference.At(1, 0).sure);
        QCOMPARE(difference.At(1, 2).movement, Movement::Unknown);
        QCOMPARE(difference.Count(Movement::Towards), 1);
        QCOMPARE(difference.Count(Movement::Away), 1);
    }
};

int RunMapBuildTests(int argc, char** argv) {
    TestMapBuild test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestMapBuild.moc"

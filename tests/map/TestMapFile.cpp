// The map and files: the CSV's bytes, a log without the map's columns, a log of another tool.

#include "LogError.h"
#include "MapBuilder.h"
#include "MapCsv.h"
#include "MapLogFiles.h"
#include "MapLogs.h"
#include "MapSheet.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestMapFile : public QObject {
    Q_OBJECT
private slots:
    void CsvBytes() {
        MapLayout layout;
        layout.speed = {1000, 2000, 1000};
        layout.load = {1, 2, 1};
        MapBuilder builder(layout, {});
        for (double trim : {12.0, 13.0, -0.25}) {
            MapSample s;
            s.speed = 2000, s.load = 1.5, s.value = trim;
            s.temperature = 80, s.throttle = 1, s.trimSource = 1;
            builder.Add(s);
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("карта.csv"));
        MapCsv::Write(builder.Table(), path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(bytes.mid(3)).split(QLatin1Char('\n')),
                 QStringLiteral("Карта коррекции,\"Коррекция, %\",\"Обороты коленвала, об/мин / "
                                "Время впрыска исх., мс\"\n"
                                "Среднее,1–2,2–3\n"
                                "1000–2000,,\n"
                                "2000–3000,8.3,\n"
                                "\n"
                                "Замеров,1–2,2–3\n"
                                "1000–2000,,\n"
                                "2000–3000,3,\n"
                                "\n"
                                "Ст. отклонение,1–2,2–3\n"
                                "1000–2000,,\n"
                                "2000–3000,7.38,\n")
                     .split(QLatin1Char('\n')));
    }

    void PaperPageIsOfItsOwnTransposed() {
        MapBuilder builder(MapLayout{}, {});
        for (int i = 0; i < 13; ++i) {
            MapSample s;
            s.speed = i < 3 ? 800 : 3250, s.load = 9.5, s.value = 12;
            s.temperature = 80, s.throttle = 1, s.trimSource = 1;
            builder.Add(s);
        }
        const Sheets::Section page = Sheets::MapSection(builder.Table(), 10, {});
        QVERIFY(page.newPage);
        QCOMPARE(page.columns.size(), 1 + 13);
        const Sheets::Row& row = page.rows[1 + 8]; // after the note: 9–10 мс
        QCOMPARE(row.cells.value(0), QStringLiteral("9–10"));
        QCOMPARE(row.cells.value(1 + 0), QStringLiteral("[+12,0] (3)"));
        QCOMPARE(row.cells.value(1 + 5), QStringLiteral("+12,0 (10)"));
    }

    void LogWithoutTheTrimSaysWhatItLacks() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("старая.csv"));
        WriteDriveLog(path, KnownDrive(1), false);
        const MapLog log = MapLogs::Open(path);
        MapLayout layout;
        QCOMPARE(MapLogs::Note(log, layout),
                 QStringLiteral("В записи «старая.csv» нет столбцов «Коррекция», «Режим "
                                "коррекции»: её замеры не вошли в таблицу."));
        MapBuilder trim(layout, {});
        MapLogs::Fold(trim, {log});
        QCOMPARE(trim.Table().Samples(), int64_t(0));

        layout.value = MapValue::Column;
        layout.column = QStringLiteral("Температура двигателя");
        QCOMPARE(MapLogs::Note(log, layout),
                 QStringLiteral("К записи «старая.csv» не применимы фильтры «Коррекция "
                                "включена, не режим установки»: в ней нет их столбцов."));
        MapBuilder temperature(layout, {});
        MapLogs::Fold(temperature, {log});
        QCOMPARE(temperature.Table().Samples(), int64_t(260));
    }

    void LogOfAnotherToolIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("чужая.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Date;RPM;Lambda\n2026-12-08;3000;0.98\n");
        file.close();
        try {
            MapLogs::Open(path);
            QFAIL("opened");
        } catch (const LogError& error) {
            QVERIFY(error.text().contains(QStringLiteral("не является записью данных")));
        }
    }
};

int RunMapFileTests(int argc, char** argv) {
    TestMapFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestMapFile.moc"

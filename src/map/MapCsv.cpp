#include "MapCsv.h"

#include "CsvLine.h"
#include "DurableWrite.h"
#include "LogFormat.h"
#include "MapNames.h"

#include <functional>

namespace MapCsv {

namespace {

// One grid: its corner names what it holds, then a row a speed band.
QString Grid(const MapTable& table, const QString& corner,
             const std::function<QString(const CellStats&)>& text) {
    const MapLayout& layout = table.Layout();
    QStringList head{corner};
    for (int c = 0; c < table.Columns(); ++c)
        head << MapNames::BandText(layout.load, c);
    QString grid = CsvLine::Join(head) + QLatin1Char('\n');
    for (int r = 0; r < table.Rows(); ++r) {
        QStringList line{MapNames::BandText(layout.speed, r)};
        for (int c = 0; c < table.Columns(); ++c) {
            const CellStats& cell = table.At(r, c);
            line << (cell.Empty() ? QString() : text(cell));
        }
        grid += CsvLine::Join(line) + QLatin1Char('\n');
    }
    return grid;
}

} // namespace

QByteArray Bytes(const MapTable& table) {
    const MapLayout& layout = table.Layout();
    const int decimals = MapNames::ValueDecimals(layout);
    QString value = MapNames::ValueName(layout);
    if (!MapNames::ValueUnit(layout).isEmpty())
        value += QStringLiteral(", ") + MapNames::ValueUnit(layout);
    const QString axes = QStringLiteral("%1, %2 / %3, %4")
                             .arg(MapNames::SpeedName(), MapNames::SpeedUnit(),
                                  MapNames::LoadName(layout.axis), MapNames::LoadUnit(layout.axis));
    QString text =
        CsvLine::Join({QStringLiteral("Карта коррекции"), value, axes}) + QLatin1Char('\n');
    text += Grid(table, QStringLiteral("Среднее"),
                 [&](const CellStats& cell) { return LogFormat::Number(cell.Mean(), decimals); });
    text += QLatin1Char('\n');
    text += Grid(table, QStringLiteral("Замеров"),
                 [](const CellStats& cell) { return QString::number(cell.count); });
    text += QLatin1Char('\n');
    text += Grid(table, QStringLiteral("Ст. отклонение"), [&](const CellStats& cell) {
        return LogFormat::Number(cell.Deviation(), decimals + 1);
    });
    return QByteArray(LogFormat::ByteOrderMark) + text.toUtf8();
}

void Write(const MapTable& table, const QString& path) {
    WriteFileDurably(path, Bytes(table));
}

} // namespace MapCsv

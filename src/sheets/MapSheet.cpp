#include "MapSheet.h"

#include "MapNames.h"

namespace Sheets {

Section MapSection(const MapTable& table, int64_t minimumCount, const QStringList& notes) {
    const MapLayout& layout = table.Layout();
    QString value = MapNames::ValueName(layout);
    if (!MapNames::ValueUnit(layout).isEmpty())
        value += QStringLiteral(", ") + MapNames::ValueUnit(layout);
    Section section;
    section.title = QStringLiteral("Карта коррекции: ") + value;
    section.newPage = true;
    section.columns << MapNames::LoadUnit(layout.axis) + QStringLiteral(" \\ ") +
                           MapNames::SpeedUnit();
    for (int r = 0; r < table.Rows(); ++r)
        section.columns << MapNames::BandText(layout.speed, r);
    for (const QString& note : notes)
        section.rows.push_back({{note}, RowKind::Heading});
    section.rows.push_back(
        {{QStringLiteral("В клетке — среднее и (число замеров); [среднее] — замеров меньше %1.")
              .arg(minimumCount)},
         RowKind::Heading});
    for (int c = 0; c < table.Columns(); ++c) {
        Row row{{MapNames::BandText(layout.load, c)}};
        for (int r = 0; r < table.Rows(); ++r) {
            const CellStats& cell = table.At(r, c);
            if (cell.Empty()) {
                row.cells << QString();
                continue;
            }
            QString mean = MapNames::ValueText(layout, cell.Mean());
            if (cell.count < minimumCount)
                mean = QLatin1Char('[') + mean + QLatin1Char(']');
            row.cells << mean + QStringLiteral(" (%1)").arg(cell.count);
        }
        section.rows.push_back(row);
    }
    return section;
}

Sheet MapSheet(const Section& map, const QString& madeAt) {
    Sheet sheet;
    sheet.title = QStringLiteral("Карта коррекции");
    sheet.header = {{QStringLiteral("Составлен"), madeAt}};
    sheet.sections = {map};
    sheet.sections.front().newPage = false;
    sheet.footer = sheet.title;
    return sheet;
}

} // namespace Sheets

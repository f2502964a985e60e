#include "ComparisonSheet.h"

#include "PaperValue.h"

#include <algorithm>

namespace Sheets {

Sheet ComparisonSheet(const ComparedOnPaper& compared, const Identity& identity,
                      const QString& madeAt) {
    Sheet sheet;
    sheet.title = QStringLiteral("Сравнение установок Tarvik-Q5");
    sheet.header = HeaderOf(identity, madeAt);
    sheet.header.push_back({QStringLiteral("Сравниваются"),
                            QStringLiteral("«%1» и «%2»").arg(compared.titleA, compared.titleB)});
    sheet.footer = identity.serial;

    std::vector<std::pair<Comparison::Row, bool>> rows;
    for (const Comparison::Row& row : compared.differing)
        rows.push_back({row, false});
    for (const Comparison::Row& row : compared.written)
        rows.push_back({row, true});
    std::stable_sort(rows.begin(), rows.end(), [](const auto& x, const auto& y) {
        return x.first.address < y.first.address;
    });

    Section section{QStringLiteral("Различия (строк: %1)").arg(rows.size()),
                    {QStringLiteral("Адрес"), QStringLiteral("Параметр"), compared.titleA,
                     compared.titleB, QStringLiteral("Слова"), QStringLiteral("Записано")},
                    {},
                    {8, 25, 20, 20, 14, 13}};
    for (const auto& [row, written] : rows)
        section.rows.push_back(
            {{Comparison::AddressText(row), row.name, PaperValue(row.address, row.wordA),
              PaperValue(row.address, row.wordB), Comparison::RawText(row),
              written ? QStringLiteral("да") : QString()}});
    if (rows.empty())
        section.rows.push_back({{QStringLiteral("Все слова совпадают.")}, RowKind::Heading});
    sheet.sections.push_back(std::move(section));
    return sheet;
}

} // namespace Sheets

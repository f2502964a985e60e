#include "LineDaySheet.h"

#include "LineReport.h"

#include <map>

namespace Sheets {

namespace {

QString Distinct(const QList<QStringList>& rows, int column) {
    QStringList seen;
    for (const QStringList& row : rows)
        if (!row.value(column).isEmpty() && !seen.contains(row.value(column)))
            seen << row.value(column);
    return seen.join(QStringLiteral(", "));
}

} // namespace

Sheet LineDaySheet(const QDate& day, const QList<QStringList>& rows, const Identity& identity,
                   const QString& madeAt) {
    using C = LineReport::Column;
    Sheet sheet;
    sheet.title = QStringLiteral("Производственная линия: итоги дня");
    // A day's sheet is of no one controller and of no one file; on the line the names are
    // the factory's and its operator's, not a workshop's and its technician's.
    Identity ofTheDay{identity.tool, {}, {}, {}, {}, {}, {}};
    sheet.header = HeaderOf(ofTheDay, madeAt);
    const QString operators = Distinct(rows, C::Operator);
    const QString signer = identity.technician.trimmed();
    const std::pair<QString, QString> names[] = {
        {QStringLiteral("Предприятие"), identity.workshop.trimmed()},
        {QStringLiteral("Оператор"), signer.isEmpty() ? operators : signer},
        {QStringLiteral("День"), day.toString(QStringLiteral("dd.MM.yyyy"))},
        {QStringLiteral("Файл установок"), Distinct(rows, C::Reference)},
        {QStringLiteral("Операторы в отчёте"), operators == signer ? QString() : operators}};
    for (const auto& field : names)
        if (!field.second.isEmpty())
            sheet.header.push_back(field);
    sheet.footer = day.toString(QStringLiteral("dd.MM.yyyy"));

    const QString good = LineReport::ResultText(true);
    std::map<QString, std::pair<int, int>> counts; // station: good, bad
    for (const QStringList& row : rows)
        ++(row.value(C::Result) == good ? counts[row.value(C::Station)].first
                                        : counts[row.value(C::Station)].second);
    Section batch{QStringLiteral("Итог"),
                  {QStringLiteral("Место"), QStringLiteral("Годен"), QStringLiteral("Брак"),
                   QStringLiteral("Всего")},
                  {},
                  {25, 25, 25, 25}};
    int goodInAll = 0;
    int badInAll = 0;
    for (const auto& [station, count] : counts) {
        batch.rows.push_back({{station, QString::number(count.first), QString::number(count.second),
                               QString::number(count.first + count.second)}});
        goodInAll += count.first;
        badInAll += count.second;
    }
    batch.rows.push_back({{QStringLiteral("Всего"), QString::number(goodInAll),
                           QString::number(badInAll), QString::number(goodInAll + badInAll)}});
    sheet.sections.push_back(std::move(batch));

    Section units{QStringLiteral("Приборы (строк: %1)").arg(rows.size()),
                  {QStringLiteral("Время"), QStringLiteral("Место"),
                   QStringLiteral("Серийный номер"), QStringLiteral("Результат"),
                   QStringLiteral("Причина"), QStringLiteral("Длит., с")},
                  {},
                  {10, 8, 27, 12, 33, 10}};
    for (const QStringList& row : rows)
        units.rows.push_back(
            {{row.value(C::Time).mid(11), row.value(C::Station), row.value(C::Serial),
              row.value(C::Result), row.value(C::Reason), row.value(C::Duration)}});
    sheet.sections.push_back(std::move(units));
    return sheet;
}

} // namespace Sheets

#include "Sheet.h"

namespace Sheets {

std::vector<std::pair<QString, QString>> HeaderOf(const Identity& identity, const QString& madeAt) {
    const std::pair<QString, QString> fields[] = {
        {QStringLiteral("Программа"), identity.tool},
        {QStringLiteral("Составлен"), madeAt},
        {QStringLiteral("Серийный номер"), identity.serial},
        {QStringLiteral("Дата выпуска"), identity.made},
        {QStringLiteral("Файл"), identity.fileName},
        {QStringLiteral("Мастерская"), identity.workshop},
        {QStringLiteral("Мастер"), identity.technician},
    };
    std::vector<std::pair<QString, QString>> header;
    for (const auto& field : fields)
        if (!field.second.trimmed().isEmpty())
            header.push_back({field.first, field.second.trimmed()});
    for (const auto& field : identity.vehicle)
        if (!field.second.trimmed().isEmpty())
            header.push_back({field.first, field.second.trimmed()});
    return header;
}

QString PlainText(const Sheet& sheet) {
    QString text = sheet.title + QLatin1Char('\n');
    for (const auto& [name, value] : sheet.header)
        text += name + QStringLiteral(": ") + value + QLatin1Char('\n');
    for (const Section& section : sheet.sections) {
        text += QLatin1Char('\n') + section.title + QLatin1Char('\n');
        text += section.columns.join(QLatin1Char('\t')) + QLatin1Char('\n');
        for (const Row& row : section.rows)
            text += row.cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

} // namespace Sheets

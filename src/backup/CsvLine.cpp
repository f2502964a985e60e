#include "CsvLine.h"

namespace CsvLine {

QString Join(const QStringList& fields) {
    QStringList quoted;
    for (const QString& field : fields) {
        const bool needsQuotes = field.contains(u',') || field.contains(u'"') ||
                                 field.contains(u'\n') || field.contains(u'\r');
        if (!needsQuotes) {
            quoted << field;
            continue;
        }
        QString text = field;
        text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        quoted << u'"' + text + u'"';
    }
    return quoted.join(u',');
}

std::optional<QStringList> Split(const QString& line) {
    QStringList fields;
    QString field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes) {
            if (c != u'"')
                field += c;
            else if (i + 1 < line.size() && line[i + 1] == u'"')
                field += line[++i];
            else
                inQuotes = false;
        } else if (c == u'"') {
            inQuotes = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    if (inQuotes)
        return std::nullopt;
    fields << field;
    return fields;
}

} // namespace CsvLine

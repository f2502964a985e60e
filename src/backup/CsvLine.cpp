#include "CsvLine.h"

#include <QRegularExpression>

namespace {

constexpr QChar TextMark = u'\'';

bool IsNumber(const QString& field) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    return number.match(field).hasMatch();
}

// A formula's first character; a tab or a carriage return first is also taken for one.
bool StartsAsFormula(const QString& field) {
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !field.isEmpty() && starts.contains(field.front());
}

// The field as a spreadsheet shows it, before quoting. Blanks that a control character left
// in front of a formula do not hide it.
QString Cell(const QString& field) {
    QString cell = field;
    for (QChar& c : cell)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    const bool marked =
        StartsAsFormula(field) || StartsAsFormula(cell.trimmed()) || cell.startsWith(TextMark);
    return marked && !IsNumber(field) ? TextMark + cell : cell;
}

} // namespace

namespace CsvLine {

QString Join(const QStringList& fields) {
    QStringList quoted;
    for (const QString& original : fields) {
        const QString field = Cell(original);
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
    const auto keep = [&fields](const QString& field) {
        fields << (field.startsWith(TextMark) ? field.mid(1) : field);
    };
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
            keep(field);
            field.clear();
        } else {
            field += c;
        }
    }
    if (inQuotes)
        return std::nullopt;
    keep(field);
    return fields;
}

} // namespace CsvLine

#pragma once
// One line of comma-separated fields: a field holding a comma, a quote or a line break is
// quoted, its quotes doubled.

#include <QString>
#include <QStringList>

#include <optional>

namespace CsvLine {

QString Join(const QStringList& fields);

// The fields of one line (without its line break); nullopt when a quote is left open.
std::optional<QStringList> Split(const QString& line);

} // namespace CsvLine

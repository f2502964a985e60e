#pragma once
// One line of comma-separated fields: a field holding a comma, a quote or a line break is
// quoted, its quotes doubled. A spreadsheet opens the line without running any of it: a text
// field that would start a formula ("=", "+", "-", "@", a tab or a carriage return) or that
// starts with an apostrophe gets a leading apostrophe, which spreadsheets take as "text";
// numbers ("-1.5", "+3", "1e5") stay numbers. Control characters are written as blanks.

#include <QString>
#include <QStringList>

#include <optional>

namespace CsvLine {

// Spreadsheets take a CSV file for UTF-8 by this mark at its start.
inline constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

QString Join(const QStringList& fields);

// The fields of one line (without its line break); nullopt when a quote is left open. A
// field's leading apostrophe, the mark Join adds, is dropped.
std::optional<QStringList> Split(const QString& line);

} // namespace CsvLine

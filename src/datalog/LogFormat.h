#pragma once
// The texts of a data log: the header of each column, numbers with the window's decimals,
// the date and time of a row and the text of a write event.
//
//     seconds,time,"Давление газа, кПа",...,event
//     0.000,2026-12-08 11:47:19,181.2,...,
//     3.118,2026-12-08 11:47:22,,...,"Обороты включения ПХХ: 1500 Об/мин → 1600 Об/мин"
//     5.402,2026-12-08 11:47:24,,...,"Отметка: рывок на 3-й передаче"
//
// After the live values stand the trim and its source, as the window's trim line reads them.

#include "Catalogue.h"
#include "CsvLine.h"

#include <QDateTime>
#include <QString>

#include <optional>

struct JournalRecord;

namespace LogFormat {

inline const QString SecondsHeader = QStringLiteral("seconds");
inline const QString TimeHeader = QStringLiteral("time");
inline const QString EventHeader = QStringLiteral("event");
// The trim as the window's trim line shows it, and where it came from (TrimSource's numbers).
inline const QString TrimName = QStringLiteral("Коррекция");
inline const QString TrimUnit = QStringLiteral("%");
inline const QString TrimSourceName = QStringLiteral("Режим коррекции");
// The trim line's two decimals.
inline constexpr int TrimDecimals = 2;
// A marker's event cell: the word alone, or followed by ": " and the technician's text.
inline const QString MarkerWord = QStringLiteral("Отметка");
// The longest text a marker keeps.
inline constexpr int MarkerTextLength = 80;
// Spreadsheets take the file for UTF-8 by its byte-order mark.
inline constexpr auto& ByteOrderMark = CsvLine::ByteOrderMark;

// "name, unit", or the name alone for a value without a unit.
QString HeaderOf(const Catalogue::Entry& entry);
// The name and unit of a header as HeaderOf writes it.
std::pair<QString, QString> SplitHeader(const QString& header);

// The decimals the window shows under this mask: the placeholders after its point.
int DecimalsOf(const QString& mask);

// The value with that many decimals, '.' as the point, rounded as the window rounds.
QString Number(long double value, int decimals);

// Seconds since the start of the recording, three decimals.
QString Seconds(double seconds);

// Local date and time, "yyyy-MM-dd HH:mm:ss".
QString TimeText(const QDateTime& time);

// "name: old → new", the words as the window shows them.
QString EventText(const JournalRecord& record);

// The headers of the trim's two columns.
QString TrimHeader();
QString TrimSourceHeader();

// The event cell of a marker, its text cut to one line of MarkerTextLength characters.
QString MarkerEventText(const QString& text);
// The technician's text of a marker's event cell (empty for a marker without one); none for
// any other event.
std::optional<QString> MarkerTextOf(const QString& eventText);

} // namespace LogFormat

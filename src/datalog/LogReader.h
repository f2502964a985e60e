#pragma once
// Reads a data log for replay, never writing to it. Columns are taken by their headers, so a
// log with fewer, reordered or extra columns opens with what it has (an added column that holds
// text is left out); a last line cut short is dropped. An event "Отметка" or "Отметка: <text>" is a
// marker. Seconds are finite, from 0 on, and never run back, events included.

#include "DataLog.h"

#include <QString>

#include <string_view>

namespace LogReader {

// Throws LogError naming the line that is not a line of a data log, or when the file cannot
// be read.
DataLog Read(const QString& path);

// The same for the file's bytes; `name` names the file in the message.
DataLog Parse(std::string_view bytes, const QString& name);

} // namespace LogReader

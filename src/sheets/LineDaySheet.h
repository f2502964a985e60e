#pragma once
// A production line's day on paper: the day's report rows (LineReport's columns) and the
// batch counts per station and in all.

#include "Sheet.h"

#include <QDate>
#include <QList>
#include <QStringList>

namespace Sheets {

Sheet LineDaySheet(const QDate& day, const QList<QStringList>& rows, const Identity& identity,
                   const QString& madeAt);

} // namespace Sheets

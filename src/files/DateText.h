#pragma once
// Dates as the controller and the production log hold them: always dd.MM.yy (8 characters),
// whatever the system's locale, like the stored examples ("15.03.02"). A locale's own short
// format would write "08.12.20" under dd.MM.yyyy and "8 Dec 20" under C.

#include <QDate>
#include <QString>

namespace DateText {

inline constexpr int DeviceLength = 8;

// "dd.MM.yy" with ASCII digits.
QString ForDevice(const QDate& date);

QString TodayForDevice();

} // namespace DateText

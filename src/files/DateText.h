#pragma once
// Dates as the controller and the production log hold them: the system's short date format,
// cut to 8 characters. The serial-number dialog shows the whole text.

#include <QDate>
#include <QString>

namespace DateText {

inline constexpr int DeviceLength = 8;

QString SystemShortFormat();

QString Full(const QDate& date, const QString& format);
// Full(), cut to its first DeviceLength characters: dd.MM.yyyy gives "06.12.20".
QString ForDevice(const QDate& date, const QString& format);

QString TodayFull();
QString TodayForDevice();

} // namespace DateText

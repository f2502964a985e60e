#include "DateText.h"

#include <QLocale>

namespace DateText {

QString SystemShortFormat() {
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString Full(const QDate& date, const QString& format) {
    return QLocale::system().toString(date, format);
}

QString ForDevice(const QDate& date, const QString& format) {
    return Full(date, format).left(DeviceLength);
}

QString TodayFull() {
    return Full(QDate::currentDate(), SystemShortFormat());
}

QString TodayForDevice() {
    return ForDevice(QDate::currentDate(), SystemShortFormat());
}

} // namespace DateText

#include "DateText.h"

#include <QLocale>

namespace DateText {

QString ForDevice(const QDate& date) {
    return QLocale::c().toString(date, QStringLiteral("dd.MM.yy"));
}

QString TodayForDevice() {
    return ForDevice(QDate::currentDate());
}

} // namespace DateText

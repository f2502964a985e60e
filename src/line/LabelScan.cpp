#include "LabelScan.h"

#include <algorithm>

namespace {

QString WithoutTrailingBlanks(QString text) {
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

std::optional<int> StationAwaiting(const QString& serial, const std::map<int, QString>& awaited,
                                   int except) {
    for (const auto& [station, expected] : awaited)
        if (station != except && expected == serial)
            return station;
    return std::nullopt;
}

} // namespace

bool LabelScan::IsSerialNumber(const QString& text) {
    if (text.size() != 24)
        return false;
    const QString digits = text.mid(19);
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); }) &&
           std::all_of(digits.begin(), digits.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

LabelScan LabelScan::Judge(int station, const QString& scanned,
                           const std::map<int, QString>& awaited) {
    const QString serial = WithoutTrailingBlanks(scanned);
    const auto own = awaited.find(station);
    if (own != awaited.end() && serial == own->second)
        return {Verdict::Verified, QStringLiteral("этикетка проверена")};
    if (const std::optional<int> other = StationAwaiting(serial, awaited, station))
        return {Verdict::WrongStation,
                QStringLiteral("Не принято: это этикетка места %1").arg(*other)};
    if (own == awaited.end())
        return {Verdict::NotAwaited,
                QStringLiteral("Не принято: место %1 не ждёт этикетку").arg(station)};
    if (!IsSerialNumber(serial))
        return {Verdict::NotSerial,
                QStringLiteral("Не принято: «%1» — не серийный номер").arg(serial.left(40))};
    return {Verdict::Mismatch, QStringLiteral("БРАК: этикетка не совпала")};
}

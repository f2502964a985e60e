#include "ControlTips.h"

#include <QWidget>

#include <cmath>

namespace ControlTips {

namespace {

constexpr int MostDecimals = 6;

// As many decimals as the step has, so that a bound reads as the control shows it.
int DecimalsOf(long double step) {
    for (int decimals = 0; decimals < MostDecimals; ++decimals) {
        const long double scaled = step * std::pow(10.0L, decimals);
        if (std::fabs(scaled - std::nearbyintl(scaled)) < 1e-9L)
            return decimals;
    }
    return MostDecimals;
}

QString Number(long double value, int decimals) {
    const QString text = QString::number(static_cast<double>(value), 'f', decimals);
    // A bound just above zero reads as zero, never as "-0".
    return text.startsWith(QLatin1Char('-')) && text.toDouble() == 0.0 ? text.mid(1) : text;
}

QString WithUnit(const QString& text, const QString& unit) {
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

QString AddressLine(const Catalogue::Entry& entry) {
    if (!entry.address)
        return QStringLiteral("Адрес: нет");
    const QString space = entry.space == Catalogue::Space::Param
                              ? QStringLiteral("параметр")
                              : QStringLiteral("текущее значение");
    return QStringLiteral("Адрес: %1 %2").arg(space).arg(*entry.address);
}

} // namespace

QString TipFor(const Catalogue::Entry& entry) {
    QStringList lines{entry.Name()};
    if (!entry.Unit().isEmpty())
        lines << QStringLiteral("Единица: ") + entry.Unit();
    const bool ranged =
        entry.kind == Catalogue::Kind::Value || entry.kind == Catalogue::Kind::Position;
    if (ranged && entry.min < entry.max) {
        const int decimals = DecimalsOf(entry.step);
        lines << WithUnit(QStringLiteral("Диапазон: от %1 до %2")
                              .arg(Number(entry.min, decimals), Number(entry.max, decimals)),
                          entry.Unit());
    }
    lines << AddressLine(entry);
    return lines.join(QLatin1Char('\n'));
}

void Install(QWidget& window) {
    for (const Catalogue::Entry& entry : Catalogue::All()) {
        if (*entry.control == '\0')
            continue;
        if (auto* control = window.findChild<QWidget*>(QString::fromLatin1(entry.control)))
            control->setToolTip(TipFor(entry));
    }
}

} // namespace ControlTips

#include "VehicleCard.h"

#include <QLocale>

#include <tuple>
#include <utility>
#include <vector>

namespace {

auto Tied(const VehicleCard& c) {
    return std::tie(c.make, c.model, c.year, c.engine, c.plate, c.vin, c.ownerName, c.ownerPhone,
                    c.notes);
}

} // namespace

bool VehicleCard::IsEmpty() const {
    return *this == VehicleCard{};
}

std::vector<std::pair<QString, QString>> VehicleCard::Fields() const {
    QString car = QStringList{make, model}.join(u' ').trimmed();
    if (!year.isEmpty())
        car += car.isEmpty() ? year : QStringLiteral(", %1").arg(year);
    std::vector<std::pair<QString, QString>> fields;
    for (const auto& [label, value] :
         {std::pair{QStringLiteral("Автомобиль"), car},
          std::pair{QStringLiteral("Двигатель"), engine},
          std::pair{QStringLiteral("Госномер"), plate}, std::pair{QStringLiteral("VIN"), vin},
          std::pair{QStringLiteral("Владелец"),
                    QStringList{ownerName, ownerPhone}.join(u' ').trimmed()}})
        if (!value.isEmpty())
            fields.emplace_back(label, value);
    return fields;
}

bool VehicleCard::operator==(const VehicleCard& other) const {
    return Tied(*this) == Tied(other);
}

bool NextService::DueOn(const QDate& today, std::optional<int> lastOdometer) const {
    return (date && *date <= today) || (odometer && lastOdometer && *lastOdometer >= *odometer);
}

QString NextService::Text() const {
    QStringList when;
    if (date)
        when << QStringLiteral("до %1").arg(date->toString(QStringLiteral("dd.MM.yyyy")));
    if (odometer)
        when << QStringLiteral("%1 км").arg(QLocale(QLocale::Russian).toString(*odometer));
    const QString what = text.isEmpty() ? QStringLiteral("ТО") : text;
    return when.isEmpty() ? what
                          : QStringLiteral("%1: %2").arg(what, when.join(QStringLiteral(" или ")));
}

bool NextService::operator==(const NextService& other) const {
    return std::tie(date, odometer, text) == std::tie(other.date, other.odometer, other.text);
}

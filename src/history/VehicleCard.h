#pragma once
// The car a controller is fitted to, and its next service. The owner's fields are optional and
// stay on this machine.

#include <QDate>
#include <QString>

#include <optional>

struct VehicleCard {
    QString make, model, year, engine, plate, vin;
    QString ownerName, ownerPhone;
    QString notes;

    bool IsEmpty() const;
    bool HasOwner() const { return !ownerName.isEmpty() || !ownerPhone.isEmpty(); }
    // The card's fields for a sheet's header, in order, the empty ones left out.
    std::vector<std::pair<QString, QString>> Fields() const;
    bool operator==(const VehicleCard& other) const;
};

struct NextService {
    std::optional<QDate> date;
    std::optional<int> odometer; // km
    QString text;                // "замена фильтра газа"

    bool IsSet() const { return date || odometer; }
    // Due on `today` or when the car has run `odometer` km (none: not known).
    bool DueOn(const QDate& today, std::optional<int> lastOdometer) const;
    // "замена фильтра газа: до 01.03.2027 или 120 000 км".
    QString Text() const;
    bool operator==(const NextService& other) const;
};

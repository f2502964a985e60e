#pragma once
// One unit attempt of the production line as the store keeps it, and what became of a serial
// number the store gave.

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

struct LineAttempt {
    QString uid;    // made where the unit was worked: the attempt is recorded once by it
    QDateTime time; // when the result was known
    QString pc;     // the PC whose station worked the unit
    int station = 0;
    QString operatorName;
    QString serial; // as the controller holds it after the attempt; empty when not read
    QString made;   // date of manufacture
    QString referenceName;
    QString referenceSha256;
    bool good = false; // every word read back as written, every live value within its limits
    QString reason;
    QString differed;
    qint64 durationMs = 0;
    int attempt = 1;     // 2, 3, … for a unit plugged in again
    QString numberTaken; // the serial number this attempt took from the store, if it took one
    // The unit's label as the report's cells tell it: printed or not, its scan's verdict, how
    // often it was printed again; empty and 0 for a unit without one.
    QString label;
    QString labelCheck;
    int labelReprints = 0;

    QJsonObject ToJson() const;
    static LineAttempt FromJson(const QJsonObject& json);
};

enum class NumberState {
    Reserved,  // taken for a unit, not yet in the controller
    Written,   // the controller was read back holding it
    Confirmed, // the unit holding it passed
    Abandoned, // its unit failed; never given again
};
QString NumberStateName(NumberState state);
std::optional<NumberState> NumberStateNamed(const QString& name);

// A time as the store keeps it: UTC, to the millisecond, in an order text compares alike.
QString StoreTime(const QDateTime& time);

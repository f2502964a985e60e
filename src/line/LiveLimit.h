#pragma once
// A plausibility limit on one live value: the unit's reading must lie within [low, high],
// in the value's shown units (volts for the supply voltage).

#include <QString>

#include <cstdint>
#include <optional>

struct LiveLimit {
    uint8_t address = 0; // live word
    long double low = 0;
    long double high = 0;

    // The live value's name in the catalogue; empty for a word it does not show.
    QString Name() const;
    // The word in shown units.
    long double ValueOf(uint16_t word) const;
    // Empty when the word is within the limit, else what failed:
    // "Напряжение питания 9,80 (11,00…15,00)".
    QString Failure(uint16_t word) const;
};

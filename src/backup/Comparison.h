#pragma once
// Two parameter blocks side by side: the words that differ, each with the name a technician
// knows it by and both values as the window would show them. No window here.

#include "SettingsRecords.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace Comparison {

struct Row {
    uint8_t address = 0;
    QString name;   // caption of the control or group that sets the word, else "Слово <n>"
    QString shownA; // as the window shows the word of side A (mask, scaling, unit or item)
    QString shownB;
    uint16_t wordA = 0;
    uint16_t wordB = 0;
};

// One row per address whose words differ, in address order.
std::vector<Row> Rows(const SettingsRecords::Words& a, const SettingsRecords::Words& b);

// The caption of the control or group that sets the word, or "Слово <address>".
QString NameOf(uint8_t address);

// The word as the window shows it; the plain number for a word that no control sets.
QString ShownText(uint8_t address, uint16_t word);

// Both raw words of a row: "1234 / 1240".
QString RawText(const Row& row);

} // namespace Comparison

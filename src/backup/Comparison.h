#pragma once
// Two parameter blocks side by side: the words that differ, each with the name a technician
// knows it by and both values as the window would show them. Words the window always writes
// together (LinkedWords) make one row. No window here.

#include "SettingsRecords.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace Comparison {

struct Word {
    uint8_t address = 0;
    uint16_t a = 0;
    uint16_t b = 0;
};

struct Row {
    uint8_t address = 0; // the word the row shows
    QString name;        // the word's name (Catalogue::ParamName)
    QString shownA;      // as the window shows the word of side A (mask, scaling, unit or item)
    QString shownB;
    uint16_t wordA = 0;
    uint16_t wordB = 0;
    std::vector<Word> words; // every word of the row, in the order the window writes them
};

// One row per address or group of linked words that differs, in address order of the shown
// words.
std::vector<Row> Rows(const SettingsRecords::Words& a, const SettingsRecords::Words& b);

// The caption of the control or group that sets the word, or what a word that no control sets
// is, with its number (Catalogue::ParamName).
QString NameOf(uint8_t address);

// The word as the window shows it; the plain number for a word that no control sets.
QString ShownText(uint8_t address, uint16_t word);

// The row's addresses, the shown word first: "57", "71, 96".
QString AddressText(const Row& row);

// Both raw words of a row: "1234 / 1240"; with their addresses for a group:
// "71: 4 / 6; 96: 7324 / 4883".
QString RawText(const Row& row);

} // namespace Comparison

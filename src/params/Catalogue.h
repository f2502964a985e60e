#pragma once
// Every controller word that the window shows or sets, with what a technician knows it by:
// its control, address, caption, unit, mask, range and scaling. The bindings, the selectors,
// the monitor, the settings-file checks and the live samples all take them from here.

#include "Scaling.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace Catalogue {

enum class Space { Param, Live };

// How the window shows the word: a number, an item of a list or of a radio pair (the word is
// the item's index), or a slider position.
enum class Kind { Value, List, Choice, Position };

struct Entry {
    const char* control; // object name of the control on the window; "" for none
    Space space;
    std::optional<uint8_t> address; // none for the edits bound to nothing
    Kind kind;
    const char* name; // UTF-8
    const char* unit; // UTF-8; "" for none
    const char* mask; // UTF-8; nullptr where the handlers switch the mask at run time
    long double min;  // after scaling; a list or choice: the first item's index
    long double max;
    long double step;
    Decode decode;
    std::optional<Encode> encode;        // none: the control never writes
    std::vector<const char*> items = {}; // list and choice items by word, UTF-8

    QString Name() const { return QString::fromUtf8(name); }
    QString Unit() const { return QString::fromUtf8(unit); }
    QString Mask() const { return mask ? QString::fromUtf8(mask) : QString(); }
    // The word as the window shows it: the engineering value in its mask (with the unit the
    // mask carries), or the item's text.
    QString ShownText(uint16_t word) const;
    // The value within the control's bounds that the control writes as this word, decoded
    // as its read decodes it (a word below zero as the negative number it stands for); none
    // when no such value is written as the word, or the control writes no number.
    std::optional<long double> WrittenValue(uint16_t word) const;
    // True when the word lies inside what the control accepts: an item of its list, a word
    // the control writes for a value within its bounds (the bounds' own words included, as
    // their rounding gives them), or for a control that never writes, a decoded value within
    // them.
    bool Accepts(uint16_t word) const;
};

// Every entry, in the window's order of pages.
const std::vector<Entry>& All();

// The entry of the control with this object name, or nullptr.
const Entry* ForControl(const char* control);

// The entry that sets parameter word `address` (the writing control, a list, a radio pair or
// the slider), or nullptr for a word that no control sets.
const Entry* SetterOf(uint8_t address);

// The name a technician knows parameter word `address` by: the caption of the control that
// sets it; for a word that no control sets, what it is with its number ("Постоянная цилиндров
// (слово 96)"), or "Слово <n>" when that is not known.
QString ParamName(uint8_t address);

// The live values a sample holds, in their column order.
const std::vector<const Entry*>& LiveValues();

} // namespace Catalogue

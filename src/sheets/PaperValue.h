#pragma once
// A parameter's value as paper gives it: the number as the window's control shows it, then
// the unit once, in the catalogue's Cyrillic, whatever the control's mask writes beside the
// number ("0.60 Volt", "1.5кП", "1.50mS" become "0.60 В", "1.5 кПа", "1.50 мс"). Items, counts
// and slider positions read as in the window.

#include "Catalogue.h"

#include <QString>

#include <cstdint>

namespace Sheets {

QString PaperValue(const Catalogue::Entry& entry, uint16_t word);

// The value of the word that the entry sets; the plain number for a word no control sets.
QString PaperValue(uint8_t address, uint16_t word);

} // namespace Sheets

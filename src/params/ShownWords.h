#pragma once
// The parameter words as the window's controls show them, without the window: the number in
// the control's mask within its range, the list's item, the chosen radio button, the slider's
// position. The selectors fill the controls by the same rules.

#include "Catalogue.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace ShownWords {

// The list item the window selects for an option word; -1 selects nothing.
int ValveItem(uint16_t word);
int ThrottleSensorItem(uint16_t word);
int StartModeItem(uint16_t word);

// The masks of the coil and cylinder counts, switched by the count they show.
QString CoilMask(long double count);
QString CylinderMask(long double count);

// The caption of the switch-over group for the start mode's item; none leaves it as it is.
std::optional<QString> SwitchOverCaption(int startItem);

// The text of the entry's control for the word; "—" for a list that selects nothing.
QString Text(const Catalogue::Entry& entry, uint16_t word);

} // namespace ShownWords

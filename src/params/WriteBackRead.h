#pragma once
// The one read that may move a control whose handler writes what it shows: the radio pairs
// of the oxygen sensor (P51), the slope correction (P91) and the gas sensor (P93), and the
// damping slider (P97). Selecting a button or moving the slider writes the word back, so a
// word that came from anywhere but this word's own reply would be written to the controller.

#include <cstdint>
#include <optional>

// The parameter word, only from a good reply to its own read. The link gives a good reply
// only on a settled line, once every late reply of an earlier exchange has had its time to
// come and been dropped (ControllerLink::SendCommand); a failed read gives none, and the
// caller then leaves the control as it was.
std::optional<uint16_t> ReadForWriteBack(uint8_t address);

#pragma once
// The controller's identity: a 24-character serial number at parameter addresses 1..24 and an
// 8-character date of manufacture at 25..32, one Windows-1251 character per address.
// Characters 20..24 of the serial number hold the five-digit sequence number; "00000" marks a
// controller that has not been numbered yet.

#include "IdentityWords.h"

#include <QByteArray>
#include <QString>

namespace IdentityText {

using IdentityWords::DateLength;
using IdentityWords::FirstDateAddress;
using IdentityWords::FirstSerialAddress;
using IdentityWords::SerialLength;
// Zero-based position and length of the sequence number in the serial number.
inline constexpr int SequencePosition =
    IdentityWords::FirstSequenceAddress - IdentityWords::FirstSerialAddress;
using IdentityWords::SequenceLength;
inline constexpr char UnnumberedSequence[] = "00000";
// Stands in the last place of a sequence number while it is being written: a numbering cut
// part-way leaves the controller with a number that is plainly unfinished, never with digits
// that another controller holds.
inline constexpr char IncompleteMark = '?';

bool IsUnnumbered(const QString& serial);

enum class SequenceState {
    Unnumbered, // "00000"
    Incomplete, // a numbering was cut before its last write
    Numbered,   // anything else, as it always was
};
SequenceState StateOf(const QString& serial);

// The bytes written to addresses 1..24: the serial number padded with blanks, cut to 24.
QByteArray SerialBytes(const QString& serial);
// The bytes written to addresses 25..32: a shorter date is padded with blanks.
QByteArray DateBytes(const QString& date);

} // namespace IdentityText

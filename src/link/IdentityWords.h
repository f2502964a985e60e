#pragma once
// The parameter words that tell a controller of this type and tell one controller from
// another: the identity word every Tarvik-Q5 holds, and the serial number and date of
// manufacture, one Windows-1251 character per word. Plain C++: the emulator's controller
// model holds the same words.

#include <cstdint>

namespace IdentityWords {

inline constexpr uint8_t Address = 47;
inline constexpr uint16_t Value = 503;

inline constexpr int SerialLength = 24;
inline constexpr int DateLength = 8;
inline constexpr uint8_t FirstSerialAddress = 1;
inline constexpr uint8_t FirstDateAddress = FirstSerialAddress + SerialLength;
// The five-digit sequence number: the last five characters of the serial number.
inline constexpr int SequenceLength = 5;
inline constexpr uint8_t FirstSequenceAddress = FirstDateAddress - SequenceLength;

} // namespace IdentityWords

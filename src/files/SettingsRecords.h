#pragma once
// The settings file: the controller's parameter block at addresses 33..99, one 4-byte record
// per address in address order, no header. A record holds the word low byte first, the
// checksum byte of the reply frame that carried it, and a zero byte. Loading uses the word
// only. A record of a word that could not be read from the controller holds no word and has
// UnreadMark for its fourth byte; files saved before that have zero there.

#include <QByteArray>

#include <array>
#include <cstdint>

namespace SettingsRecords {

inline constexpr int FirstAddress = 33;
inline constexpr int LastAddress = 99;
inline constexpr int Count = LastAddress - FirstAddress + 1;
inline constexpr int RecordSize = 4;
inline constexpr int FileSize = Count * RecordSize;

inline constexpr uint8_t UnreadMark = 0xFF;

struct Entry {
    uint16_t word = 0;
    uint8_t replyChecksum = 0;
    bool unread = false; // written as a record without a word
};

using Entries = std::array<Entry, Count>;
using Words = std::array<uint16_t, Count>;

QByteArray Build(const Entries& entries);

// The words of the first FileSize bytes; fewer bytes throw EInOutError "Read beyond end of
// file".
Words Parse(const QByteArray& bytes);

} // namespace SettingsRecords

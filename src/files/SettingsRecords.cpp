#include "SettingsRecords.h"

#include "InOutError.h"

namespace SettingsRecords {

QByteArray Build(const Entries& entries) {
    QByteArray bytes;
    bytes.reserve(FileSize);
    for (const Entry& entry : entries) {
        if (entry.unread) {
            bytes.append(3, '\0');
            bytes.append(static_cast<char>(UnreadMark));
            continue;
        }
        bytes.append(static_cast<char>(entry.word & 0xFF));
        bytes.append(static_cast<char>(entry.word >> 8));
        bytes.append(static_cast<char>(entry.replyChecksum));
        bytes.append('\0');
    }
    return bytes;
}

Words Parse(const QByteArray& bytes) {
    if (bytes.size() < FileSize)
        throw EInOutError(InOutCode::ReadBeyondEnd);
    Words words{};
    for (int i = 0; i < Count; ++i) {
        const auto low = static_cast<uint8_t>(bytes[i * RecordSize]);
        const auto high = static_cast<uint8_t>(bytes[i * RecordSize + 1]);
        words[static_cast<std::size_t>(i)] = static_cast<uint16_t>(low | (high << 8));
    }
    return words;
}

} // namespace SettingsRecords

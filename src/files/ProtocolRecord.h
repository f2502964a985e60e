#pragma once
// One 42-byte record of the production log, read as one text line:
//   offset  0: serial length (24 in every record written), 1..24: serial characters
//   offset 25: 4, 26..29: " ** "
//   offset 30: date length (0..8), 31..38: date characters
//   offset 39: 2, 40..41: CR LF
// Characters are Windows-1251; bytes beyond a field's length are not significant.

#include <QByteArray>

#include <array>
#include <cstdint>

class ProtocolRecord {
public:
    static constexpr int Size = 42;
    static constexpr int SerialCapacity = 24;
    static constexpr int DateCapacity = 8;

    // A record with the separator and the line end; unused bytes are zero.
    ProtocolRecord();
    static ProtocolRecord Make(const QByteArray& serial, const QByteArray& date);
    // The first Size bytes; fewer bytes make the missing ones zero.
    static ProtocolRecord FromBytes(const QByteArray& bytes);

    QByteArray bytes() const;

    // A field's characters up to its length byte (a length beyond the field counts as full).
    QByteArray serial() const;
    QByteArray date() const;
    QByteArray separator() const;

    // Sets a field's characters and length byte; characters beyond the field's capacity are
    // dropped, bytes beyond the new length keep what they held.
    void setSerial(const QByteArray& serial);
    void setDate(const QByteArray& date);
    void setSeparator(const QByteArray& separator);

    // Where the separator's characters start in the record's bytes.
    static int SeparatorTextOffset();

private:
    QByteArray field(int lengthOffset, int capacity) const;
    void setField(int lengthOffset, int capacity, const QByteArray& text);

    std::array<uint8_t, Size> raw_{};
};

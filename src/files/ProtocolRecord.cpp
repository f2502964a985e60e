#include "ProtocolRecord.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int SerialOffset = 0;
constexpr int SeparatorOffset = SerialOffset + 1 + ProtocolRecord::SerialCapacity;
constexpr int DateOffset = SeparatorOffset + 1 + 4;
constexpr int LineEndOffset = DateOffset + 1 + ProtocolRecord::DateCapacity;
static_assert(LineEndOffset + 1 + 2 == ProtocolRecord::Size);

constexpr char Separator[] = " ** ";
constexpr char LineEnd[] = "\r\n";

} // namespace

ProtocolRecord::ProtocolRecord() {
    setField(SeparatorOffset, 4, QByteArray(Separator));
    setField(LineEndOffset, 2, QByteArray(LineEnd));
}

ProtocolRecord ProtocolRecord::Make(const QByteArray& serial, const QByteArray& date) {
    ProtocolRecord record;
    record.setSerial(serial);
    record.setDate(date);
    return record;
}

ProtocolRecord ProtocolRecord::FromBytes(const QByteArray& bytes) {
    ProtocolRecord record;
    record.raw_.fill(0);
    std::memcpy(record.raw_.data(), bytes.constData(),
                static_cast<size_t>(std::min<qsizetype>(bytes.size(), Size)));
    return record;
}

QByteArray ProtocolRecord::bytes() const {
    return QByteArray(reinterpret_cast<const char*>(raw_.data()), Size);
}

QByteArray ProtocolRecord::serial() const {
    return field(SerialOffset, SerialCapacity);
}

QByteArray ProtocolRecord::date() const {
    return field(DateOffset, DateCapacity);
}

QByteArray ProtocolRecord::separator() const {
    return field(SeparatorOffset, 4);
}

void ProtocolRecord::setSeparator(const QByteArray& separator) {
    setField(SeparatorOffset, 4, separator);
}

int ProtocolRecord::SeparatorTextOffset() {
    return SeparatorOffset + 1;
}

void ProtocolRecord::setSerial(const QByteArray& serial) {
    setField(SerialOffset, SerialCapacity, serial);
}

void ProtocolRecord::setDate(const QByteArray& date) {
    setField(DateOffset, DateCapacity, date);
}

QByteArray ProtocolRecord::field(int lengthOffset, int capacity) const {
    const int length = std::min<int>(raw_[static_cast<size_t>(lengthOffset)], capacity);
    return QByteArray(reinterpret_cast<const char*>(raw_.data() + lengthOffset + 1), length);
}

void ProtocolRecord::setField(int lengthOffset, int capacity, const QByteArray& text) {
    const int length = static_cast<int>(std::min<qsizetype>(text.size(), capacity));
    raw_[static_cast<size_t>(lengthOffset)] = static_cast<uint8_t>(length);
    std::memcpy(raw_.data() + lengthOffset + 1, text.constData(), static_cast<size_t>(length));
}

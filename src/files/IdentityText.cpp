#include "IdentityText.h"

#include "Cp1251.h"

namespace {

QByteArray FixedWidth(const QString& text, int width) {
    return Cp1251::Encode(text).left(width).leftJustified(width, ' ');
}

} // namespace

namespace IdentityText {

bool IsUnnumbered(const QString& serial) {
    return serial.mid(SequencePosition, SequenceLength) == QLatin1String(UnnumberedSequence);
}

QByteArray SerialBytes(const QString& serial) {
    return FixedWidth(serial, SerialLength);
}

QByteArray DateBytes(const QString& date) {
    return FixedWidth(date, DateLength);
}

} // namespace IdentityText

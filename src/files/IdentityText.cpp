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

SequenceState StateOf(const QString& serial) {
    if (IsUnnumbered(serial))
        return SequenceState::Unnumbered;
    const qsizetype last = SequencePosition + SequenceLength - 1;
    return serial.size() > last && serial[last] == QLatin1Char(IncompleteMark)
               ? SequenceState::Incomplete
               : SequenceState::Numbered;
}

QByteArray SerialBytes(const QString& serial) {
    return FixedWidth(serial, SerialLength);
}

QByteArray DateBytes(const QString& date) {
    return FixedWidth(date, DateLength);
}

} // namespace IdentityText

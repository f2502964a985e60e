#include "PaperValue.h"

#include "ShownWords.h"

namespace Sheets {

namespace {

bool IsDigitPlace(QChar c) {
    return c == QLatin1Char('#') || c == QLatin1Char('0');
}

// The mask's number alone: from its first digit place or point to its last digit place.
QByteArray NumberOf(const QString& mask) {
    qsizetype first = 0;
    while (first < mask.size() && !IsDigitPlace(mask[first]) && mask[first] != QLatin1Char('.'))
        ++first;
    qsizetype last = mask.size() - 1;
    while (last >= first && !IsDigitPlace(mask[last]))
        --last;
    return mask.mid(first, last - first + 1).toUtf8();
}

} // namespace

QString PaperValue(const Catalogue::Entry& entry, uint16_t word) {
    if (entry.kind != Catalogue::Kind::Value || !entry.mask)
        return ShownWords::Text(entry, word);
    const QByteArray number = NumberOf(entry.Mask());
    Catalogue::Entry plain = entry;
    plain.mask = number.constData();
    const QString shown = ShownWords::Text(plain, word);
    return entry.Unit().isEmpty() ? shown : shown + QLatin1Char(' ') + entry.Unit();
}

QString PaperValue(uint8_t address, uint16_t word) {
    const Catalogue::Entry* entry = Catalogue::SetterOf(address);
    return entry ? PaperValue(*entry, word) : QString::number(word);
}

} // namespace Sheets

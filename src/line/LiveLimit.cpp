#include "LiveLimit.h"

#include "Catalogue.h"

namespace {

const Catalogue::Entry* LiveEntry(uint8_t address) {
    for (const Catalogue::Entry* entry : Catalogue::LiveValues())
        if (entry->address == address)
            return entry;
    return nullptr;
}

QString Number(long double value) {
    return QString::number(static_cast<double>(value), 'f', 2).replace(u'.', u',');
}

} // namespace

QString LiveLimit::Name() const {
    const Catalogue::Entry* entry = LiveEntry(address);
    return entry ? entry->Name() : QString();
}

long double LiveLimit::ValueOf(uint16_t word) const {
    const Catalogue::Entry* entry = LiveEntry(address);
    return entry ? DecodeWord(entry->decode, word) : word;
}

QString LiveLimit::Failure(uint16_t word) const {
    const long double value = ValueOf(word);
    if (value >= low && value <= high)
        return {};
    return QStringLiteral("%1 %2 (%3…%4)").arg(Name(), Number(value), Number(low), Number(high));
}

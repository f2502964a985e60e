#include "Comparison.h"

#include "Catalogue.h"
#include "ShownWords.h"

namespace Comparison {

std::vector<Row> Rows(const SettingsRecords::Words& a, const SettingsRecords::Words& b) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const auto address = static_cast<uint8_t>(SettingsRecords::FirstAddress + i);
        rows.push_back({address, NameOf(address), ShownText(address, a[i]),
                        ShownText(address, b[i]), a[i], b[i]});
    }
    return rows;
}

QString NameOf(uint8_t address) {
    const Catalogue::Entry* entry = Catalogue::SetterOf(address);
    return entry ? entry->Name() : QStringLiteral("Слово %1").arg(address);
}

QString ShownText(uint8_t address, uint16_t word) {
    const Catalogue::Entry* entry = Catalogue::SetterOf(address);
    return entry ? ShownWords::Text(*entry, word) : QString::number(word);
}

QString RawText(const Row& row) {
    return QStringLiteral("%1 / %2").arg(row.wordA).arg(row.wordB);
}

} // namespace Comparison

#include "Comparison.h"

#include "Catalogue.h"
#include "LinkedWords.h"
#include "ShownWords.h"

#include <QStringList>

namespace Comparison {

namespace {

std::size_t IndexOf(uint8_t address) {
    return static_cast<std::size_t>(address - SettingsRecords::FirstAddress);
}

// The row's words shown word first, then the others in the order written.
std::vector<Word> ShownFirst(const Row& row) {
    std::vector<Word> words;
    for (const Word& word : row.words)
        if (word.address == row.address)
            words.insert(words.begin(), word);
        else
            words.push_back(word);
    return words;
}

} // namespace

std::vector<Row> Rows(const SettingsRecords::Words& a, const SettingsRecords::Words& b) {
    std::vector<Row> rows;
    for (int address = SettingsRecords::FirstAddress; address <= SettingsRecords::LastAddress;
         ++address) {
        const auto shown = static_cast<uint8_t>(address);
        const LinkedWords::Group* group = LinkedWords::Of(shown);
        if (group && group->shown != shown)
            continue; // in the row of its group's shown word
        Row row{shown,
                NameOf(shown),
                ShownText(shown, a[IndexOf(shown)]),
                ShownText(shown, b[IndexOf(shown)]),
                a[IndexOf(shown)],
                b[IndexOf(shown)],
                {}};
        bool differs = false;
        for (uint8_t word : group ? group->writes : std::vector<uint8_t>{shown}) {
            row.words.push_back({word, a[IndexOf(word)], b[IndexOf(word)]});
            differs = differs || a[IndexOf(word)] != b[IndexOf(word)];
        }
        if (differs)
            rows.push_back(std::move(row));
    }
    return rows;
}

QString NameOf(uint8_t address) {
    return Catalogue::ParamName(address);
}

QString ShownText(uint8_t address, uint16_t word) {
    const Catalogue::Entry* entry = Catalogue::SetterOf(address);
    return entry ? ShownWords::Text(*entry, word) : QString::number(word);
}

QString AddressText(const Row& row) {
    QStringList addresses;
    for (const Word& word : ShownFirst(row))
        addresses << QString::number(word.address);
    return addresses.join(QStringLiteral(", "));
}

QString RawText(const Row& row) {
    if (row.words.size() < 2)
        return QStringLiteral("%1 / %2").arg(row.wordA).arg(row.wordB);
    QStringList pairs;
    for (const Word& word : ShownFirst(row))
        pairs << QStringLiteral("%1: %2 / %3").arg(word.address).arg(word.a).arg(word.b);
    return pairs.join(QStringLiteral("; "));
}

} // namespace Comparison

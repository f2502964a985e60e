#include "SettingsCheck.h"

#include "Catalogue.h"
#include "SettingsRecords.h"

namespace SettingsCheck {

namespace {
constexpr int NamedAtMost = 5;

QString NameOf(uint8_t address) {
    const Catalogue::Entry* entry = Catalogue::SetterOf(address);
    return entry ? entry->Name() : QStringLiteral("Параметр %1").arg(address);
}
} // namespace

Findings Examine(const QByteArray& bytes) {
    Findings found;
    const SettingsRecords::Words words = SettingsRecords::Parse(bytes);
    const auto word = [&words](int address) {
        return words[static_cast<std::size_t>(address - SettingsRecords::FirstAddress)];
    };
    if (word(IdentityAddress) != IdentityWord) {
        found.foreign = true;
        return found;
    }
    for (int address = SettingsRecords::FirstAddress; address <= SettingsRecords::LastAddress;
         ++address) {
        const int index = address - SettingsRecords::FirstAddress;
        const bool damaged = bytes[index * SettingsRecords::RecordSize + 3] != '\0';
        const Catalogue::Entry* entry = Catalogue::SetterOf(static_cast<uint8_t>(address));
        const bool refused = entry && !entry->Accepts(word(address));
        if (damaged || refused)
            found.doubtful << NameOf(static_cast<uint8_t>(address));
    }
    return found;
}

QString ForeignFileText() {
    return QStringLiteral("Файл не является файлом установок Tarvik-Q5!");
}

QString DoubtfulQuestion(const QStringList& names) {
    QString text = QStringLiteral("В файле есть значения, которые окно программы не принимает:\n");
    for (int i = 0; i < names.size() && i < NamedAtMost; ++i)
        text += QStringLiteral("  ") + names.at(i) + QLatin1Char('\n');
    if (names.size() > NamedAtMost)
        text += QStringLiteral("  и ещё %1\n").arg(names.size() - NamedAtMost);
    text += QStringLiteral("Всё равно записать файл в прибор?");
    return text;
}

} // namespace SettingsCheck

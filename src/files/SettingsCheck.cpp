#include "SettingsCheck.h"

#include "Catalogue.h"
#include "CountText.h"
#include "IdentityWords.h"
#include "SettingsRecords.h"

namespace SettingsCheck {

namespace {
constexpr int NamedAtMost = 5;

QString NameOf(uint8_t address) {
    return Catalogue::ParamName(address);
}

// "<heading>:" and up to five names, one a line.
QString NamedList(const QString& heading, const QStringList& names) {
    if (names.isEmpty())
        return {};
    QString text = heading + QStringLiteral(":\n");
    for (int i = 0; i < names.size() && i < NamedAtMost; ++i)
        text += QStringLiteral("  ") + names.at(i) + QLatin1Char('\n');
    if (names.size() > NamedAtMost)
        text += QStringLiteral("  и ещё %1\n").arg(names.size() - NamedAtMost);
    return text;
}
} // namespace

bool Findings::Doubtful() const {
    return !damaged.isEmpty() || !outOfRange.isEmpty() || length > SettingsRecords::FileSize;
}

Findings Examine(const QByteArray& bytes, qint64 length) {
    Findings found;
    found.length = length;
    const SettingsRecords::Words words = SettingsRecords::Parse(bytes);
    const auto word = [&words](int address) {
        return words[static_cast<std::size_t>(address - SettingsRecords::FirstAddress)];
    };
    if (word(IdentityWords::Address) != IdentityWords::Value) {
        found.foreign = true;
        return found;
    }
    for (int address = SettingsRecords::FirstAddress; address <= SettingsRecords::LastAddress;
         ++address) {
        const int index = address - SettingsRecords::FirstAddress;
        const Catalogue::Entry* entry = Catalogue::SetterOf(static_cast<uint8_t>(address));
        const auto fourth = static_cast<uint8_t>(bytes[index * SettingsRecords::RecordSize + 3]);
        if (fourth == SettingsRecords::UnreadMark)
            found.unread << NameOf(static_cast<uint8_t>(address));
        else if (fourth != 0)
            found.damaged << NameOf(static_cast<uint8_t>(address));
        else if (entry && !entry->Accepts(word(address)))
            found.outOfRange << NameOf(static_cast<uint8_t>(address));
    }
    return found;
}

QString ForeignFileText() {
    return QStringLiteral("Файл не является файлом установок Tarvik-Q5!");
}

QString UnreadFileText(const Findings& found) {
    return NamedList(QStringLiteral("Эти значения не удалось прочитать из прибора, когда "
                                    "сохранялся файл"),
                     found.unread) +
           QStringLiteral("Файл нельзя записать в прибор.");
}

namespace {

// How the question ends for each use: what becomes of the first records, and what is asked.
struct UseWords {
    const char* taken;
    const char* question;
};

UseWords WordsFor(Use use) {
    switch (use) {
    case Use::Open:
        return {"открыты", "Всё равно открыть файл?"};
    case Use::Reference:
        return {"взяты", "Всё равно взять этот файл установок для линии?"};
    case Use::Write:
        break;
    }
    return {"записаны", "Всё равно записать файл в прибор?"};
}

} // namespace

QString DoubtfulQuestion(const Findings& found, Use use) {
    QString text = NamedList(QStringLiteral("В файле повреждены записи"), found.damaged);
    text += NamedList(QStringLiteral("В файле есть значения вне допустимых пределов"),
                      found.outOfRange);
    if (found.length > SettingsRecords::FileSize)
        text +=
            QStringLiteral("Файл длиннее файла установок: %1 вместо %2; %3 будут только "
                           "первые %2.\n")
                .arg(CountText::Of(found.length, {QStringLiteral("байт"), QStringLiteral("байта"),
                                                  QStringLiteral("байт")}))
                .arg(SettingsRecords::FileSize)
                .arg(QString::fromUtf8(WordsFor(use).taken));
    text += QString::fromUtf8(WordsFor(use).question);
    return text;
}

} // namespace SettingsCheck

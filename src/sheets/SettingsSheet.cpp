#include "SettingsSheet.h"

#include "Addresses.h"
#include "Comparison.h"
#include "PaperValue.h"
#include "ShownWords.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace Sheets {

namespace {

uint16_t WordAt(const SettingsRecords::Words& words, uint8_t address) {
    return words[static_cast<std::size_t>(address - SettingsRecords::FirstAddress)];
}

// The group's caption as the window shows it for these words: the switch-over group follows
// the start mode.
QString GroupCaption(const Placed& placed, const SettingsRecords::Words& words) {
    if (placed.groupName == QLatin1String("GroupBox15"))
        if (const auto caption = ShownWords::SwitchOverCaption(
                ShownWords::StartModeItem(WordAt(words, Param::StartMode))))
            return *caption;
    return Tidy(placed.group);
}

QString ValueText(const Catalogue::Entry& entry, uint16_t word) {
    const QString shown = PaperValue(entry, word);
    if (entry.Accepts(word))
        return shown;
    return QStringLiteral("%1 (в приборе слово %2, вне пределов)").arg(shown).arg(word);
}

} // namespace

QString Tidy(const QString& caption) {
    static const QRegularExpression headings(QStringLiteral(" {3,}"));
    static const QRegularExpression blanks(QStringLiteral(" {2}"));
    return QString(caption)
        .replace(headings, QStringLiteral(" / "))
        .replace(blanks, QStringLiteral(" "))
        .trimmed();
}

QString HiddenPagesTitle() {
    return QStringLiteral("Скрытые сервисные страницы (в окне не показываются)");
}

Sheet SettingsSheet(const Outline& outline, const SettingsRecords::Words& words,
                    const Identity& identity, const QString& madeAt) {
    Sheet sheet;
    sheet.title = QStringLiteral("Лист установок контроллера Tarvik-Q5");
    sheet.header = HeaderOf(identity, madeAt);
    sheet.footer = identity.serial.isEmpty() ? identity.fileName : identity.serial;
    QHash<QString, int> groupSizes;
    for (const Placed& placed : outline)
        ++groupSizes[placed.groupName];

    const auto sectionOf = [&sheet](const QString& title) -> Section& {
        for (Section& section : sheet.sections)
            if (section.title == title)
                return section;
        sheet.sections.push_back(
            {title, {QStringLiteral("Параметр"), QStringLiteral("Значение")}, {}, {62, 38}});
        return sheet.sections.back();
    };
    // The hidden pages come last, whatever their place among the window's pages.
    Outline ordered = outline;
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const Placed& placed) { return !placed.onHiddenPage; });
    QString page;
    QString group;
    bool underHeading = false;
    for (const Placed& placed : ordered) {
        Section& section = sectionOf(placed.onHiddenPage ? HiddenPagesTitle() : placed.page);
        if (placed.page != page) {
            page = placed.page;
            group.clear();
            underHeading = false;
            if (placed.onHiddenPage)
                section.rows.push_back({{page}, RowKind::PageHeading});
        }
        const Catalogue::Entry& entry = *placed.entry;
        // A group of one parameter under its own caption needs no heading, unless a heading
        // above would seem to hold it.
        if (placed.groupName != group) {
            group = placed.groupName;
            const QString caption = GroupCaption(placed, words);
            underHeading = underHeading || groupSizes[group] > 1 || caption != entry.Name();
            if (underHeading)
                section.rows.push_back({{caption}, RowKind::Heading});
        }
        section.rows.push_back({{entry.Name(), ValueText(entry, WordAt(words, *entry.address))}});
    }
    return sheet;
}

EWordUnread::EWordUnread(uint8_t address)
    : std::runtime_error(QStringLiteral("Лист не составлен: нет ответа на чтение слова %1 (%2).")
                             .arg(address)
                             .arg(Comparison::NameOf(address))
                             .toStdString()),
      address_(address) {}

SettingsRecords::Words ReadWords(const std::function<std::optional<uint16_t>(uint8_t)>& read) {
    SettingsRecords::Words words{};
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        const auto address = static_cast<uint8_t>(SettingsRecords::FirstAddress + i);
        const std::optional<uint16_t> word = read(address);
        if (!word)
            throw EWordUnread(address);
        words[static_cast<std::size_t>(i)] = *word;
    }
    return words;
}

} // namespace Sheets

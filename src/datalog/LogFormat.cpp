#include "LogFormat.h"

#include "ChangeJournal.h"
#include "FormatMask.h"

#include <algorithm>

namespace LogFormat {

namespace {
const QString HeaderSeparator = QStringLiteral(", ");
const QString MarkerSeparator = QStringLiteral(": ");
} // namespace

QString HeaderOf(const Catalogue::Entry& entry) {
    return entry.unit[0] == '\0' ? entry.Name() : entry.Name() + HeaderSeparator + entry.Unit();
}

std::pair<QString, QString> SplitHeader(const QString& header) {
    const qsizetype at = header.lastIndexOf(HeaderSeparator);
    if (at < 0)
        return {header.trimmed(), QString()};
    return {header.left(at).trimmed(), header.mid(at + HeaderSeparator.size()).trimmed()};
}

int DecimalsOf(const QString& mask) {
    const qsizetype point = mask.indexOf(u'.');
    if (point < 0)
        return 0;
    int decimals = 0;
    for (qsizetype i = point + 1; i < mask.size(); ++i)
        if (mask[i] == u'#' || mask[i] == u'0')
            ++decimals;
    return decimals;
}

QString Number(long double value, int decimals) {
    static const QString masks[] = {QStringLiteral("0"), QStringLiteral("0.0"),
                                    QStringLiteral("0.00"), QStringLiteral("0.000")};
    const int clamped = std::clamp(decimals, 0, 3);
    return FormatMask::Format(masks[clamped], value).trimmed();
}

QString Seconds(double seconds) {
    return QString::number(seconds, 'f', 3);
}

QString TimeText(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString EventText(const JournalRecord& record) {
    const QString before =
        record.oldWord ? ChangeJournal::ShownWord(record, *record.oldWord) : QStringLiteral("?");
    return record.name + QStringLiteral(": ") + before + QStringLiteral(" → ") +
           ChangeJournal::ShownWord(record, record.newWord);
}

QString TrimHeader() {
    return TrimName + HeaderSeparator + TrimUnit;
}

QString TrimSourceHeader() {
    return TrimSourceName;
}

QString MarkerEventText(const QString& text) {
    const QString line = text.simplified().left(MarkerTextLength).trimmed();
    return line.isEmpty() ? MarkerWord : MarkerWord + MarkerSeparator + line;
}

std::optional<QString> MarkerTextOf(const QString& eventText) {
    if (eventText == MarkerWord)
        return QString();
    if (eventText.startsWith(MarkerWord + MarkerSeparator))
        return eventText.mid(MarkerWord.size() + MarkerSeparator.size());
    return std::nullopt;
}

} // namespace LogFormat

#include "LogReader.h"

#include "CsvLine.h"
#include "LogError.h"
#include "LogFormat.h"

#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

namespace LogReader {

namespace {

[[noreturn]] void Refuse(const QString& name, size_t line) {
    throw LogError(QStringLiteral("Файл «%1» не является записью данных: ошибка в строке %2.")
                       .arg(name)
                       .arg(line));
}

// Splits one line at its commas into `fields`; a quoted field keeps its quotes doubled,
// Unquote takes them off. False when a quote is left open.
bool SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    size_t at = 0;
    while (true) {
        size_t end = at;
        if (at < line.size() && line[at] == '"') {
            end = at + 1;
            while (true) {
                end = line.find('"', end);
                if (end == std::string_view::npos)
                    return false;
                if (end + 1 < line.size() && line[end + 1] == '"')
                    end += 2;
                else
                    break;
            }
            end = line.find(',', end);
        } else {
            end = line.find(',', at);
        }
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(at));
            return true;
        }
        fields.push_back(line.substr(at, end - at));
        at = end + 1;
    }
}

QString Unquote(std::string_view field) {
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        QString text = QString::fromUtf8(field.data() + 1, qsizetype(field.size() - 2));
        text.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        return text;
    }
    return QString::fromUtf8(field.data(), qsizetype(field.size()));
}

bool ToNumber(std::string_view field, double& value) {
    const char* end = field.data() + field.size();
    const auto [ptr, error] = std::from_chars(field.data(), end, value);
    return error == std::errc() && ptr == end;
}

// Seconds of a row: from the start of the recording to some ten years after it.
constexpr double LatestSeconds = 3.2e8;

bool ToSeconds(std::string_view field, double& seconds) {
    return ToNumber(field, seconds) && std::isfinite(seconds) && seconds >= 0 &&
           seconds <= LatestSeconds;
}

// The decimals of a column this program logs under this header, if it is one.
std::optional<int> LoggedDecimals(const QString& header) {
    for (const Catalogue::Entry* entry : Catalogue::LiveValues())
        if (LogFormat::HeaderOf(*entry) == header)
            return LogFormat::DecimalsOf(entry->Mask());
    if (header == LogFormat::TrimHeader())
        return LogFormat::TrimDecimals;
    if (header == LogFormat::TrimSourceHeader())
        return 0;
    return std::nullopt;
}

struct Layout {
    int seconds = -1;
    int time = -1;
    int event = -1;
    std::vector<int> valueField; // field index of each series
    // A column this program writes holds numbers only; a column added elsewhere that holds
    // text is no series and is left out.
    std::vector<bool> strict;
    std::vector<bool> text;
    size_t fields = 0;
};

Layout ReadHeader(std::string_view line, DataLog& log) {
    const auto header = CsvLine::Split(QString::fromUtf8(line.data(), qsizetype(line.size())));
    Layout layout;
    if (!header)
        return layout;
    layout.fields = size_t(header->size());
    for (int i = 0; i < header->size(); ++i) {
        const QString field = header->at(i).trimmed();
        if (field == LogFormat::SecondsHeader && layout.seconds < 0) {
            layout.seconds = i;
        } else if (field == LogFormat::TimeHeader && layout.time < 0) {
            layout.time = i;
        } else if (field == LogFormat::EventHeader && layout.event < 0) {
            layout.event = i;
        } else {
            auto [name, unit] = LogFormat::SplitHeader(field);
            const std::optional<int> logged = LoggedDecimals(field);
            log.series.push_back({name, unit, {}, logged.value_or(-1)});
            layout.valueField.push_back(i);
            layout.strict.push_back(logged.has_value());
            layout.text.push_back(false);
        }
    }
    return layout;
}

} // namespace

DataLog Parse(std::string_view bytes, const QString& name) {
    DataLog log;
    if (bytes.substr(0, 3) == LogFormat::ByteOrderMark)
        bytes.remove_prefix(3);
    // A last line without its line break was cut short: it is not read.
    const size_t whole = bytes.rfind('\n');
    if (whole == std::string_view::npos)
        Refuse(name, 1);
    bytes = bytes.substr(0, whole + 1);

    size_t lineNumber = 0;
    size_t at = 0;
    auto nextLine = [&](std::string_view& line) {
        if (at >= bytes.size())
            return false;
        const size_t end = bytes.find('\n', at);
        line = bytes.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        at = end + 1;
        ++lineNumber;
        return true;
    };

    std::string_view line;
    nextLine(line);
    Layout layout = ReadHeader(line, log);
    if (layout.seconds < 0)
        Refuse(name, 1);

    const size_t expectedRows = bytes.size() / std::max<size_t>(line.size() / 2, 16);
    log.seconds.reserve(expectedRows);
    for (LogSeries& s : log.series)
        s.values.reserve(expectedRows);

    std::vector<std::string_view> fields;
    std::vector<double> row(log.series.size());
    std::optional<double> lastSeconds;
    while (nextLine(line)) {
        if (line.empty())
            continue;
        // Cells beyond the header's columns were added by hand: they are not read.
        if (!SplitFields(line, fields) || fields.size() < layout.fields)
            Refuse(name, lineNumber);
        double seconds = 0;
        if (!ToSeconds(fields[size_t(layout.seconds)], seconds) ||
            (lastSeconds && seconds < *lastSeconds))
            Refuse(name, lineNumber);
        lastSeconds = seconds;
        bool anyValue = false;
        for (size_t i = 0; i < row.size(); ++i) {
            const std::string_view cell = fields[size_t(layout.valueField[i])];
            row[i] = DataLog::Empty;
            if (cell.empty() || layout.text[i])
                continue;
            if (ToNumber(cell, row[i]) && std::isfinite(row[i]))
                anyValue = true;
            else if (layout.strict[i])
                Refuse(name, lineNumber);
            else
                layout.text[i] = true;
        }
        const bool event = layout.event >= 0 && !fields[size_t(layout.event)].empty();
        if (event) {
            const QString text = Unquote(fields[size_t(layout.event)]);
            if (const std::optional<QString> marker = LogFormat::MarkerTextOf(text))
                log.events.push_back({seconds, *marker, LogEventKind::Marker});
            else
                log.events.push_back({seconds, text});
        }
        if (!log.start.isValid() && layout.time >= 0) {
            const QDateTime time = QDateTime::fromString(Unquote(fields[size_t(layout.time)]),
                                                         QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (time.isValid())
                log.start = time.addMSecs(-qint64(seconds * 1000));
        }
        // A row of its own for an event has no values: it is no sample.
        if (event && !anyValue)
            continue;
        log.seconds.push_back(seconds);
        for (size_t i = 0; i < row.size(); ++i)
            log.series[i].values.push_back(row[i]);
    }
    for (size_t i = layout.text.size(); i-- > 0;)
        if (layout.text[i])
            log.series.erase(log.series.begin() + std::ptrdiff_t(i));
    return log;
}

DataLog Read(const QString& path) {
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly))
        throw LogError(
            QStringLiteral("Не удалось открыть файл «%1»: %2.").arg(name, file.errorString()));
    const qint64 size = file.size();
    if (size == 0)
        Refuse(name, 1);
    if (const uchar* mapped = file.map(0, size)) {
        DataLog log = Parse({reinterpret_cast<const char*>(mapped), size_t(size)}, name);
        file.unmap(const_cast<uchar*>(mapped));
        return log;
    }
    const QByteArray bytes = file.readAll();
    return Parse({bytes.constData(), size_t(bytes.size())}, name);
}

} // namespace LogReader

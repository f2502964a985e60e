#include "LogReader.h"

#include "CsvLine.h"
#include "LogError.h"
#include "LogFormat.h"

#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <cstring>

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

struct Layout {
    int seconds = -1;
    int time = -1;
    int event = -1;
    std::vector<int> valueField; // field index of each series
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
            log.series.push_back({name, unit, {}});
            layout.valueField.push_back(i);
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
    const Layout layout = ReadHeader(line, log);
    if (layout.seconds < 0)
        Refuse(name, 1);

    const size_t expectedRows = bytes.size() / std::max<size_t>(line.size() / 2, 16);
    log.seconds.reserve(expectedRows);
    for (LogSeries& s : log.series)
        s.values.reserve(expectedRows);

    std::vector<std::string_view> fields;
    std::vector<double> row(log.series.size());
    while (nextLine(line)) {
        if (line.empty())
            continue;
        if (!SplitFields(line, fields) || fields.size() != layout.fields)
            Refuse(name, lineNumber);
        double seconds = 0;
        if (!ToNumber(fields[size_t(layout.seconds)], seconds))
            Refuse(name, lineNumber);
        bool anyValue = false;
        for (size_t i = 0; i < row.size(); ++i) {
            const std::string_view cell = fields[size_t(layout.valueField[i])];
            if (cell.empty()) {
                row[i] = DataLog::Empty;
            } else if (ToNumber(cell, row[i])) {
                anyValue = true;
            } else {
                Refuse(name, lineNumber);
            }
        }
        const bool event = layout.event >= 0 && !fields[size_t(layout.event)].empty();
        if (event)
            log.events.push_back({seconds, Unquote(fields[size_t(layout.event)])});
        if (!log.start.isValid() && layout.time >= 0) {
            const QDateTime time = QDateTime::fromString(Unquote(fields[size_t(layout.time)]),
                                                         QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (time.isValid())
                log.start = time.addMSecs(-qint64(seconds * 1000));
        }
        // A row of its own for an event has no values: it is no sample.
        if (event && !anyValue)
            continue;
        if (!log.seconds.empty() && seconds < log.seconds.back())
            Refuse(name, lineNumber);
        log.seconds.push_back(seconds);
        for (size_t i = 0; i < row.size(); ++i)
            log.series[i].values.push_back(row[i]);
    }
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

#include "DataLogOperation.h"

#include "AckLog.h"
#include "Catalogue.h"
#include "LiveSample.h"
#include "LogError.h"
#include "LogFormat.h"
#include "LogReader.h"
#include "LogWriter.h"
#include "Operations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>

#include <charconv>
#include <cmath>

namespace DataLogCut {

namespace {

constexpr double Period = 0.2; // 5 samples a second
constexpr int Words = 256;     // the words a column cycles through
constexpr qint64 FailedEvery = 13;

// What a flush reported done: the log's name, its samples, events and bytes.
struct Flushed {
    qint64 samples = 0;
    qint64 events = 0;
    qint64 bytes = 0;
};

QStringList Logs(const QString& directory) {
    return QDir(directory).entryList({QStringLiteral("drive-*.csv")}, QDir::Files, QDir::Name);
}

QString NextName(const QString& directory) {
    const QStringList logs = Logs(directory);
    const int last = logs.isEmpty() ? 0 : logs.back().mid(6, 4).toInt();
    return QStringLiteral("drive-%1.csv").arg(last + 1, 4, 10, QLatin1Char('0'));
}

uint16_t WordOf(qint64 sample, size_t column) {
    return static_cast<uint16_t>((sample * 31 + qint64(column) * 7) % Words);
}

bool Fails(qint64 sample, size_t column) {
    return (sample + qint64(column)) % FailedEvery == 0;
}

double SecondsOf(qint64 sample) {
    return double(sample) * Period;
}

QString EventText(qint64 event) {
    return QStringLiteral("Обороты включения ПХХ, \"ступень\" %1: 1500 Об/мин → 1600 Об/мин")
        .arg(event);
}

LiveSample SampleOf(qint64 n) {
    LiveSample sample{std::chrono::steady_clock::now(), QDateTime::currentDateTime(), {}, {}};
    const auto& columns = Catalogue::LiveValues();
    for (size_t i = 0; i < columns.size(); ++i)
        sample.values.push_back(LiveValueFrom(
            *columns[i], Fails(n, i) ? std::nullopt : std::optional<uint16_t>(WordOf(n, i))));
    return sample;
}

double Parsed(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    double value = 0;
    std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    return value;
}

// The value each column's cell reads back as, for every word.
std::vector<std::vector<double>> ExpectedValues() {
    std::vector<std::vector<double>> expected;
    for (const Catalogue::Entry* entry : Catalogue::LiveValues()) {
        const int decimals = LogFormat::DecimalsOf(entry->Mask());
        auto& column = expected.emplace_back();
        for (int word = 0; word < Words; ++word) {
            const LiveValue live = LiveValueFrom(*entry, static_cast<uint16_t>(word));
            column.push_back(live.value ? Parsed(LogFormat::Number(*live.value, decimals))
                                        : DataLog::Empty);
        }
    }
    return expected;
}

bool Same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

// The last flush reported done for each log.
QHash<QString, Flushed> Acknowledged(const QString& directory) {
    QHash<QString, Flushed> flushed;
    QFile file(AcksPath(directory));
    if (!file.open(QIODevice::ReadOnly))
        return flushed;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(' ');
        if (fields.size() == 4)
            flushed[QString::fromLatin1(fields[0])] = {
                fields[1].toLongLong(), fields[2].toLongLong(), fields[3].toLongLong()};
    }
    return flushed;
}

QString CheckRows(const DataLog& log, const QString& name, const Flushed& flushed) {
    static const std::vector<std::vector<double>> expected = ExpectedValues();
    // The live values, then the trim's two columns, which these samples leave empty.
    if (log.series.size() != expected.size() + 2)
        return QStringLiteral("%1 has %2 columns").arg(name).arg(log.series.size());
    if (qint64(log.Rows()) < flushed.samples || qint64(log.events.size()) < flushed.events)
        return QStringLiteral("%1 holds %2 rows and %3 events after %4 and %5 were flushed")
            .arg(name)
            .arg(log.Rows())
            .arg(log.events.size())
            .arg(flushed.samples)
            .arg(flushed.events);
    for (size_t row = 0; row < log.Rows(); ++row) {
        if (log.seconds[row] != Parsed(LogFormat::Seconds(SecondsOf(qint64(row)))))
            return QStringLiteral("%1: row %2 is at %3 s").arg(name).arg(row).arg(log.seconds[row]);
        for (size_t i = 0; i < expected.size(); ++i) {
            const double want =
                Fails(qint64(row), i) ? DataLog::Empty : expected[i][WordOf(qint64(row), i)];
            if (!Same(log.series[i].values[row], want))
                return QStringLiteral("%1: row %2 column %3 holds %4, not %5")
                    .arg(name)
                    .arg(row)
                    .arg(i)
                    .arg(log.series[i].values[row])
                    .arg(want);
        }
    }
    for (size_t event = 0; event < log.events.size(); ++event)
        if (log.events[event].text != EventText(qint64(event)))
            return QStringLiteral("%1: event %2 reads \"%3\"")
                .arg(name)
                .arg(event)
                .arg(log.events[event].text);
    return {};
}

} // namespace

void Record(const QString& directory) {
    AckLog acks(AcksPath(directory));
    const QString name = NextName(directory);
    const QString path = QDir(directory).filePath(name);
    LogWriter writer(path, Catalogue::LiveValues());
    auto report = [&](qint64 samples, qint64 events) {
        acks.add(QStringLiteral("%1 %2 %3 %4")
                     .arg(name)
                     .arg(samples)
                     .arg(events)
                     .arg(QFileInfo(path).size())
                     .toLatin1());
    };
    report(0, 0);
    qint64 samples = 0;
    qint64 events = 0;
    for (;;) {
        // A second's rows at most 10 samples a second, now and then a write to the controller.
        const int rows = 1 + int(QRandomGenerator::global()->bounded(10));
        for (int i = 0; i < rows; ++i, ++samples)
            writer.AddSample(SecondsOf(samples), SampleOf(samples));
        if (QRandomGenerator::global()->bounded(4) == 0)
            writer.AddEvent(SecondsOf(samples - 1), QDateTime::currentDateTime(),
                            EventText(events++));
        writer.Flush();
        report(samples, events);
    }
}

QString Check(const QString& directory) {
    const QStringList logs = Logs(directory);
    const QHash<QString, Flushed> acknowledged = Acknowledged(directory);
    for (qsizetype i = 0; i < logs.size(); ++i) {
        const QString& name = logs[i];
        const QString path = QDir(directory).filePath(name);
        const auto flushed = acknowledged.constFind(name);
        if (flushed == acknowledged.constEnd()) {
            // Cut before its header was on the disk: a header cut short is no data log.
            QFile file(path);
            if (file.open(QIODevice::ReadOnly) && !file.readAll().contains('\n'))
                continue;
        } else if (QFileInfo(path).size() < flushed->bytes) {
            return QStringLiteral("%1 is shorter than its last flush").arg(name);
        }
        // Earlier logs are not written again; reading the last two shows that the new one
        // is made cleanly and leaves the one before it alone.
        if (i + 2 < logs.size() && flushed != acknowledged.constEnd())
            continue;
        try {
            const DataLog log = LogReader::Read(path);
            if (QString damage =
                    CheckRows(log, name, flushed == acknowledged.constEnd() ? Flushed{} : *flushed);
                !damage.isEmpty())
                return damage;
        } catch (const LogError& error) {
            return name + QStringLiteral(" does not read: ") + error.text();
        }
    }
    return {};
}

void Tear(const QString& directory) {
    const QStringList logs = Logs(directory);
    if (logs.isEmpty())
        return;
    const QHash<QString, Flushed> acknowledged = Acknowledged(directory);
    const auto flushed = acknowledged.constFind(logs.back());
    CutAfter(QDir(directory).filePath(logs.back()),
             flushed == acknowledged.constEnd() ? 0 : flushed->bytes);
}

} // namespace DataLogCut

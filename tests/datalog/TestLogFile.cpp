// The data log's file: round trip of real samples, event rows, logs from elsewhere, a disk
// that fills, and the chart's decimation.

#include "ChangeJournal.h"
#include "Comm_Fun.h"
#include "DataLog.h"
#include "Decimation.h"
#include "EmulatedPorts.h"
#include "LineBudget.h"
#include "LivePoller.h"
#include "LiveSample.h"
#include "LogError.h"
#include "LogFormat.h"
#include "LogReader.h"
#include "LogWriter.h"
#include "WindowLink.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The whole number of the value in the window's decimals, as the log must hold it.
double Shown(const LiveValue& value) {
    return LogFormat::Number(*value.value, LogFormat::DecimalsOf(value.entry->Mask())).toDouble();
}

} // namespace

class LogFileTest : public QObject {
    Q_OBJECT

private slots:
    void roundTripOfEmulatorSamples();
    void eventsAreRowsOfTheirOwn();
    void logsFromElsewhere_data();
    void logsFromElsewhere();
    void foreignFilesNameTheLine_data();
    void foreignFilesNameTheLine();
    void fullDiskKeepsWholeRows();
    void decimationKeepsPeaksAndGaps_data();
    void decimationKeepsPeaksAndGaps();
    void rateIsLoweredToWhatTheLineCarries_data();
    void rateIsLoweredToWhatTheLineCarries();
    void feedWithTheTrimFitsAtFive();
};

void LogFileTest::roundTripOfEmulatorSamples() {
    EmulatedPorts ports;
    QVERIFY(Comm_Fun::OpenPort(1, 19200));
    LivePoller poller(WindowLink());
    std::vector<LiveSample> samples;
    for (int i = 0; i < 6; ++i) {
        samples.push_back(ReadLiveSample(poller));
        QTest::qWait(120); // the engine warms up between samples
    }
    Comm_Fun::ClosePort();
    samples[2].values[3].value.reset(); // a read that failed
    samples[4].trim.reset();            // one of the trim's reads failed
    samples[5].trim = TrimReading{TrimSource::Setup, std::nullopt};

    QTemporaryDir dir;
    const QString path = dir.filePath("drive.csv");
    {
        LogWriter writer(path, Catalogue::LiveValues());
        for (size_t i = 0; i < samples.size(); ++i)
            writer.AddSample(0.5 * double(i), samples[i]);
        writer.Flush();
    }
    const QByteArray bytes = Contents(path);
    QVERIFY(bytes.startsWith(LogFormat::ByteOrderMark));
    QVERIFY(bytes.contains("seconds,time,\"Давление газа, кПа\","));
    QVERIFY(bytes.contains("\n1.000,"));

    const DataLog log = LogReader::Read(path);
    QCOMPARE(log.Rows(), samples.size());
    const size_t values = Catalogue::LiveValues().size();
    QCOMPARE(log.series.size(), values + 2);
    QCOMPARE(log.series[0].name, QStringLiteral("Давление газа"));
    QCOMPARE(log.series[0].unit, QStringLiteral("кПа"));
    QCOMPARE(log.seconds[3], 1.5);
    // The cold engine's trim is set by hand: 1039 is 1.50 %.
    const LogSeries& trim = log.series[values];
    const LogSeries& source = log.series[values + 1];
    QCOMPARE((QStringList{trim.name, trim.unit, source.name}),
             (QStringList{"Коррекция", "%", "Режим коррекции"}));
    QCOMPARE(trim.decimals, 2);
    QVERIFY(bytes.contains(",1.50,2,\n"));
    QCOMPARE((std::vector<double>(trim.values.begin(), trim.values.begin() + 4)),
             (std::vector<double>{1.5, 1.5, 1.5, 1.5}));
    QCOMPARE(source.values[0], 2.0);
    QVERIFY(std::isnan(trim.values[4]) && std::isnan(source.values[4]));
    QVERIFY(std::isnan(trim.values[5]));
    QCOMPARE(source.values[5], 3.0);
    for (size_t row = 0; row < samples.size(); ++row) {
        for (size_t c = 0; c < values; ++c) {
            const LiveValue& value = samples[row].values[c];
            const double read = log.series[c].values[row];
            if (value.value)
                QCOMPARE(read, Shown(value));
            else
                QVERIFY(std::isnan(read));
        }
    }
    const int speed = log.IndexOf(QStringLiteral("Обороты коленвала"));
    QVERIFY(speed >= 0);
    QVERIFY(log.series[size_t(speed)].values[0] > 300); // the emulated engine runs
}

void LogFileTest::eventsAreRowsOfTheirOwn() {
    QTemporaryDir dir;
    const QString path = dir.filePath("events.csv");
    JournalRecord record;
    record.address = 57;
    record.name = QStringLiteral("Обороты включения ПХХ");
    record.oldWord = 1500;
    record.newWord = 1600;
    const QString text = LogFormat::EventText(record);
    QCOMPARE(text, QStringLiteral("Обороты включения ПХХ: 1500 Об/мин → 1600 Об/мин"));
    {
        LogWriter writer(path, Catalogue::LiveValues());
        LiveSample sample{{}, QDateTime::currentDateTime(), {}, {}};
        for (const Catalogue::Entry* entry : Catalogue::LiveValues())
            sample.values.push_back(LiveValueFrom(*entry, 100));
        writer.AddSample(0, sample);
        writer.AddEvent(0.25, sample.wallClock, text);
        writer.AddEvent(0.3, sample.wallClock, QStringLiteral("a, \"quoted\" text"));
        writer.AddEvent(0.4, sample.wallClock,
                        LogFormat::MarkerEventText(QStringLiteral(" рывок на\n3-й передаче ")));
        writer.AddEvent(0.45, sample.wallClock, LogFormat::MarkerEventText(QString()));
        writer.AddSample(0.5, sample);
        writer.Flush();
    }
    QVERIFY(Contents(path).contains(",Отметка: рывок на 3-й передаче\n"));
    QVERIFY(Contents(path).contains(",Отметка\n"));
    const DataLog log = LogReader::Read(path);
    QCOMPARE(log.Rows(), size_t(2)); // no gap in the lines at an event
    QCOMPARE(log.events.size(), size_t(4));
    QCOMPARE(log.events[0].seconds, 0.25);
    QCOMPARE(log.events[0].text, text);
    QCOMPARE(log.events[1].text, QStringLiteral("a, \"quoted\" text"));
    QVERIFY(log.events[0].kind == LogEventKind::Write && log.events[1].kind == LogEventKind::Write);
    QCOMPARE(log.events[2].text, QStringLiteral("рывок на 3-й передаче"));
    QCOMPARE(log.events[3].text, QString());
    QVERIFY(log.events[2].kind == LogEventKind::Marker &&
            log.events[3].kind == LogEventKind::Marker);
}

void LogFileTest::logsFromElsewhere_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("rows");
    QTest::addColumn<double>("lastOfFirst");
    QTest::newRow("subset, reordered") << QByteArray("\"Обороты коленвала, об/мин\",seconds\n"
                                                     "850,0.000\n900,0.500\n")
                                       << QStringList{"Обороты коленвала"} << 2 << 900.0;
    QTest::newRow("extra columns") << QByteArray("seconds,note,\"Давление газа, кПа\",time\n"
                                                 "0,1,180.5,2026-12-08 10:00:00\n"
                                                 "1,,181,2026-12-08 10:00:01\n")
                                   << QStringList{"note", "Давление газа"} << 2 << std::nan("");
    QTest::newRow("truncated last line") << QByteArray("seconds,\"Давление газа, кПа\"\n"
                                                       "0.000,180.5\n0.500,18")
                                         << QStringList{"Давление газа"} << 1 << 180.5;
    QTest::newRow("a column added and filled")
        << QByteArray("seconds,\"Давление газа, кПа\",note\n0,180.5,\n1,181,checked\n2,182,ok,\n")
        << QStringList{"Давление газа"} << 3 << 182.0;
    QTest::newRow("recorded before the trim")
        << QByteArray(
               "seconds,time,\"Обороты коленвала, об/мин\",event\n"
               "0.000,2026-12-08 10:00:00,850,\n0.200,2026-12-08 10:00:00,,\"Опережение: 1 → 2\"\n"
               "0.500,2026-12-08 10:00:00,900,\n")
        << QStringList{"Обороты коленвала"} << 2 << 900.0;
    QTest::newRow("windows line ends")
        << QByteArray("seconds,x\r\n0,1\r\n1,2\r\n") << QStringList{"x"} << 2 << 2.0;
}

void LogFileTest::logsFromElsewhere() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(int, rows);
    QFETCH(double, lastOfFirst);
    QTemporaryDir dir;
    const QString path = dir.filePath("other.csv");
    WriteBytes(path, bytes);
    const DataLog log = LogReader::Read(path);
    QCOMPARE(log.Rows(), size_t(rows));
    QStringList read;
    for (const LogSeries& s : log.series)
        read << s.name;
    QCOMPARE(read, names);
    const double last = log.series[0].values.back();
    QVERIFY(std::isnan(lastOfFirst) ? std::isnan(last) : last == lastOfFirst);
    QCOMPARE(Contents(path), bytes); // replay never writes
}

void LogFileTest::foreignFilesNameTheLine_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("no line break at all") << QByteArray("seconds,x") << 1;
    QTest::newRow("no seconds column") << QByteArray("a,b\n1,2\n") << 1;
    QTest::newRow("settings bytes") << QByteArray("\x02\x2f\x00\x00\x31\n\xf7\x01\n", 9) << 1;
    QTest::newRow("text in a value")
        << QByteArray("seconds,\"Давление газа, кПа\"\n0,1\n1,one\n2,3\n") << 3;
    QTest::newRow("seconds 1e300") << QByteArray("seconds,x\n0,1\n1e300,1\n") << 3;
    QTest::newRow("seconds -1e19") << QByteArray("seconds,x\n-1e19,1\n") << 2;
    QTest::newRow("seconds nan") << QByteArray("seconds,x\n0,1\nnan,1\n") << 3;
    QTest::newRow("event before its sample") << QByteArray("seconds,x,event\n5,1,\n4,,w\n") << 3;
    QTest::newRow("missing cell") << QByteArray("seconds,x,y\n0,1,2\n1,2\n") << 3;
    QTest::newRow("time runs back") << QByteArray("seconds,x\n0,1\n5,1\n4,1\n") << 4;
    QTest::newRow("open quote") << QByteArray("seconds,event\n0,\"half\n") << 2;
}

void LogFileTest::foreignFilesNameTheLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QTemporaryDir dir;
    const QString path = dir.filePath("foreign.csv");
    WriteBytes(path, bytes);
    try {
        LogReader::Read(path);
        QFAIL("read a foreign file");
    } catch (const LogError& error) {
        QCOMPARE(
            error.text(),
            QStringLiteral("Файл «foreign.csv» не является записью данных: ошибка в строке %1.")
                .arg(line));
    }
}

void LogFileTest::fullDiskKeepsWholeRows() {
    QTemporaryDir dir;
    const QString path = dir.filePath("full.csv");
    LiveSample sample{{}, QDateTime::currentDateTime(), {}, {}};
    for (const Catalogue::Entry* entry : Catalogue::LiveValues())
        sample.values.push_back(LiveValueFrom(*entry, 1234));

    LogWriter writer(path, Catalogue::LiveValues());
    writer.AddSample(0, sample);
    writer.Flush();
    const qint64 first = QFile(path).size();
    writer.AddSample(1, sample);
    writer.AddSample(2, sample);
    writer.Flush();
    const qint64 before = QFile(path).size();
    const qint64 rowBytes = (before - first) / 2;

    // The file may grow by two and a half rows more: the third row is cut.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = rlim_t(before + rowBytes * 5 / 2);
    setrlimit(RLIMIT_FSIZE, &small);
    for (int i = 3; i < 20; ++i)
        writer.AddSample(i, sample);
    QString message;
    try {
        writer.Flush();
    } catch (const LogError& error) {
        message = error.text();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(message, QStringLiteral("Нет места на диске: запись данных остановлена. Записанное до "
                                     "этого сохранено в файле «full.csv»."));
    QVERIFY(Contents(path).endsWith('\n'));
    QCOMPARE(LogReader::Read(path).Rows(), size_t(5));
    writer.AddSample(30, sample); // a stopped log takes no more
    writer.Flush();
    QCOMPARE(LogReader::Read(path).Rows(), size_t(5));
}

void LogFileTest::decimationKeepsPeaksAndGaps_data() {
    QTest::addColumn<int>("spikeAt");
    QTest::addColumn<double>("spike");
    QTest::addColumn<int>("gapAt");
    QTest::newRow("peak") << 50'123 << 1000.0 << -1;
    QTest::newRow("dip") << 99'998 << -1000.0 << -1;
    QTest::newRow("first sample") << 0 << 1000.0 << -1;
    QTest::newRow("gap beside a peak") << 70'000 << 1000.0 << 70'001;
}

void LogFileTest::decimationKeepsPeaksAndGaps() {
    QFETCH(int, spikeAt);
    QFETCH(double, spike);
    QFETCH(int, gapAt);
    std::vector<double> seconds(100'000), values(100'000);
    for (size_t i = 0; i < seconds.size(); ++i) {
        seconds[i] = 0.5 * double(i);
        values[i] = std::sin(double(i) / 500) * 10;
    }
    values[size_t(spikeAt)] = spike;
    if (gapAt >= 0)
        values[size_t(gapAt)] = DataLog::Empty;

    const auto points = Decimate(seconds, values, 0, seconds.back(), 800);
    QVERIFY(points.size() <= 800 * 3);
    QVERIFY(std::any_of(points.begin(), points.end(), [&](const ChartPoint& p) {
        return p.value == spike && p.seconds == seconds[size_t(spikeAt)];
    }));
    const auto gaps = std::count_if(points.begin(), points.end(),
                                    [](const ChartPoint& p) { return std::isnan(p.value); });
    QCOMPARE(gaps, gapAt >= 0 ? 1 : 0);
    QVERIFY(std::is_sorted(points.begin(), points.end(),
                           [](const auto& a, const auto& b) { return a.seconds < b.seconds; }));
    // Every column's true extremes survive: the reduced series spans the same values.
    const auto extremes = [](auto begin, auto end, auto valueOf) {
        double low = 1e9, high = -1e9;
        for (auto i = begin; i != end; ++i)
            if (!std::isnan(valueOf(*i))) {
                low = std::min(low, valueOf(*i));
                high = std::max(high, valueOf(*i));
            }
        return std::pair(low, high);
    };
    QCOMPARE(extremes(points.begin(), points.end(), [](const ChartPoint& p) { return p.value; }),
             extremes(values.begin(), values.end(), [](double v) { return v; }));

    // A short range comes whole, with a sample beyond each edge.
    const auto near = Decimate(seconds, values, 100, 110, 800);
    QCOMPARE(near.size(), size_t(23));
    QCOMPARE(near.front().seconds, 99.5);
    QCOMPARE(near.back().seconds, 110.5);
}

void LogFileTest::rateIsLoweredToWhatTheLineCarries_data() {
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("values");
    QTest::addColumn<int>("rate");
    QTest::newRow("every value at 10") << 10 << 14 << 5;
    QTest::newRow("every value at 5") << 5 << 14 << 5;
    QTest::newRow("every value at 2") << 2 << 14 << 2;
    QTest::newRow("four values at 10") << 10 << 4 << 10;
    QTest::newRow("too many values at all") << 5 << 200 << 1;
}

void LogFileTest::rateIsLoweredToWhatTheLineCarries() {
    QFETCH(int, requested);
    QFETCH(int, values);
    QFETCH(int, rate);
    QCOMPARE(LineBudget::HighestRateThatFits(requested, values), rate);
}

void LogFileTest::feedWithTheTrimFitsAtFive() {
    // 14 values and the trim's three words, less the window's readings: 60.5 exchanges a
    // second at 5, 145.5 at 10.
    QCOMPARE(LineBudget::FeedMsPerSecond(5), 60.5 * LineBudget::ExchangeMs);
    QCOMPARE(LineBudget::HighestFeedRateThatFits(10), 5);
    QCOMPARE(LineBudget::HighestFeedRateThatFits(2), 2);
}

int RunLogFileTests(int argc, char** argv) {
    LogFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestLogFile.moc"

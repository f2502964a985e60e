// A PC of the line in a process of its own, for the tests of the shared store:
//
//   line_store_worker numbers <socket folder> <port> <pc> <stations> <units> <spool>
//       each station on a thread of its own takes numbers for its share of <units> as a station
//       does (reserve, written, the unit's record), waiting while the store cannot be reached;
//       prints "taken <serial>" for each and "spool <n>" at the end.
//   line_store_worker line <socket folder> <port> <pc> <data folder> <units per station>
//       a production line of four stations over emulated fixtures numbering from the store;
//       prints "unit <serial> <result>" for each unit.

#include "ControllerSequence.h"
#include "LineSpool.h"
#include "PostgresCluster.h"
#include "ProductionLine.h"
#include "ProductionLog.h"
#include "SampleWords.h"
#include "SettingsFile.h"
#include "StationStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <QTimer>
#include <QUuid>

#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

namespace {

const QString Product = QStringLiteral("TQ5-2026-LINE-TEST-");

StorePlace Place(const QString& socketFolder, const QString& port) {
    StorePlace place;
    place.kind = StorePlace::Kind::Shared;
    place.host = socketFolder;
    place.port = port.toInt();
    place.database = QString::fromLatin1(PostgresCluster::Database);
    place.user = QString::fromLatin1(PostgresCluster::User);
    return place;
}

std::mutex printing;

void Say(const QString& line) {
    const std::lock_guard lock(printing);
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// One station's numbers: each unit reserves, is written and is recorded good.
void TakeNumbers(const LineStoreUse& use, int station, int units) {
    StationStore store(use);
    for (int i = 0; i < units; ++i) {
        UnitRecord record;
        record.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        record.station = station;
        const ControllerIdentity::NumberRegister numbers = store.Register(record);
        QString sequence;
        for (;;) {
            try {
                sequence = numbers.take(Product, QStringLiteral("00114"));
                break;
            } catch (const StoreError&) {
                QThread::msleep(100); // as a station waits for its store
            }
        }
        numbers.settled({}, true);
        record.serial = record.numberTaken;
        record.time = QDateTime::currentDateTime();
        record.good = true;
        store.Keep(record);
        Say(QStringLiteral("taken ") + record.serial);
    }
    store.SendWaiting();
}

int Numbers(const QStringList& args) {
    LineStoreUse use;
    use.place = Place(args[2], args[3]);
    use.pc = args[4];
    const int stations = args[5].toInt();
    const int units = args[6].toInt();
    use.spoolPath = args[7];
    std::vector<std::unique_ptr<QThread>> threads;
    for (int s = 1; s <= stations; ++s) {
        threads.emplace_back(QThread::create(TakeNumbers, use, s, units / stations));
        threads.back()->start();
    }
    for (auto& thread : threads)
        thread->wait();
    // Whatever the stations' last sends could not take goes now, once the store is back.
    StationStore last(use);
    for (int tries = 0; tries < 100 && LineSpool(use.spoolPath).Waiting() > 0; ++tries) {
        last.SendWaiting();
        QThread::msleep(100);
    }
    Say(QStringLiteral("spool %1").arg(LineSpool(use.spoolPath).Waiting()));
    return 0;
}

int Line(const QStringList& args) {
    const QDir data(args[5]);
    const int units = args[6].toInt();
    SettingsRecords::Entries entries{};
    const SettingsRecords::Words sample = SampleControllerWords();
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].word = sample[i];
    data.mkpath(QStringLiteral("."));
    SettingsFile::Write(data.filePath(QStringLiteral("reference.q5t")), entries);
    LineJob job;
    job.reference = ReferenceFile::Load(data.filePath(QStringLiteral("reference.q5t")));
    job.logPath = data.filePath(QStringLiteral("Protocol.lst"));
    job.logWait = std::chrono::milliseconds(10'000);
    ProductionLog::CreateIfMissing(job.logPath, QStringLiteral("01.01.01"));
    LineStoreUse use;
    use.place = Place(args[2], args[3]);
    use.pc = args[4];
    use.spoolPath = data.filePath(QStringLiteral("spool.sqlite"));
    job.store = use;

    std::string script = "new";
    for (int i = 1; i < units; ++i)
        script += ",new";
    std::vector<std::unique_ptr<q5emu::ControllerSequence>> fixtures;
    QStringList devices;
    for (int i = 0; i < 4; ++i) {
        q5emu::EmulatorOptions options;
        options.zeroHead = true;
        fixtures.push_back(std::make_unique<q5emu::ControllerSequence>(
            options, *q5emu::ParseSequence(script), q5emu::SequenceTiming{}));
        devices << data.filePath(QStringLiteral("station%1").arg(i + 1));
        fixtures.back()->linkAt(devices.back().toStdString());
        fixtures.back()->start();
    }
    ProductionLine line(data.path());
    int results = 0;
    QObject::connect(&line, &ProductionLine::unitFinished, [&](const UnitRecord& record) {
        Say(QStringLiteral("unit %1 %2")
                .arg(record.serial.mid(19), LineReport::ResultText(record.good)));
        if (++results == 4 * units)
            line.Stop();
    });
    QObject::connect(&line, &ProductionLine::finished, qApp, &QCoreApplication::quit);
    QObject::connect(&line, &ProductionLine::halted,
                     [](const QString& message) { Say(QStringLiteral("halted ") + message); });
    line.Start(job, devices);
    QTimer::singleShot(170'000, qApp, &QCoreApplication::quit);
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 8 && args[1] == QLatin1String("numbers"))
        return Numbers(args);
    if (args.size() >= 7 && args[1] == QLatin1String("line"))
        return Line(args);
    std::fprintf(stderr, "usage: see the source\n");
    return 2;
}

#include "ProductionLine.h"

#include "Station.h"

#include "LinkThread.h"
#include "StationStore.h"

#include <QThread>

#include <algorithm>

ProductionLine::ProductionLine(const QString& dataFolder, QObject* parent)
    : QObject(parent), dataFolder_(dataFolder), report_(dataFolder) {
    qRegisterMetaType<StationView>();
    qRegisterMetaType<UnitRecord>();
}

ProductionLine::~ProductionLine() {
    Abort();
    Release();
    for (QThread* reprint : findChildren<QThread*>(Qt::FindDirectChildrenOnly))
        reprint->wait();
}

void ProductionLine::Release() {
    for (Worker& r : stations_) {
        // The station closes its port on its own thread, after any unit under way; the thread
        // then deletes it and the link there.
        QMetaObject::invokeMethod(r.station, &Station::Finish, Qt::BlockingQueuedConnection);
        r.thread.reset();
    }
    stations_.clear();
    running_ = 0;
}

void ProductionLine::Start(const LineJob& job, const QStringList& devices) {
    if (Running())
        return;
    Release();
    LineJob shared = job;
    shared.journalRoot = dataFolder_;
    job_ = std::make_shared<const LineJob>(std::move(shared));
    counts_.Start();
    awaited_.clear();
    for (int i = 0; i < devices.size(); ++i) {
        if (devices[i].isEmpty())
            continue;
        auto thread = std::make_unique<LinkThread>();
        auto* station = new Station(i + 1, devices[i], job_, report_);
        station->moveToThread(thread->Home()->thread());
        connect(station, &Station::changed, this, &ProductionLine::stationChanged);
        connect(station, &Station::unitFinished, this, [this](const UnitRecord& record) {
            counts_.Count(record.station, record.good);
            if (job_->labels.scanBack && record.label.printing == LabelPrinting::Printed)
                awaited_[record.station] = LabelContentOf(record).serial;
            emit unitFinished(record);
        });
        connect(station, &Station::labelChecked, this, &ProductionLine::labelChecked);
        connect(station, &Station::halted, this, [this](const QString& message) {
            Stop();
            emit halted(message);
        });
        connect(station, &Station::finished, this, [this, number = i + 1] {
            awaited_.erase(number);
            StationFinished();
        });
        thread->Post([station, home = thread->Home()](ControllerLink& link) {
            station->setParent(home);
            station->Begin(link);
        });
        stations_.push_back({std::move(thread), station});
        ++running_;
    }
}

LabelScan ProductionLine::Scan(int station, const QString& text) {
    const LabelScan scan = LabelScan::Judge(station, text, awaited_);
    if (!scan.Decided())
        return scan;
    awaited_.erase(station);
    const auto worker =
        std::find_if(stations_.begin(), stations_.end(),
                     [station](const Worker& w) { return w.station->Number() == station; });
    const LabelCheck check =
        scan.verdict == LabelScan::Verdict::Verified ? LabelCheck::Verified : LabelCheck::Voided;
    if (worker != stations_.end())
        QMetaObject::invokeMethod(
            worker->station, [s = worker->station, check] { s->LabelChecked(check); },
            Qt::QueuedConnection);
    return scan;
}

void ProductionLine::Reprint(UnitRecord record, const LabelOptions& options) {
    QThread* thread = QThread::create([this, record, options, job = job_]() mutable {
        const LabelPrintResult printed =
            LabelPrint::Print(options.target, options.layout, LabelContentOf(record));
        QString problem = printed.problem;
        if (printed.printed) {
            record.label.printing = LabelPrinting::Printed;
            ++record.label.reprints;
            if (!report_.UpdateLabel(record))
                problem = QStringLiteral("этикетка напечатана, но отчёт %1 не записан")
                              .arg(report_.PathFor(record.time.date()));
            else if (job && job->store)
                try {
                    StationStore(*job->store).KeepReprint(record);
                } catch (const StoreError& e) {
                    problem = QStringLiteral("этикетка напечатана, но в базу линии не записана: %1")
                                  .arg(e.text());
                }
        }
        QMetaObject::invokeMethod(
            this, [this, record, problem] { emit reprinted(record, problem); },
            Qt::QueuedConnection);
    });
    thread->setParent(this);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void ProductionLine::StationFinished() {
    if (running_ > 0 && --running_ == 0)
        emit finished();
}

void ProductionLine::Stop() {
    for (const Worker& r : stations_)
        r.station->RequestStop();
}

void ProductionLine::EndInBackground() {
    Stop();
    if (!Running())
        deleteLater();
    else
        connect(this, &ProductionLine::finished, this, &QObject::deleteLater);
}

void ProductionLine::Abort() {
    for (const Worker& r : stations_)
        r.station->RequestAbort();
}

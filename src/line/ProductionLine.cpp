#include "ProductionLine.h"

#include "Station.h"

#include "LinkThread.h"

#include <QThread>

ProductionLine::ProductionLine(const QString& dataFolder, QObject* parent)
    : QObject(parent), dataFolder_(dataFolder), report_(dataFolder) {
    qRegisterMetaType<StationView>();
    qRegisterMetaType<UnitRecord>();
}

ProductionLine::~ProductionLine() {
    Abort();
    Release();
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
    for (int i = 0; i < devices.size(); ++i) {
        if (devices[i].isEmpty())
            continue;
        auto thread = std::make_unique<LinkThread>();
        auto* station = new Station(i + 1, devices[i], job_, report_);
        station->moveToThread(thread->Home()->thread());
        connect(station, &Station::changed, this, &ProductionLine::stationChanged);
        connect(station, &Station::unitFinished, this, [this](const UnitRecord& record) {
            counts_.Count(record.station, record.good);
            emit unitFinished(record);
        });
        connect(station, &Station::halted, this, [this](const QString& message) {
            Stop();
            emit halted(message);
        });
        connect(station, &Station::finished, this, &ProductionLine::StationFinished);
        thread->Post([station, home = thread->Home()](ControllerLink& link) {
            station->setParent(home);
            station->Begin(link);
        });
        stations_.push_back({std::move(thread), station});
        ++running_;
    }
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

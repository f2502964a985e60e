#include "VisitRecorder.h"

#include "ChangeJournal.h"
#include "ControllerSession.h"
#include "RestorePoints.h"
#include "ToolData.h"

#include <QPointer>
#include <QSemaphore>

// Holds the store on the recorder's thread, opened at its first job.
class VisitRecorder::Worker : public QObject {
public:
    Worker(HistoryPlace place, QPointer<VisitRecorder> recorder)
        : place_(std::move(place)), recorder_(recorder) {}

    void Run(const std::function<void(HistoryStore&)>& work) {
        try {
            if (!opened_.store) {
                opened_ = OpenHistory(place_);
                if (!opened_.message.isEmpty())
                    Tell(opened_.message);
            }
            if (opened_.store->ReadOnly())
                return;
            HistoryStore history(*opened_.store);
            work(history);
        } catch (const StoreError& error) {
            opened_ = {}; // opened anew at the next job
            Tell(error.text());
        } catch (const std::exception& error) {
            Tell(QString::fromStdString(error.what()));
        }
    }
    void Close() { opened_ = {}; }

private:
    void Tell(const QString& text) {
        QMetaObject::invokeMethod(
            recorder_,
            [recorder = recorder_, text] {
                if (recorder)
                    emit recorder->storeTrouble(text);
            },
            Qt::QueuedConnection);
    }

    HistoryPlace place_;
    QPointer<VisitRecorder> recorder_;
    OpenedHistory opened_;
};

VisitRecorder::VisitRecorder(ControllerSession& session, Setup setup, QObject* parent)
    : QObject(parent), session_(session), setup_(std::move(setup)) {
    worker_ = new Worker(setup_.place, QPointer<VisitRecorder>(this));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("history"));
    thread_.start(QThread::LowPriority);
    // Queued, so that the restore point the connection keeps is there when the visit is filed.
    connect(&session.Events(), &ConnectionEvents::connected, this, &VisitRecorder::OnConnected,
            Qt::QueuedConnection);
}

VisitRecorder::~VisitRecorder() {
    QMetaObject::invokeMethod(worker_, [worker = worker_] { worker->Close(); });
    thread_.quit();
    thread_.wait(5000);
}

void VisitRecorder::Post(std::function<void(HistoryStore&)> work) {
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, work = std::move(work)] { worker->Run(work); },
        Qt::QueuedConnection);
}

bool VisitRecorder::Settle(int boundMs) {
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        worker_, [done] { done->release(); }, Qt::QueuedConnection);
    return done->tryAcquire(1, boundMs);
}

QString VisitRecorder::ConnectedSerial() const {
    const ConnectedDevice& device = session_.Identity();
    if (!session_.Connected() || !device.serialRead)
        return {};
    return HistoryStore::SerialKey(device.serial);
}

void VisitRecorder::NoteFile(FileKind kind, const QString& path) {
    const QString serial = ConnectedSerial();
    if (serial.isEmpty() || path.isEmpty())
        return;
    const QDateTime time = setup_.clock();
    Post([serial, kind, path, time](HistoryStore& history) {
        history.IndexFile({serial, kind, path, time});
    });
}

void VisitRecorder::OnConnected() {
    const QString serial = ConnectedSerial();
    if (serial.isEmpty() || !recording_)
        return;
    Visit visit;
    visit.serial = serial;
    visit.time = setup_.clock();
    std::tie(visit.workshop, visit.technician) = setup_.who();
    const QString pointsName = session_.Identity().pointsName;
    const QString dataFolder = setup_.place.dataFolder;
    QPointer<VisitRecorder> self(this);
    Post([visit, pointsName, dataFolder, self](HistoryStore& history) mutable {
        if (!pointsName.isEmpty()) {
            const std::vector<RestorePoint> points = RestorePoints::List(dataFolder, pointsName);
            if (!points.empty()) {
                visit.point = points.front().path;
                history.IndexFile(
                    {visit.serial, FileKind::Point, visit.point, points.front().time});
            }
        }
        if (ToolData::SerialFileName(visit.serial))
            visit.journalFrom = static_cast<int>(
                ChangeJournal::Read(ChangeJournal::PathOf(dataFolder, visit.serial)).size());
        history.RecordVisit(visit);
        // Counted after it: the visit found again from this connection's restore point is it.
        const int earlierVisits = history.VisitCount(visit.serial) - 1;
        const std::optional<KnownController> known = history.Controller(visit.serial);
        QString due;
        if (known && known->service.DueOn(visit.time.date(), history.LastOdometer(visit.serial)))
            due = known->service.Text();
        QMetaObject::invokeMethod(
            self,
            [self, serial = visit.serial, due, earlierVisits] {
                if (self)
                    emit self->visitRecorded(serial, due, earlierVisits);
            },
            Qt::QueuedConnection);
    });
}

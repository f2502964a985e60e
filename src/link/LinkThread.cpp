#include "LinkThread.h"

#include "ControllerLink.h"

#include <QMetaObject>
#include <QThread>

class LinkThread::Worker : public QObject {
public:
    std::unique_ptr<ControllerLink> link;
};

LinkThread::LinkThread() : thread_(std::make_unique<QThread>()), worker_(new Worker) {
    worker_->moveToThread(thread_.get());
    thread_->start();
    // The first job: the link's device and its notifiers belong to the link's thread.
    Post({});
}

LinkThread::~LinkThread() {
    Worker* worker = worker_;
    QMetaObject::invokeMethod(
        worker,
        [worker] {
            // A watch on the link goes before it.
            qDeleteAll(worker->findChildren<QObject*>(Qt::FindDirectChildrenOnly));
            worker->link.reset();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    thread_->wait();
    delete worker_;
}

void LinkThread::Post(Job job) {
    Worker* worker = worker_;
    QMetaObject::invokeMethod(
        worker,
        [worker, job = std::move(job)] {
            if (!worker->link)
                worker->link = std::make_unique<ControllerLink>();
            if (job)
                job(*worker->link);
        },
        Qt::QueuedConnection);
}

void LinkThread::Deliver(QObject* context, std::function<void()> result) {
    QMetaObject::invokeMethod(context, std::move(result), Qt::QueuedConnection);
}

QObject* LinkThread::Home() const {
    return worker_;
}

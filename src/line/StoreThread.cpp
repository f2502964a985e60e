#include "StoreThread.h"

#include <QThread>

StoreThread::StoreThread() : thread_(new QThread), home_(new QObject) {
    thread_->setObjectName(QStringLiteral("line store"));
    home_->moveToThread(thread_);
    QObject::connect(thread_, &QThread::finished, home_, &QObject::deleteLater);
    QObject::connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
    thread_->start();
}

StoreThread::~StoreThread() {
    thread_->quit();
}

void StoreThread::Post(std::function<void()> job) {
    QMetaObject::invokeMethod(home_, std::move(job), Qt::QueuedConnection);
}

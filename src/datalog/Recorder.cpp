#include "Recorder.h"

#include "JournalFeed.h"
#include "LogError.h"
#include "LogFormat.h"
#include "LogWriter.h"

Recorder::Recorder(const QString& path, int rate, LiveFeed& feed, JournalFeed& writes,
                   QObject* parent)
    : QObject(parent), writer_(std::make_unique<LogWriter>(path, Catalogue::LiveValues())),
      rate_(std::max(rate, 1)), start_(std::chrono::steady_clock::now()) {
    clock_.start();
    following_ = {connect(&feed, &LiveFeed::sampled, this, &Recorder::OnSample),
                  connect(&writes, &JournalFeed::recorded, this, &Recorder::OnWrite)};
    connect(&flushTimer_, &QTimer::timeout, this, &Recorder::FlushNow);
    flushTimer_.start(FlushIntervalMs);
    demand_ = feed.Want(rate_);
}

Recorder::~Recorder() {
    try {
        Finish();
    } catch (const LogError&) {
        // The program is closing or the recording is dropped: nobody to tell.
    }
}

const QString& Recorder::Path() const {
    return writer_->Path();
}

qint64 Recorder::Rows() const {
    return writer_->Rows();
}

void Recorder::Finish() {
    if (!recording_)
        return;
    StopFollowing();
    writer_->Flush();
}

double Recorder::SecondsAt(std::chrono::steady_clock::time_point moment) const {
    return std::chrono::duration<double>(moment - start_).count();
}

// A sample is stamped when its reads began, so a write made while it was read comes before
// it in time but after it in the file; the file's rows never run back.
double Recorder::InOrder(double seconds) {
    lastSeconds_ = std::max(lastSeconds_, seconds);
    return lastSeconds_;
}

void Recorder::OnSample(const LiveSample& sample) {
    const double seconds = std::max(0.0, SecondsAt(sample.monotonic));
    // The feed may sample faster for a chart; the log keeps its own rate.
    if (lastRow_ && seconds - *lastRow_ < 0.75 / rate_)
        return;
    lastRow_ = seconds;
    writer_->AddSample(InOrder(seconds), sample);
}

void Recorder::OnWrite(const JournalRecord& record) {
    writer_->AddEvent(InOrder(SecondsAt(std::chrono::steady_clock::now())), record.time,
                      LogFormat::EventText(record));
}

void Recorder::FlushNow() {
    try {
        writer_->Flush();
    } catch (const LogError& error) {
        StopFollowing();
        emit failed(error.text());
    }
}

void Recorder::StopFollowing() {
    recording_ = false;
    demand_.reset();
    flushTimer_.stop();
    // The feeds may have gone first, as the window closes.
    for (const QMetaObject::Connection& connection : following_)
        disconnect(connection);
}

#include "Recorder.h"

#include "Addresses.h"
#include "JournalFeed.h"
#include "LogError.h"
#include "LogFormat.h"
#include "LogWriter.h"

#include <algorithm>

Recorder::Recorder(const QString& path, int rate, LiveFeed& feed, JournalFeed& writes,
                   std::optional<Trigger> trigger, QObject* parent)
    : QObject(parent), writer_(std::make_unique<LogWriter>(path, Catalogue::LiveValues())),
      rate_(std::max(rate, 1)), trigger_(trigger), start_(std::chrono::steady_clock::now()) {
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
    // A recording that never reached its bound keeps no rows; a marker still asked keeps its
    // moment without a text.
    if (trigger_)
        held_.clear();
    for (Held& row : held_)
        row.open = false;
    Release();
    writer_->Flush();
}

void Recorder::AddMarker(const QString& text) {
    HoldMarker();
    PlaceMarker(text);
}

void Recorder::HoldMarker() {
    if (!recording_)
        return;
    held_.push_back({std::chrono::steady_clock::now(), std::nullopt, QDateTime::currentDateTime(),
                     LogFormat::MarkerEventText(QString()), true});
}

void Recorder::PlaceMarker(const std::optional<QString>& text) {
    const auto open =
        std::find_if(held_.begin(), held_.end(), [](const Held& row) { return row.open; });
    if (open == held_.end())
        return;
    if (text) {
        open->event = LogFormat::MarkerEventText(*text);
        open->open = false;
    } else {
        held_.erase(open);
    }
    if (!trigger_)
        Release();
}

double Recorder::SecondsAt(std::chrono::steady_clock::time_point moment) const {
    return std::max(0.0, std::chrono::duration<double>(moment - start_).count());
}

// A sample is stamped when its reads began, so a write made while it was read comes before
// it in time but after it in the file; the file's rows never run back.
double Recorder::InOrder(double seconds) {
    lastSeconds_ = std::max(lastSeconds_, seconds);
    return lastSeconds_;
}

void Recorder::OnSample(const LiveSample& sample) {
    // The feed may sample faster for a chart; the log keeps its own rate.
    if (lastRow_ &&
        std::chrono::duration<double>(sample.monotonic - *lastRow_).count() < 0.75 / rate_)
        return;
    lastRow_ = sample.monotonic;
    const bool reached =
        trigger_ && sample.ValueAt(Live::EngineSpeed).value_or(0) >= trigger_->engineSpeed;
    Add({sample.monotonic, sample, sample.wallClock, QString()});
    if (reached)
        StartRows(sample.monotonic);
}

void Recorder::OnWrite(const JournalRecord& record) {
    Add({std::chrono::steady_clock::now(), std::nullopt, record.time,
         LogFormat::EventText(record)});
}

void Recorder::Add(Held row) {
    const bool open = std::any_of(held_.begin(), held_.end(), [](const Held& h) { return h.open; });
    if (!trigger_ && !open) {
        Write(row);
        return;
    }
    held_.push_back(std::move(row));
    if (trigger_) {
        // Only the seconds before the bound are kept.
        const auto from = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(trigger_->beforeSeconds));
        const auto keptFrom = held_.back().at - from;
        held_.erase(std::remove_if(held_.begin(), held_.end(),
                                   [keptFrom](const Held& h) { return h.at < keptFrom; }),
                    held_.end());
    }
}

// The log's time begins with its first row, as it does without a trigger.
void Recorder::StartRows(std::chrono::steady_clock::time_point at) {
    trigger_.reset();
    start_ = at;
    for (const Held& row : held_)
        start_ = std::min(start_, row.at);
    Release();
    emit triggered();
}

void Recorder::Write(const Held& row) {
    const double seconds = InOrder(SecondsAt(row.at));
    if (row.sample)
        writer_->AddSample(seconds, *row.sample);
    else
        writer_->AddEvent(seconds, row.time, row.event);
}

void Recorder::Release() {
    while (!held_.empty() && !held_.front().open) {
        Write(held_.front());
        held_.pop_front();
    }
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

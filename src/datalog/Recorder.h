#pragma once
// A recording of live values into a data log: a row for each sample of the live feed at the
// recording's rate, a row for each write to the controller, and the rows on the disk at least
// once a second. A disk that takes no more ends the recording; what was written stays.

#include "LiveFeed.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <memory>

class JournalFeed;
class LogWriter;
struct JournalRecord;

class Recorder : public QObject {
    Q_OBJECT
public:
    static constexpr int FlushIntervalMs = 1000;

    // Makes the file and starts recording every live value of `feed` at this rate, and every
    // write that `writes` journals; a feed that goes first is followed no more. Throws LogError.
    Recorder(const QString& path, int rate, LiveFeed& feed, JournalFeed& writes,
             QObject* parent = nullptr);
    // Writes the rows kept and closes the file; an error is no longer reported.
    ~Recorder() override;

    // Stops sampling and writes the rows kept. Throws LogError when they cannot be written.
    void Finish();

    const QString& Path() const;
    int Rate() const { return rate_; }
    bool IsRecording() const { return recording_; }
    qint64 ElapsedMs() const { return clock_.elapsed(); }
    qint64 Rows() const;

signals:
    // The recording has stopped by itself; the text says why and what was kept.
    void failed(const QString& message);

private:
    void OnSample(const LiveSample& sample);
    void OnWrite(const JournalRecord& record);
    void FlushNow();
    void StopFollowing();
    double SecondsAt(std::chrono::steady_clock::time_point moment) const;
    double InOrder(double seconds);

    std::unique_ptr<LogWriter> writer_;
    int rate_;
    bool recording_ = true;
    std::chrono::steady_clock::time_point start_;
    QElapsedTimer clock_;
    std::optional<double> lastRow_;
    double lastSeconds_ = 0; // of the last row written
    LiveFeed::Demand demand_;
    QTimer flushTimer_;
    std::array<QMetaObject::Connection, 2> following_;
};

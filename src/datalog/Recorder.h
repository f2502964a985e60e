#pragma once
// A recording of live values into a data log: a row for each sample of the live feed at the
// recording's rate, a row for each write to the controller and for each marker, and the rows on
// the disk at least once a second. A disk that takes no more ends the recording; what was
// written stays.
//
// A recording may wait for the engine: nothing is written until the engine speed reaches a
// bound, and then the rows of the seconds before it are written first, with their own times.
// A marker is stamped when it is set; its text may follow, and the rows made meanwhile wait
// behind it, so that the file's rows stay in the order of their times.

#include "LiveFeed.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <deque>
#include <memory>

class JournalFeed;
class LogWriter;
struct JournalRecord;

class Recorder : public QObject {
    Q_OBJECT
public:
    static constexpr int FlushIntervalMs = 1000;

    // Starts the rows when the engine speed reaches `engineSpeed` (Об/мин), keeping the rows
    // of the `beforeSeconds` before it.
    struct Trigger {
        long double engineSpeed = 0;
        double beforeSeconds = 0;
    };

    // Makes the file and starts recording every live value of `feed` at this rate, and every
    // write that `writes` journals; a feed that goes first is followed no more. Throws LogError.
    Recorder(const QString& path, int rate, LiveFeed& feed, JournalFeed& writes,
             std::optional<Trigger> trigger = std::nullopt, QObject* parent = nullptr);
    // Writes the rows kept and closes the file; an error is no longer reported.
    ~Recorder() override;

    // Stops sampling and writes the rows kept. Throws LogError when they cannot be written.
    void Finish();

    // A marker at this moment, with its text.
    void AddMarker(const QString& text);
    // A marker at this moment whose text PlaceMarker gives; none: the marker is dropped.
    void HoldMarker();
    void PlaceMarker(const std::optional<QString>& text);

    const QString& Path() const;
    int Rate() const { return rate_; }
    bool IsRecording() const { return recording_; }
    // True until the engine speed reaches the trigger's bound.
    bool IsWaiting() const { return trigger_.has_value(); }
    qint64 ElapsedMs() const { return clock_.elapsed(); }
    qint64 Rows() const;

signals:
    // The recording has stopped by itself; the text says why and what was kept.
    void failed(const QString& message);
    // The engine speed reached the trigger's bound: the rows begin.
    void triggered();

private:
    // A row not yet given to the writer: a sample, or else an event.
    struct Held {
        std::chrono::steady_clock::time_point at;
        std::optional<LiveSample> sample;
        QDateTime time;
        QString event;
        bool open = false; // a marker whose text is still to come
    };

    void OnSample(const LiveSample& sample);
    void OnWrite(const JournalRecord& record);
    void Add(Held row);
    void Write(const Held& row);
    // Writes the rows held, up to a marker still open.
    void Release();
    void StartRows(std::chrono::steady_clock::time_point at);
    void FlushNow();
    void StopFollowing();
    double SecondsAt(std::chrono::steady_clock::time_point moment) const;
    double InOrder(double seconds);

    std::unique_ptr<LogWriter> writer_;
    int rate_;
    bool recording_ = true;
    std::optional<Trigger> trigger_; // while waiting for it
    std::chrono::steady_clock::time_point start_;
    QElapsedTimer clock_;
    std::optional<std::chrono::steady_clock::time_point> lastRow_; // the last sample taken
    double lastSeconds_ = 0;                                       // of the last row written
    std::deque<Held> held_;
    LiveFeed::Demand demand_;
    QTimer flushTimer_;
    std::array<QMetaObject::Connection, 2> following_;
};

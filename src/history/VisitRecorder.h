#pragma once
// Records a visit of the session's controller at each connection, and the files made of it
// while it is connected, on a thread of its own: the connection never waits for the store's
// disk. Says what it found when a visit is recorded: whether the controller's service is due.

#include "HistoryStore.h"
#include "OpenHistory.h"

#include <QDateTime>
#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

class ControllerSession;

class VisitRecorder : public QObject {
    Q_OBJECT
public:
    struct Setup {
        HistoryPlace place;
        std::function<QDateTime()> clock;                 // the visit's time
        std::function<std::pair<QString, QString>()> who; // workshop and technician
    };
    // Follows `session`, which must outlive it.
    VisitRecorder(ControllerSession& session, Setup setup, QObject* parent = nullptr);
    ~VisitRecorder() override;

    // Where the visits' and the files' times come from from now on.
    void SetClock(std::function<QDateTime()> clock) { setup_.clock = std::move(clock); }
    // Off: connections record no visit (the connection benchmark's other side).
    void SetRecording(bool on) { recording_ = on; }
    // A file made of, or loaded into, the connected controller; nothing without one.
    void NoteFile(FileKind kind, const QString& path);
    // Runs `work` on the recorder's thread with its store, after what was asked before.
    void Post(std::function<void(HistoryStore&)> work);
    // Waits, at most `boundMs`, until what was posted before is done (tests and the end).
    bool Settle(int boundMs);

signals:
    // A visit was recorded; `due` names the service that is due, empty when none is, and
    // `earlierVisits` counts the controller's visits before this one.
    void visitRecorded(const QString& serial, const QString& due, int earlierVisits);
    // The store could not be used or was not as expected; the text says so.
    void storeTrouble(const QString& text);

private:
    void OnConnected();
    // The serial number the history keys the connected controller by; empty when none.
    QString ConnectedSerial() const;

    class Worker;
    ControllerSession& session_;
    Setup setup_;
    QThread thread_;
    Worker* worker_ = nullptr; // lives on thread_
    bool recording_ = true;
};

#pragma once
// One station of the line on the thread of its own link (a LinkThread): it probes the identity
// word once a second until a controller answers, works the unit (UnitWork) in a session of its
// own, files its row in the report, and waits for the controller to be unplugged before it
// looks for the next; a probe that finds other sequence digits than the unit left with has met
// the next unit. A good unit gets its label printed before its row is filed; while its label
// waits to be scanned back, the station looks for no next unit.
// Waits between probes run on the thread's event loop, so a stop ends them at once. Its
// state goes to the window's thread by queued signals.

#include "LineJob.h"
#include "LineReport.h"
#include "StationView.h"

#include <QObject>

#include <atomic>
#include <memory>

class ControllerLink;
class QTimer;
class StationStore;

class Station : public QObject {
    Q_OBJECT
public:
    static constexpr int32_t BaudRate = 19200;
    static constexpr int ProbeIntervalMs = 1000;

    // `report` outlives the station.
    Station(int number, QString device, std::shared_ptr<const LineJob> job, LineReport& report);
    ~Station() override;

    int Number() const { return number_; }

    // Callable from any thread: stop after the unit under way, or at once (the unit is then
    // "прервано").
    void RequestStop();
    void RequestAbort();

    // On the link's thread: opens the port and starts looking for controllers.
    void Begin(ControllerLink& link);
    // On the link's thread: ends at once, closing the port there.
    void Finish();
    // On the link's thread: the scanned label matched the unit or not; its row says so, and
    // the station goes on to the next unit.
    void LabelChecked(LabelCheck check);

signals:
    void changed(const StationView& view);
    void unitFinished(const UnitRecord& record);
    // The unit's label was scanned back; the record as its row now stands.
    void labelChecked(const UnitRecord& record);
    // The line must stop: the reference file changed, or the report cannot be written.
    void halted(const QString& message);
    void finished();

private:
    bool OpenPort();
    void Probe();
    // While the last unit is awaited out: whether the controller answering holds other
    // sequence digits than that unit.
    bool AnotherUnit();
    void WorkUnit(uint16_t identity);
    void End();
    void Publish(StationPhase phase, const QString& step = {});
    void ProbeLater(int ms = ProbeIntervalMs);
    void PrintLabel(UnitRecord& record) const;

    const int number_;
    const QString device_;
    const std::shared_ptr<const LineJob> job_;
    LineReport& report_;
    ControllerLink* link_ = nullptr; // its LinkThread's, from Begin on
    QTimer* timer_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<bool> abort_{false};
    bool ended_ = false;
    bool awaitingUnplug_ = false;
    int silentProbes_ = 0;
    QByteArray heldSequence_; // of the last unit
    UnitRecord last_;         // its label waits to be scanned back
    StationView view_;
    std::unique_ptr<StationStore> store_; // made and used on the link's thread
};

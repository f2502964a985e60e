#pragma once
// The production line: up to four stations, each on its own thread with its own link,
// sharing one job, one report and the batch counts. Lives on the window's thread; the
// stations' signals reach it queued.

#include "BatchCounts.h"
#include "LineJob.h"
#include "LineReport.h"
#include "StationView.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class LinkThread;
class Station;

class ProductionLine : public QObject {
    Q_OBJECT
public:
    explicit ProductionLine(const QString& dataFolder, QObject* parent = nullptr);
    // Aborts whatever runs and waits for the stations' threads (each unit ends before its next
    // exchange, a numbering once it has the log or has waited out its bound).
    ~ProductionLine() override;

    // Station n works on devices[n-1]; an empty device leaves that station out.
    void Start(const LineJob& job, const QStringList& devices);
    // Each station ends after its unit under way.
    void Stop();
    // Each station ends at once; a unit under way is "прервано".
    void Abort();
    // Ends the line without waiting for it: the stations end after their units under way on
    // their own threads, each row written, and the line deletes itself once the last has
    // ended.
    void EndInBackground();

    bool Running() const { return running_ > 0; }
    const BatchCounts& Counts() const { return counts_; }
    LineReport& Report() { return report_; }

signals:
    void stationChanged(const StationView& view);
    void unitFinished(const UnitRecord& record);
    void halted(const QString& message);
    void finished();

private:
    void StationFinished();
    void Release();

    const QString dataFolder_;
    LineReport report_;
    BatchCounts counts_;
    std::shared_ptr<const LineJob> job_;
    struct Worker {
        std::unique_ptr<LinkThread> thread;
        Station* station = nullptr; // a child of the thread's home
    };
    std::vector<Worker> stations_;
    int running_ = 0;
};

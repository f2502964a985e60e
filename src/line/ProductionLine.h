#pragma once
// The production line: up to four stations, each on its own thread with its own link,
// sharing one job, one report and the batch counts. Lives on the window's thread; the
// stations' signals reach it queued. It judges the labels scanned back at the stations, and
// prints labels again on threads of their own.

#include "BatchCounts.h"
#include "LabelScan.h"
#include "LineJob.h"
#include "LineReport.h"
#include "StationView.h"

#include <QObject>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

class LinkThread;
class Station;

class ProductionLine : public QObject {
    Q_OBJECT
public:
    explicit ProductionLine(const QString& dataFolder, QObject* parent = nullptr);
    // Aborts whatever runs and waits for the stations' threads (each unit ends before its next
    // exchange, a numbering once it has the log or has waited out its bound) and for the
    // labels being printed again.
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

    // A label scanned at a station: a verdict that matches the unit or voids its label ends
    // the station's wait; a refused one leaves it waiting.
    LabelScan Scan(int station, const QString& text);
    // Prints the unit's label again on a thread of its own; `reprinted` tells how it went.
    void Reprint(UnitRecord record, const LabelOptions& options);

    bool Running() const { return running_ > 0; }
    const BatchCounts& Counts() const { return counts_; }
    LineReport& Report() { return report_; }

signals:
    void stationChanged(const StationView& view);
    void unitFinished(const UnitRecord& record);
    void labelChecked(const UnitRecord& record);
    // The record as its row now stands; `problem` says why the label was not printed.
    void reprinted(const UnitRecord& record, const QString& problem);
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
    std::map<int, QString> awaited_; // by station, the serial numbers whose scans it waits for
};

#pragma once
// The recording row of the fault matrix: a recording runs while the fault is on and takes a
// few samples through it, then stops. Its log must reopen as a replay opens it, with every
// sample the recording took; a cell is empty where a read failed and otherwise holds what the
// controller's still live words read before the fault; a reply that came late for an
// earlier read never fills a cell.

#include "Catalogue.h"

#include <QStringList>
#include <QTemporaryDir>

#include <map>

class TForm1;

class RecordingCell {
public:
    static constexpr int RequestedRate = 10; // lowered to what the line carries
    static constexpr int SamplesInFault = 2;

    RecordingCell();

    // Reads every live value once with the fault off: what a sample must show where it reads.
    void TakeReference();
    // Records until the samples were taken, then stops; a failure goes to the error handler.
    void Record(TForm1& form);
    // What is wrong with the log, empty when nothing is.
    QStringList Problems() const;

private:
    QTemporaryDir directory_;
    struct Column {
        const Catalogue::Entry* entry;
        double reference; // the value as the log writes it
    };
    std::map<QString, Column> columns_; // by the column's name
    qint64 rowsMade_ = -1;
    int failedExchanges_ = 0; // while recording, on the window's link
};

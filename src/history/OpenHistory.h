#pragma once
// Opens the history's store in the tool's data folder: a store from a newer version of the tool
// read-only, a damaged one set aside and made anew, and a new one filled from the files the
// tool keeps, so that a deleted store loses nothing of them.

#include "StoreDatabase.h"

#include <QString>
#include <QStringList>

#include <memory>

struct HistoryPlace {
    QString dataFolder;      // the tool's data folder: restore points, journals, default logs
    QStringList fileFolders; // where else logs, sheets and settings files are put
    QString StorePath() const;
};

struct OpenedHistory {
    std::unique_ptr<StoreDatabase> store;
    // What the user is to be told of it: read-only, set aside and rebuilt; empty otherwise.
    QString message;
};

// Throws StoreError when the store cannot be opened at all.
OpenedHistory OpenHistory(const HistoryPlace& place);

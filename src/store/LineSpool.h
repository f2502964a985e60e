#pragma once
// The finished attempts of this PC's stations that wait for the shared store: a SQLite file of
// the PC's own, each attempt on the disk before Put returns. Drain sends them in the order they
// finished, each in a transaction of its own; an attempt the store has already (the answer to
// its commit was lost) is not recorded twice, so every attempt reaches the store exactly once.
// Made and used on one thread; the stations of a line each have one over the same file.

#include "LineAttempt.h"
#include "StoreDatabase.h"

#include <QString>

#include <vector>

class LineStore;

class LineSpool {
public:
    // Opens (or makes) the spool at `path`; throws StoreError.
    explicit LineSpool(const QString& path);

    void Put(const LineAttempt& attempt);
    // Sends what waits, oldest first, until all is sent or the store fails; what was sent
    // stays sent. Returns how many went; throws the store's StoreError after those.
    int Drain(LineStore& store);
    int Waiting() const;
    std::vector<LineAttempt> Pending() const;

private:
    StoreDatabase db_;
};

// The spool's table.
const Schema& LineSpoolSchema();

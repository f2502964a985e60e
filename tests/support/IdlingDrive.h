#pragma once
// A data log as a recording of the emulator's idling engine would write it: the rows of a
// cold start warming up, taken from the emulated controller's words at each moment, with the
// link lost for a while and writes to the controller as events, the trim as the recording reads
// it. For pictures and benchmarks that need a long log without waiting for it.

#include <QString>

struct IdlingDrive {
    int rows = 2400;
    int rate = 2;          // samples a second
    double lostFrom = -1;  // seconds; the link is lost from here ...
    double lostUntil = -1; // ... to here: empty cells
    bool events = true;    // a few writes along the way
};

// Writes the log; false when the file cannot be written.
bool WriteIdlingDrive(const QString& path, const IdlingDrive& drive);

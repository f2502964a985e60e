#pragma once
// What a station shows: its phase, the step under way, the unit's serial number and, after a
// unit, its result and reason and its label. Sent from the station's thread to the window's.

#include "LabelOutcome.h"

#include <QMetaType>
#include <QString>

enum class StationPhase {
    Idle,    // not started
    NoPort,  // the port does not open; tried again every second
    Waiting, // for a controller
    Working, // on a unit
    Good,    // the last unit passed; shown until the next unit starts
    Bad,     // the last unit failed; shown until the next unit starts
    Stopped,
};

struct StationView {
    int station = 0; // 1..4
    StationPhase phase = StationPhase::Idle;
    QString device;
    QString step;        // while working
    QString serial;      // of the unit worked on or just finished; the number given, if it was
    QString reason;      // of a failed unit
    bool rework = false; // the unit was tried before: "повторная проверка"
    LabelOutcome label;  // of the unit just finished
    bool awaitingScan = false; // its label's; the next unit waits for it
};

Q_DECLARE_METATYPE(StationView)

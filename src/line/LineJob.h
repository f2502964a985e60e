#pragma once
// What every station of a running line works with; fixed while the line runs.

#include "LabelOptions.h"
#include "LiveLimit.h"
#include "ReferenceFile.h"
#include "StationStore.h"

#include <QString>

#include <chrono>
#include <optional>
#include <vector>

struct LineJob {
    ReferenceFile reference;
    QString operatorName;
    bool numberNew = true;
    QString logPath; // the production log numbers come from
    std::chrono::milliseconds logWait{5000};
    std::vector<LiveLimit> limits;
    // The data folder whose journals keep every unit's writes (the line's own).
    QString journalRoot;
    // Where numbers come from and every attempt is recorded; without one, the log and the
    // day's report alone.
    std::optional<LineStoreUse> store;
    LabelOptions labels;
};

#pragma once
// What the production line is set up with, remembered between runs in the tool's
// preferences: the reference file, the stations' ports, the operator, whether new controllers
// are numbered, the live limits, the labels, the line's store and the shift its figures are of.

#include "LabelOptions.h"
#include "LiveLimit.h"
#include "StationStore.h"

#include <QTime>

#include <QSettings>
#include <QString>
#include <QStringList>

#include <vector>

// A shared store's place with libpq's defaults.
inline StorePlace SharedPlace() {
    StorePlace place;
    place.kind = StorePlace::Kind::Shared;
    return place;
}

struct LineSetup {
    static constexpr int MaxStations = 4;

    QString referencePath;
    QStringList devices; // up to four; an empty entry is a station left out
    QString operatorName;
    bool numberNew = true;
    std::vector<LiveLimit> limits;
    LabelOptions labels;

    // The store: the embedded file in the data folder unless a shared one is chosen, reached
    // as libpq reaches it (its password in ~/.pgpass or the service file, never here).
    bool sharedStore = false;
    StorePlace shared = SharedPlace();
    QString pcName{}; // what this PC's records are known by; the machine's name when empty

    // The figures are of the day, or of the shift from `shiftFrom` to `shiftTo`.
    bool byShift = false;
    QTime shiftFrom{8, 0};
    QTime shiftTo{20, 0};

    // The store a line of the tool's data folder `dataFolder` works with.
    LineStoreUse StoreUse(const QString& dataFolder) const;
    QString PcName() const;

    // The labels' PDFs go to `labelFolder` until another folder is chosen.
    static LineSetup Load(QSettings& settings, const QString& labelFolder = {});
    void Save(QSettings& settings) const;
};

#pragma once
// Records the callbacks of value controls, in the order in which they come.

#include "ValueEvents.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>

struct Change {
    QObject* sender;
    long double oldValue;
    long double newValue;
};

class ChangeRecorder {
public:
    TChangeEvent Handler() {
        return [this](QObject* sender, long double oldValue, long double newValue) {
            changes.append({sender, oldValue, newValue});
            if (clock.isValid())
                times.append(clock.elapsed());
        };
    }
    int Count() const { return changes.size(); }

    QList<Change> changes;
    QElapsedTimer clock; // started by a test that wants the times of the calls
    QList<qint64> times;
};

Q_DECLARE_METATYPE(long double)

#include "LocalSecondClock.h"

QDateTime LocalSecondClock::Now() {
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != second_) {
        second_ = second;
        local_ = QDateTime::fromSecsSinceEpoch(second);
    }
    return local_;
}

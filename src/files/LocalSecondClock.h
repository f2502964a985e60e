#pragma once
// The local time to the second, for records stamped many times a second (a load journals each
// of its writes). The time zone is looked up once a second, not on every call.

#include <QDateTime>

class LocalSecondClock {
public:
    QDateTime Now();

private:
    qint64 second_ = -1; // since the epoch, of local_
    QDateTime local_;
};

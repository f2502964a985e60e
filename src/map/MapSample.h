#pragma once
// One sample as the map takes it: the time and the values the cell and the filters need, an
// unread value as NaN.

#include <limits>

struct MapSample {
    static constexpr double Unread = std::numeric_limits<double>::quiet_NaN();

    double seconds = 0;
    double speed = Unread; // об/мин
    double load = Unread;  // the load axis's value
    double value = Unread; // what the cells average
    double temperature = Unread;
    double throttle = Unread;   // the throttle sensor's voltage
    double trimSource = Unread; // TrimSource's number
};

// The correction map's window fed by hand, on screen, in the state that each line of standard
// input names: live (a warm engine at 3250 об/мин and 9.5 ms trimming +12 %, 57 samples), cold
// (an empty map after the filters: 5 samples of a cold engine), before (the live map kept as
// "before", then 12 samples at +4 %), offline (the controller gone). Says "ready" once the
// window is on screen and "shown <state>" after each state; ends at the end of its input. Read
// by map_at_spi.py through the accessibility bus.

#include "LiveMapWindow.h"
#include "ProbeStates.h"

#include <QApplication>

namespace {

constexpr uint16_t ColdWord = 2930; // tenths of a kelvin: 20 °С

void Feed(MapWindow& window, int count, const LiveSample& sample) {
    for (int i = 0; i < count; ++i)
        window.AddSample(sample);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    LiveMapWindow live;
    MapWindow& window = live.window;

    const ProbeStates::States states{
        {"live", [&] { Feed(window, 57, Driving(12)); }},
        {"cold",
         [&] {
             window.Reset();
             Feed(window, 5, Driving(12, ColdWord));
         }},
        {"before",
         [&] {
             window.Reset();
             Feed(window, 57, Driving(12));
             window.KeepAsBefore();
             Feed(window, 12, Driving(4));
         }},
        {"offline", [&] { window.SetConnected(false); }},
    };

    window.resize(1400, 760);
    window.show();
    return ProbeStates::Serve(states);
}

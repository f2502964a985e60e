// The correction map's window fed by hand, on screen, in the state that each line of standard
// input names: live (a warm engine at 3250 об/мин and 9.5 ms trimming +12 %, 57 samples), cold
// (an empty map after the filters: 5 samples of a cold engine), before (the live map kept as
// "before", then 12 samples at +4 %), offline (the controller gone). Says "ready" once the
// window is on screen and "shown <state>" after each state; ends at the end of its input. Read
// by map_at_spi.py through the accessibility bus.

#include "Addresses.h"
#include "ConnectionEvents.h"
#include "JournalFeed.h"
#include "LiveFeed.h"
#include "LivePoller.h"
#include "MapWindow.h"
#include "WindowLink.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>
#include <unistd.h>

namespace {

void Say(const QByteArray& line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

constexpr uint16_t WarmWord = 3530, ColdWord = 2930; // tenths of a kelvin

LiveSample Driving(long double trim, uint16_t temperatureWord = WarmWord) {
    LiveSample sample;
    for (const Catalogue::Entry* entry : Catalogue::LiveValues()) {
        const std::map<uint8_t, uint16_t> words{{Live::EngineSpeed, 3250},
                                                {Live::BaseInjection, 9500},
                                                {Live::EngineTemperature, temperatureWord},
                                                {Live::ThrottleVoltage, 600}};
        const auto word = words.find(*entry->address);
        sample.values.push_back(LiveValueFrom(*entry, word == words.end() ? 0 : word->second));
    }
    sample.trim = TrimReading{TrimSource::Sensor, trim};
    return sample;
}

void Feed(MapWindow& window, int count, const LiveSample& sample) {
    for (int i = 0; i < count; ++i)
        window.AddSample(sample);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    LivePoller poller(WindowLink());
    ConnectionEvents events;
    JournalFeed writes;
    LiveFeed feed(poller, events);
    MapWindow window(feed, writes, events);
    window.SetLayout(MapLayout{});
    window.SetFilters(MapFilters{});
    window.SetMinimumCount(10);
    window.SetConnected(true);

    const std::map<QByteArray, std::function<void()>> states{
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

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            QApplication::quit();
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray name = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            const auto state = states.find(name);
            if (state == states.end()) {
                Say("unknown " + name);
                continue;
            }
            state->second();
            Say("shown " + name);
        }
    });

    window.resize(1400, 760);
    window.show();
    QTimer::singleShot(0, [] { Say("ready"); });
    return application.exec();
}

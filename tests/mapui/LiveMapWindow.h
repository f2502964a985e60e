#pragma once
// The correction map's window as a connected controller's live map shows it: on the window's
// link, with the default bands, filters and minimum count; and a live sample of a warm engine
// at 3250 об/мин and 9.5 ms, its oxygen sensor trimming `trim` %. For the map's window test,
// its screen-reader probe and its pictures.

#include "Addresses.h"
#include "ConnectionEvents.h"
#include "JournalFeed.h"
#include "LiveFeed.h"
#include "LivePoller.h"
#include "MapWindow.h"
#include "WindowLink.h"

#include <map>

struct LiveMapWindow {
    LivePoller poller{WindowLink()};
    ConnectionEvents events;
    JournalFeed writes;
    LiveFeed feed{poller, events};
    MapWindow window{feed, writes, events};

    LiveMapWindow() {
        window.SetLayout(MapLayout{});
        window.SetFilters(MapFilters{});
        window.SetMinimumCount(10);
        window.SetConnected(true);
    }
};

inline constexpr uint16_t WarmEngineWord = 3530; // tenths of a kelvin: 80 °С

inline LiveSample Driving(long double trim = 12, uint16_t temperatureWord = WarmEngineWord) {
    const std::map<uint8_t, uint16_t> words{{Live::EngineSpeed, 3250},
                                            {Live::BaseInjection, 9500},
                                            {Live::EngineTemperature, temperatureWord},
                                            {Live::ThrottleVoltage, 600}};
    LiveSample sample;
    for (const Catalogue::Entry* entry : Catalogue::LiveValues()) {
        const auto word = words.find(*entry->address);
        sample.values.push_back(LiveValueFrom(*entry, word == words.end() ? 0 : word->second));
    }
    sample.trim = TrimReading{TrimSource::Sensor, trim};
    return sample;
}

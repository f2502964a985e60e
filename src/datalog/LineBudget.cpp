#include "LineBudget.h"

#include "Addresses.h"
#include "Catalogue.h"

#include <algorithm>

namespace LineBudget {

double SamplingMsPerSecond(int rate, int values) {
    return rate * values * ExchangeMs;
}

namespace {

double FreeMs() {
    return Share * 1000.0 - WindowExchangesPerSecond * ExchangeMs;
}

template <typename Cost> int HighestThatFits(int requested, Cost msAtRate) {
    int best = Rates.front();
    for (int rate : Rates)
        if (rate <= requested && msAtRate(rate) <= FreeMs())
            best = rate;
    return best;
}

// How often the window reads the word at this address itself.
double WindowRate(uint8_t address) {
    const auto read = std::find_if(WindowReads.begin(), WindowReads.end(),
                                   [address](const WindowRead& r) { return r.address == address; });
    return read != WindowReads.end() ? read->perSecond : 0.0;
}

} // namespace

int HighestRateThatFits(int requested, int values) {
    return HighestThatFits(requested,
                           [values](int rate) { return SamplingMsPerSecond(rate, values); });
}

double FeedMsPerSecond(int rate) {
    double exchanges = 0;
    const auto add = [&](uint8_t address) {
        exchanges += std::max(0.0, double(rate) - WindowRate(address));
    };
    for (const Catalogue::Entry* entry : Catalogue::LiveValues())
        add(*entry->address);
    // The oxygen sensor's trim or the hand-set one: the window reads the one the feed needs.
    for (uint8_t address : {Live::SetupStatus, Live::TrimStatus, Live::OxygenTrim})
        add(address);
    return exchanges * ExchangeMs;
}

int HighestFeedRateThatFits(int requested) {
    return HighestThatFits(requested, [](int rate) { return FeedMsPerSecond(rate); });
}

} // namespace LineBudget

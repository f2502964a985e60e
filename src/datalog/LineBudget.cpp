#include "LineBudget.h"

namespace LineBudget {

double SamplingMsPerSecond(int rate, int values) {
    return rate * values * ExchangeMs;
}

int HighestRateThatFits(int requested, int values) {
    const double free = Share * 1000.0 - WindowExchangesPerSecond * ExchangeMs;
    int best = Rates.front();
    for (int rate : Rates)
        if (rate <= requested && SamplingMsPerSecond(rate, values) <= free)
            best = rate;
    return best;
}

} // namespace LineBudget

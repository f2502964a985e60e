#pragma once
// Listens to one link's exchanges while it lives: how many reads failed, and which parameter
// words have not come good since their read failed.

#include "ExchangeObserver.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

class ControllerLink;

class ReadFailures {
public:
    explicit ReadFailures(ControllerLink& link);

    // Failed reads, of either space, since this began to listen.
    std::size_t Count() const { return count_; }
    // The parameter words whose last read failed, in address order.
    std::vector<uint8_t> UnreadWords() const { return {unread_.begin(), unread_.end()}; }

private:
    void Observe(const ExchangeRecord& record);

    std::size_t count_ = 0;
    std::set<uint8_t> unread_;
    ExchangeObservers::Subscription subscription_;
};

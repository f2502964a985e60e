#include "ExchangeObserver.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ExchangeObservers {

struct Subscription::Entry {
    Observer observer;
    bool removed = false;
};

namespace {

using Entries = std::vector<std::shared_ptr<Subscription::Entry>>;

// Built on first use, so it outlives every subscription, also one held by a static object.
Entries& AllEntries() {
    static Entries entries;
    return entries;
}

} // namespace

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        entry_ = std::move(other.entry_);
    }
    return *this;
}

Subscription::~Subscription() {
    reset();
}

void Subscription::reset() {
    if (!entry_)
        return;
    entry_->removed = true;
    Entries& entries = AllEntries();
    entries.erase(std::remove(entries.begin(), entries.end(), entry_), entries.end());
    entry_.reset();
}

Subscription Add(Observer observer) {
    auto entry = std::make_shared<Subscription::Entry>();
    entry->observer = std::move(observer);
    AllEntries().push_back(entry);
    return Subscription(std::move(entry));
}

bool Listening() {
    return !AllEntries().empty();
}

void Publish(const ExchangeRecord& record) {
    // An observer may exchange, subscribe or unsubscribe: walk a copy, skip the removed.
    const Entries current = AllEntries();
    for (const auto& entry : current)
        if (!entry->removed)
            entry->observer(record);
}

} // namespace ExchangeObservers

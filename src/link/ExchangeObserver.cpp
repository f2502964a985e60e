#include "ExchangeObserver.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ExchangeObservers {

struct List::Entries {
    std::vector<std::shared_ptr<Subscription::Entry>> items;
};

struct Subscription::Entry {
    Observer observer;
    bool removed = false;
    std::weak_ptr<List::Entries> list;
};

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
    if (const std::shared_ptr<List::Entries> list = entry_->list.lock()) {
        auto& items = list->items;
        items.erase(std::remove(items.begin(), items.end(), entry_), items.end());
    }
    entry_.reset();
}

List::List() : entries_(std::make_shared<Entries>()) {}

List::~List() = default;

Subscription List::Add(Observer observer) {
    auto entry = std::make_shared<Subscription::Entry>();
    entry->observer = std::move(observer);
    entry->list = entries_;
    entries_->items.push_back(entry);
    return Subscription(std::move(entry));
}

bool List::Listening() const {
    return !entries_->items.empty();
}

void List::Publish(const ExchangeRecord& record) const {
    // An observer may exchange, subscribe or unsubscribe: walk a copy, skip the removed.
    const auto current = entries_->items;
    for (const auto& entry : current)
        if (!entry->removed)
            entry->observer(record);
}

} // namespace ExchangeObservers

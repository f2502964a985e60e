#include "LiveSample.h"

#include "LivePoller.h"

#include <algorithm>

std::optional<long double> LiveSample::ValueAt(uint8_t address) const {
    for (const LiveValue& v : values)
        if (v.entry && v.entry->address == address)
            return v.value;
    return std::nullopt;
}

LiveValue LiveValueFrom(const Catalogue::Entry& entry, std::optional<uint16_t> word) {
    LiveValue live{&entry, word, std::nullopt};
    if (word)
        live.value = DecodeWord(entry.decode, *word);
    return live;
}

LiveSample ReadLiveSample(LivePoller& poller) {
    LiveSample sample{std::chrono::steady_clock::now(), QDateTime::currentDateTime(), {}, {}};
    for (const Catalogue::Entry* entry : Catalogue::LiveValues()) {
        sample.values.push_back(LiveValueFrom(*entry, poller.Read(*entry->address)));
    }
    TrimReader trim;
    while (const std::optional<uint8_t> address = trim.Next())
        trim.Take(poller.Read(*address));
    sample.trim = trim.Result();
    return sample;
}

namespace LiveSamples {

Subscription::~Subscription() {
    reset();
}

void Subscription::reset() {
    listener_.reset();
}

Subscription Listeners::Listen(Listener listener) {
    auto shared = std::make_shared<Listener>(std::move(listener));
    listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                    [](const auto& w) { return w.expired(); }),
                     listeners_.end());
    listeners_.push_back(shared);
    return Subscription(shared);
}

bool Listeners::Listening() const {
    return std::any_of(listeners_.begin(), listeners_.end(),
                       [](const auto& w) { return !w.expired(); });
}

void Listeners::Publish(const LiveSample& sample) const {
    // A copy: a listener may subscribe or leave while it is told.
    const auto listeners = listeners_;
    for (const auto& weak : listeners)
        if (const auto listener = weak.lock())
            (*listener)(sample);
}

} // namespace LiveSamples

#include "LiveSample.h"

#include "LivePoller.h"

#include <algorithm>

namespace {
std::vector<std::weak_ptr<LiveSamples::Listener>>& Listeners() {
    static std::vector<std::weak_ptr<LiveSamples::Listener>> listeners;
    return listeners;
}
} // namespace

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

Subscription Listen(Listener listener) {
    auto shared = std::make_shared<Listener>(std::move(listener));
    auto& all = Listeners();
    all.erase(std::remove_if(all.begin(), all.end(), [](const auto& w) { return w.expired(); }),
              all.end());
    all.push_back(shared);
    return Subscription(shared);
}

bool Listening() {
    const auto& all = Listeners();
    return std::any_of(all.begin(), all.end(), [](const auto& w) { return !w.expired(); });
}

void Publish(const LiveSample& sample) {
    // A copy: a listener may subscribe or leave while it is told.
    const auto listeners = Listeners();
    for (const auto& weak : listeners)
        if (const auto listener = weak.lock())
            (*listener)(sample);
}

} // namespace LiveSamples

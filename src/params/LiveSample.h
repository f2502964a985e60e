#pragma once
// A live sample: the live values the tool can show, each as its raw word and its engineering
// value computed as the window computes it, or failed, with the moment it was taken. The
// monitor publishes what each tick read to its poller's listeners, when there are any;
// ReadLiveSample reads every value on demand.

#include "Catalogue.h"
#include "TrimReading.h"

#include <QDateTime>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct LiveValue {
    const Catalogue::Entry* entry = nullptr; // name, unit, mask, address
    std::optional<uint16_t> word;            // none: the read failed
    std::optional<long double> value;
};

struct LiveSample {
    std::chrono::steady_clock::time_point monotonic;
    QDateTime wallClock;
    std::vector<LiveValue> values;   // in Catalogue::LiveValues order; the monitor's: its four
    std::optional<TrimReading> trim; // none: not read, or one of its reads failed

    // The value of the entry at this live address, when the sample holds one that was read.
    std::optional<long double> ValueAt(uint8_t address) const;
};

// The value of one entry from a word, exactly as the window shows it.
LiveValue LiveValueFrom(const Catalogue::Entry& entry, std::optional<uint16_t> word);

class LivePoller;

// Reads every live value and the trim once through the poller, one exchange each.
LiveSample ReadLiveSample(LivePoller& poller);

namespace LiveSamples {

using Listener = std::function<void(const LiveSample&)>;

// Keeps a listener registered while it lives.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::shared_ptr<Listener> listener) : listener_(std::move(listener)) {}
    Subscription(Subscription&&) noexcept = default;
    Subscription& operator=(Subscription&&) noexcept = default;
    ~Subscription();
    void reset();

private:
    std::shared_ptr<Listener> listener_;
};

// Those who hear the samples that the window's monitor reads through one poller.
class Listeners {
public:
    [[nodiscard]] Subscription Listen(Listener listener);
    // True while anyone listens: a sample nobody hears need not be made.
    bool Listening() const;
    void Publish(const LiveSample& sample) const;

private:
    std::vector<std::weak_ptr<Listener>> listeners_;
};

} // namespace LiveSamples

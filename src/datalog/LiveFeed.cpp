#include "LiveFeed.h"

#include "ConnectionEvents.h"
#include "LivePoller.h"

#include <algorithm>

LiveFeed::Demand& LiveFeed::Demand::operator=(Demand&& other) noexcept {
    if (this != &other) {
        reset();
        feed_ = std::move(other.feed_);
        rate_ = std::move(other.rate_);
    }
    return *this;
}

LiveFeed::Demand::~Demand() {
    reset();
}

void LiveFeed::Demand::reset() {
    if (!rate_)
        return;
    rate_.reset();
    if (feed_)
        feed_->Update();
}

LiveFeed::LiveFeed(LivePoller& poller, ConnectionEvents& events, QObject* parent)
    : QObject(parent), poller_(poller) {
    period_.setTimerType(Qt::PreciseTimer);
    step_.setSingleShot(true);
    step_.setInterval(0);
    connect(&period_, &QTimer::timeout, this, &LiveFeed::BeginSample);
    connect(&step_, &QTimer::timeout, this, &LiveFeed::ReadNext);
    connect(&events, &ConnectionEvents::connected, this, [this] { SetConnected(true); });
    connect(&events, &ConnectionEvents::connecting, this, [this] { SetConnected(false); });
    connect(&events, &ConnectionEvents::closed, this, [this] { SetConnected(false); });
}

LiveFeed::Demand LiveFeed::Want(int rate) {
    auto shared = std::make_shared<int>(std::max(rate, 1));
    demands_.push_back(shared);
    Demand demand(this, std::move(shared));
    Update();
    return demand;
}

int LiveFeed::Rate() const {
    return period_.isActive() ? 1000 / period_.interval() : 0;
}

void LiveFeed::SetLinkLost(std::function<bool()> linkLost) {
    linkLost_ = std::move(linkLost);
}

void LiveFeed::SetConnected(bool connected) {
    connected_ = connected;
    connectedAt_ = std::chrono::steady_clock::now();
    Update();
}

void LiveFeed::Update() {
    demands_.erase(
        std::remove_if(demands_.begin(), demands_.end(), [](const auto& d) { return d.expired(); }),
        demands_.end());
    int rate = 0;
    for (const auto& weak : demands_)
        if (const auto wanted = weak.lock())
            rate = std::max(rate, *wanted);
    if (rate == 0 || !connected_) {
        period_.stop();
        step_.stop();
        pending_.reset();
        behind_ = false;
        lastBegun_.reset();
        return;
    }
    const int interval = 1000 / rate;
    if (period_.isActive() && period_.interval() == interval)
        return;
    period_.start(interval);
    if (!pending_)
        BeginSample();
}

void LiveFeed::BeginSample() {
    if (pending_) {
        // The line was slower than the period: the next sample follows this one at once.
        ++overruns_;
        behind_ = true;
        return;
    }
    behind_ = false;
    pending_ = LiveSample{std::chrono::steady_clock::now(), QDateTime::currentDateTime(), {}, {}};
    const auto begun = pending_->monotonic;
    freshSince_ = std::max(connectedAt_, lastBegun_.value_or(begun - period_.intervalAsDuration()));
    lastBegun_ = begun;
    pending_->values.reserve(Catalogue::LiveValues().size());
    trim_ = TrimReader();
    ReadNext();
}

std::optional<uint16_t> LiveFeed::TakeOrRead(uint8_t address, bool& exchanged) {
    const LivePoller::Reading& latest = poller_.Latest(address);
    if (latest.number > taken_[address] && latest.at >= freshSince_) {
        taken_[address] = latest.number;
        return latest.word;
    }
    const std::optional<uint16_t> word = poller_.Read(address);
    taken_[address] = poller_.Latest(address).number;
    exchanged = true;
    return word;
}

void LiveFeed::ReadNext() {
    if (!pending_) {
        if (behind_)
            BeginSample();
        return;
    }
    const auto& entries = Catalogue::LiveValues();
    const bool lost = linkLost_ && linkLost_();
    // One exchange, then the event loop; no exchange while the link is lost or for a value the
    // window has read. The trim's words follow the values, as the trim line reads them.
    bool exchanged = false;
    while (!exchanged && pending_->values.size() < entries.size()) {
        const Catalogue::Entry* entry = entries[pending_->values.size()];
        const std::optional<uint16_t> word =
            lost ? std::nullopt : TakeOrRead(*entry->address, exchanged);
        pending_->values.push_back(LiveValueFrom(*entry, word));
    }
    while (!exchanged && trim_.Next())
        trim_.Take(lost ? std::nullopt : TakeOrRead(*trim_.Next(), exchanged));

    if (pending_->values.size() < entries.size() || trim_.Next()) {
        step_.start();
        return;
    }
    pending_->trim = trim_.Result();
    const LiveSample sample = std::move(*pending_);
    pending_.reset();
    if (behind_)
        step_.start(); // ReadNext begins the next sample
    emit sampled(sample);
}

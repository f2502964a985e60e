#include "LinkWatch.h"

#include "ControllerLink.h"
#include "IdentityWords.h"
#include "Protocol.h"

namespace {

// Marks the watch's own exchanges for as long as it lives.
class OwnExchanges {
public:
    explicit OwnExchanges(bool& flag) : flag_(flag) { flag_ = true; }
    ~OwnExchanges() { flag_ = false; }
    OwnExchanges(const OwnExchanges&) = delete;
    OwnExchanges& operator=(const OwnExchanges&) = delete;

private:
    bool& flag_;
};

} // namespace

LinkWatch::LinkWatch(ControllerLink& link, QObject* parent) : QObject(parent), link_(link) {
    probeTimer_.setInterval(ProbeIntervalMs);
    connect(&probeTimer_, &QTimer::timeout, this, &LinkWatch::probe);
}

LinkWatch::~LinkWatch() {
    if (lost_)
        link_.HoldWrites(false);
}

void LinkWatch::Arm(std::vector<uint8_t> addresses, KnownWord known) {
    Disarm();
    addresses_ = std::move(addresses);
    known_ = std::move(known);
    subscription_ = link_.Observe([this](const ExchangeRecord& r) { observe(r); });
}

void LinkWatch::Disarm() {
    subscription_.reset();
    probeTimer_.stop();
    failures_ = 0;
    setLost(false);
    checkPending_ = false;
    expected_.clear();
}

void LinkWatch::setLost(bool lost) {
    if (lost_ != lost)
        link_.HoldWrites(lost);
    lost_ = lost;
}

void LinkWatch::observe(const ExchangeRecord& record) {
    if (ownExchanges_)
        return;
    if (record.outcome == ExchangeOutcome::Success) {
        failures_ = 0;
        // The check runs once the caller has taken its reply word, not under it.
        if (lost_ && !checkPending_) {
            checkPending_ = true;
            QTimer::singleShot(0, this, &LinkWatch::checkQueued);
        }
        return;
    }
    if (++failures_ >= FailuresForLost && !lost_) {
        setLost(true);
        expected_.clear();
        for (const uint8_t address : addresses_)
            if (const std::optional<uint16_t> word = known_ ? known_(address) : std::nullopt)
                expected_.emplace_back(address, *word);
        probeTimer_.start();
        // Told from the event loop: a listener that exchanges must not do so inside the
        // caller's exchange, before the caller has taken its reply word.
        QTimer::singleShot(0, this, [this] {
            if (lost_)
                emit linkStateChanged(false);
        });
    }
}

void LinkWatch::probe() {
    if (!lost_ || ownExchanges_)
        return;
    {
        OwnExchanges own(ownExchanges_);
        if (link_.Lost() && !link_.ReopenLost())
            return;
        if (!link_.SendCommand(CmdReadParam, IdentityWords::Address, 0))
            return;
    }
    checkController();
}

void LinkWatch::checkQueued() {
    if (!checkPending_)
        return;
    checkPending_ = false;
    if (lost_ && !ownExchanges_)
        checkController();
}

LinkWatch::Verdict LinkWatch::compare() const {
    for (const auto& [address, word] : expected_) {
        int reads = 0;
        while (!link_.SendCommand(CmdReadParam, address, 0))
            if (++reads == ReadsPerWord || !link_.Opened())
                return Verdict::Unknown;
        if (link_.ReplyValue() != word)
            return Verdict::Other;
    }
    return Verdict::Same;
}

void LinkWatch::checkController() {
    Verdict verdict;
    {
        OwnExchanges own(ownExchanges_);
        verdict = compare();
    }
    if (verdict == Verdict::Unknown || !lost_)
        return;
    if (verdict == Verdict::Other) {
        Disarm();
        emit otherController();
        return;
    }
    setLost(false);
    failures_ = 0;
    probeTimer_.stop();
    emit linkStateChanged(true);
}

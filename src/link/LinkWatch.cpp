#include "LinkWatch.h"

#include "Comm_Fun.h"
#include "IdentityWords.h"
#include "Protocol.h"

namespace {

using IdentityWords::FirstSerialAddress;
using IdentityWords::SerialLength;

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

LinkWatch::LinkWatch(QObject* parent) : QObject(parent) {
    probeTimer_.setInterval(ProbeIntervalMs);
    connect(&probeTimer_, &QTimer::timeout, this, &LinkWatch::probe);
}

void LinkWatch::Arm(const LinkIdentity& identity) {
    Disarm();
    armedIdentity_ = identity;
    subscription_ = ExchangeObservers::Add([this](const ExchangeRecord& r) { observe(r); });
}

void LinkWatch::Disarm() {
    subscription_.reset();
    probeTimer_.stop();
    failures_ = 0;
    lost_ = false;
    checkPending_ = false;
}

std::optional<LinkIdentity> LinkWatch::ReadIdentity() {
    LinkIdentity identity;
    if (!SendCommand(CmdReadParam, IdentityWords::Address, 0))
        return std::nullopt;
    identity.identityWord = ReplyValue();
    for (int i = 0; i < SerialLength; ++i) {
        if (!SendCommand(CmdReadParam, static_cast<uint8_t>(FirstSerialAddress + i), 0))
            return std::nullopt;
        identity.serial.append(static_cast<char>(ReplyValue() & 0xFF));
    }
    return identity;
}

void LinkWatch::observe(const ExchangeRecord& record) {
    if (ownExchanges_)
        return;
    if (record.outcome == ExchangeOutcome::Success) {
        failures_ = 0;
        // The identity is read once the caller has taken its reply word, not under it.
        if (lost_ && !checkPending_) {
            checkPending_ = true;
            QTimer::singleShot(0, this, &LinkWatch::checkQueued);
        }
        return;
    }
    if (++failures_ >= FailuresForLost && !lost_) {
        lost_ = true;
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
        if (Comm_Fun::PortLost() && !Comm_Fun::ReopenLostPort())
            return;
        if (!SendCommand(CmdReadParam, IdentityWords::Address, 0))
            return;
    }
    checkIdentity();
}

void LinkWatch::checkQueued() {
    if (!checkPending_)
        return;
    checkPending_ = false;
    if (lost_ && !ownExchanges_)
        checkIdentity();
}

void LinkWatch::checkIdentity() {
    std::optional<LinkIdentity> found;
    {
        OwnExchanges own(ownExchanges_);
        found = ReadIdentity();
    }
    if (!found || !lost_)
        return;
    // A serial number that could not be read at the connection cannot tell controllers apart.
    const bool same = found->identityWord == armedIdentity_.identityWord &&
                      (armedIdentity_.serial.isEmpty() || found->serial == armedIdentity_.serial);
    if (!same) {
        Disarm();
        emit otherController();
        return;
    }
    lost_ = false;
    failures_ = 0;
    probeTimer_.stop();
    emit linkStateChanged(true);
}

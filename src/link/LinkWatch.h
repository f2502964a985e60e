#pragma once
// Watches the link to a connected controller through the exchange observers, without a
// window. Armed at a successful connection with the controller's identity as read, it
// counts failed exchanges: three in a row mark the link lost. While lost it probes once a
// second (reopening a port that hung up first); the first successful exchange after that,
// the probe's or anyone's, makes it read the identity again: the same controller marks the
// link good again, another one is reported so the connection can be ended.

#include "ExchangeObserver.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>

// What tells one controller from another: parameter word 47 and the serial number, the low
// byte of each of the parameter words 1..24, as read.
struct LinkIdentity {
    uint16_t identityWord = 0;
    QByteArray serial;

    bool operator==(const LinkIdentity& other) const {
        return identityWord == other.identityWord && serial == other.serial;
    }
    bool operator!=(const LinkIdentity& other) const { return !(*this == other); }
};

class LinkWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int FailuresForLost = 3;
    static constexpr int ProbeIntervalMs = 1000;

    explicit LinkWatch(QObject* parent = nullptr);

    // Starts watching the controller that answered with this identity; the link is good. An
    // empty serial number (not read whole) leaves only the identity word to compare.
    void Arm(const LinkIdentity& identity);
    // Stops watching and probing.
    void Disarm();
    bool IsArmed() const { return subscription_.active(); }
    // True from the third failed exchange in a row until the controller is back.
    bool IsLost() const { return lost_; }

    // Reads parameter 47 and the serial-number words 1..24; nullopt when a read fails.
    static std::optional<LinkIdentity> ReadIdentity();

signals:
    // Both signals come from the event loop, never from inside an exchange.
    // False when the link is lost, true when the same controller answers again.
    void linkStateChanged(bool good);
    // Another controller answers where the armed one was; the watch has disarmed itself.
    void otherController();

private:
    void observe(const ExchangeRecord& record);
    void probe();
    void checkQueued();
    // Reads the identity and decides; the link stays lost when a read fails.
    void checkIdentity();

    LinkIdentity armedIdentity_;
    ExchangeObservers::Subscription subscription_;
    QTimer probeTimer_;
    int failures_ = 0;
    bool lost_ = false;
    bool checkPending_ = false;
    // Set while the watch exchanges itself: those exchanges do not feed the count.
    bool ownExchanges_ = false;
};
